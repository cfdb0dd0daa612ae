#include "settings/SettingsWindow.h"

#include "platform/Platform.h"
#include "roster/RosterState.h"
#include "ui/Appearance.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

namespace zel {

ReturnKeyFilter::ReturnKeyFilter(QWidget* target, std::function<void()> action)
    : QObject(target), m_action(std::move(action)) {
    target->installEventFilter(this);
}

bool ReturnKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!key->isAutoRepeat())
                m_action();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The bar runs over the negated range: a scroll bar's up arrow, Up key and wheel lower its
// value, so they raise the option value, and the largest value stands at the top.
OptionBar::OptionBar(int minimum, int maximum, int step, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent) {
    setRange(-maximum, -minimum);
    setSingleStep(step);
    setPageStep(step);
    setTracking(false);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int value) { emit optionValueChanged(-value); });
}

void OptionBar::setOptionValueSilently(int value) {
    const QSignalBlocker blocker(this);
    setValue(-std::clamp(value, optionMinimum(), optionMaximum()));
}

SettingsWindow::SettingsWindow(const AppContext& context, BoardHost& host, const QString& name,
                               double clientWidthTwips, double clientHeightTwips)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_context(context),
      m_host(host), m_scale{context.platform.twipsPerPixelX(), context.platform.twipsPerPixelY()} {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(name);
    setWindowTitle(kCaption);
    setFont(look::gothicFont(9));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, look::kWindowBackground);
    setPalette(pal);
    setAutoFillBackground(true);
    setFixedSize(m_scale.width(clientWidthTwips), m_scale.height(clientHeightTwips));
    // The outer frame's top-left corner goes where the board's was.
    move(m_scale.x(context.state.savedLeft), m_scale.y(context.state.savedTop));
}

void SettingsWindow::place(QWidget* widget, const QString& name, double left, double top,
                           double width, double height, const QString& spoken) {
    widget->setObjectName(name);
    if (!spoken.isEmpty())
        widget->setAccessibleName(spoken);
    widget->setGeometry(m_scale.rect(TwipRect{left, top, width, height}));
}

QLabel* SettingsWindow::addLabel(const QString& name, const QString& text, const QFont& font,
                                 const QColor& textColour, std::optional<QColor> background,
                                 double left, double top, double width, double height) {
    auto* label = new QLabel(text, this);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, textColour);
    if (background) {
        pal.setColor(QPalette::Window, *background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(pal);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, name, left, top, width, height);
    return label;
}

void SettingsWindow::leaveToBoard(bool reload) {
    if (m_leaving)
        return;
    m_leaving = true;
    BoardHost& host = m_host; // the window deletes itself once closed
    close();
    if (reload)
        host.reloadBoard();
    else
        host.showBoard();
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        leaveToBoard(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_leaving)
        return;
    // The close control: nothing is written and no window is left, so the program ends.
    m_leaving = true;
    m_host.quitProgram();
}

} // namespace zel

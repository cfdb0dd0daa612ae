#include "editors/ListEditor.h"

#include "editors/ConfirmLineEdit.h"
#include "platform/Platform.h"
#include "roster/RosterState.h"
#include "ui/Appearance.h"
#include "ui/Caption.h"
#include "units/TwipScale.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace zel {

namespace {

void setColours(QWidget* widget, const QColor& text, const QColor& back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
} // namespace

ListEditor::ListEditor(const AppContext& context, BoardHost& host, ListEditModel model,
                       const ListEditorSetup& setup)
    : QWidget(nullptr, Qt::Window), m_context(context), m_host(host), m_model(std::move(model)),
      m_focusWriteAfterRemove(setup.focusWriteAfterRemove),
      m_addBoxHidesOnEnter(setup.addBoxHidesOnEnter) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setFont(look::gothicFont(9));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, look::kWindowBackground);
    setPalette(palette);
    setAutoFillBackground(true);

    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (!setup.fixedFrame)
        flags |= Qt::WindowMinMaxButtonsHint;
    setWindowFlags(flags);

    buildControls(setup);

    const ListEditorGeometry& g = setup.geometry;
    const TwipScale scale{context.platform.twipsPerPixelX(), context.platform.twipsPerPixelY()};
    const QSize client(scale.width(g.outerWidth - 2 * kDialogFrameSide),
                       scale.height(g.outerHeight - kDialogFrameTop - kDialogFrameBottom));
    if (setup.fixedFrame)
        setFixedSize(client);
    else
        resize(client);
    move(scale.x(context.state.savedLeft), scale.y(context.state.savedTop));

    for (const QString& entry : m_model.entries())
        m_list->addItem(entry);
    updateAddButton();

    for (qsizetype i = 1; i < setup.tabOrder.size(); ++i)
        setTabOrder(control(setup.tabOrder[i - 1]), control(setup.tabOrder[i]));
    if (QWidget* first = control(setup.firstFocus))
        first->setFocus(Qt::OtherFocusReason);
}

ListEditor::~ListEditor() = default;

void ListEditor::buildControls(const ListEditorSetup& setup) {
    const ListEditorGeometry& g = setup.geometry;
    const TwipScale scale{m_context.platform.twipsPerPixelX(), m_context.platform.twipsPerPixelY()};
    const QFont mincho = look::minchoFont(9);

    m_heading = new QLabel(setup.heading, this);
    m_heading->setObjectName(QStringLiteral("Label3"));
    setAccessibleName(setup.heading);
    m_heading->setFont(look::minchoFont(14.25, true));
    m_heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(m_heading, setup.headingText, setup.headingBack);
    m_heading->setGeometry(scale.rect(g.heading));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(QStringLiteral("%1の一覧").arg(setup.boxNoun));
    m_list->setFont(mincho);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setGeometry(scale.rect(g.list));
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListEditor::readSelection);

    auto makeBox = [&](const char* name, const QString& accessible) {
        auto* box = new ConfirmLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(accessible);
        box->setGeometry(scale.rect(g.box));
        box->hide();
        return box;
    };
    m_changeBox = makeBox("Text1", QStringLiteral("変更後の%1").arg(setup.boxNoun));
    m_addBox = makeBox("Text2", QStringLiteral("追加する%1").arg(setup.boxNoun));
    connect(m_changeBox, &ConfirmLineEdit::confirmed, this, &ListEditor::onChangeConfirmed);
    connect(m_addBox, &ConfirmLineEdit::confirmed, this, &ListEditor::onAddConfirmed);

    auto makeButton = [&](const char* name, const QString& text, const TwipRect& rect,
                          bool minchoFace, void (ListEditor::*slot)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        button->setDefault(false);
        if (minchoFace)
            button->setFont(mincho);
        button->setGeometry(scale.rect(rect));
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    m_write =
        makeButton("Command5", QStringLiteral("書き込み"), g.write, false, &ListEditor::onWrite);
    m_change =
        makeButton("Command2", QStringLiteral("変更"), g.change, true, &ListEditor::onChange);
    m_add = makeButton("Command3", QStringLiteral("追加"), g.add, true, &ListEditor::onAdd);
    m_remove =
        makeButton("Command4", QStringLiteral("削除"), g.remove, true, &ListEditor::onRemove);
    m_back = makeButton("Command1", QStringLiteral("戻る"), g.back, true, &ListEditor::onBack);
}

QWidget* ListEditor::control(const QString& name) const {
    for (QWidget* w : std::initializer_list<QWidget*>{m_list, m_changeBox, m_addBox, m_write,
                                                      m_change, m_add, m_remove, m_back}) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}

void ListEditor::readSelection() {
    if (m_mirroring)
        return;
    const QModelIndexList rows = m_list->selectionModel()->selectedIndexes();
    m_model.select(rows.isEmpty() ? std::nullopt : std::optional<int>(rows.first().row()));
}

void ListEditor::showSelection() {
    m_mirroring = true;
    if (const auto row = m_model.selected()) {
        m_list->setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
        m_list->scrollToItem(m_list->item(*row));
    } else {
        m_list->clearSelection();
    }
    m_mirroring = false;
}

void ListEditor::updateAddButton() {
    const bool full = m_model.isFull();
    m_add->setEnabled(!full);
    m_add->setToolTip(full ? m_model.rules().limitMessage : QString());
}

void ListEditor::showBox(ConfirmLineEdit* box) {
    box->show();
    box->raise(); // the box shown last lies on top
    box->setFocus(Qt::OtherFocusReason);
}

void ListEditor::showError(const QString& text) {
    m_context.platform.showError(this, kCaption, text);
}

void ListEditor::onChange() {
    const auto row = m_model.selected();
    if (!row)
        return;
    m_changeBox->setText(m_model.entries()[*row]);
    showBox(m_changeBox);
}

void ListEditor::onChangeConfirmed() {
    const EditOutcome outcome = m_model.change(m_changeBox->text());
    if (outcome.kind == EditOutcome::Ignored)
        return; // nothing is selected: the key does nothing
    if (outcome.kind == EditOutcome::Refused) {
        showError(outcome.reason);
        m_changeBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int row = *m_model.lastRow();
    m_mirroring = true;
    m_list->item(row)->setText(m_model.entries()[row]);
    m_mirroring = false;
    showSelection();
    m_changeBox->hide();
    m_write->setFocus(Qt::OtherFocusReason);
}

void ListEditor::onAdd() {
    m_addBox->clear();
    showBox(m_addBox);
}

void ListEditor::onAddConfirmed() {
    const EditOutcome outcome = m_model.add(m_addBox->text());
    if (outcome.kind == EditOutcome::Refused) {
        showError(outcome.reason);
        m_addBox->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int row = *m_model.lastRow();
    m_mirroring = true;
    m_list->insertItem(row, m_model.entries()[row]);
    m_mirroring = false;
    showSelection();
    updateAddButton();
    if (m_addBoxHidesOnEnter)
        m_addBox->hide();
    m_write->setFocus(Qt::OtherFocusReason);
}

void ListEditor::onRemove() {
    if (m_model.remove().kind != EditOutcome::Done)
        return;
    const int row = *m_model.lastRow();
    m_mirroring = true;
    delete m_list->takeItem(row);
    m_mirroring = false;
    showSelection();
    updateAddButton();
    if (m_focusWriteAfterRemove)
        m_write->setFocus(Qt::OtherFocusReason);
}

void ListEditor::onWrite() {
    if (const auto problem = m_model.writeProblem()) {
        showError(*problem);
        return;
    }
    if (!writeList(m_model.entries()))
        return;
    leave();
    m_host.reloadBoard();
}

void ListEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        onBack();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ListEditor::onBack() {
    leave();
    m_host.showBoard();
}

void ListEditor::leave() {
    m_leaving = true;
    close();
}

void ListEditor::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_leaving)
        return;
    m_leaving = true;
    closedByWindow();
}

} // namespace zel

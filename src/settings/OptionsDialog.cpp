#include "settings/OptionsDialog.h"

#include "platform/Platform.h"
#include "roster/RosterState.h"
#include "roster/SaveStep.h"
#include "settings/OptionSizeRule.h"
#include "ui/Appearance.h"

#include <QLineEdit>
#include <QPushButton>

namespace zel {

namespace {
const QColor kHeadingBackground(255, 255, 192);
const QColor kCaptionBackground(255, 224, 192);

// The window is 5000 × 4100 twips outside; the client area is what the frame leaves.
constexpr double kClientWidth = 5000 - 2 * 45;
constexpr double kClientHeight = 4100 - 390 - 45;

constexpr double kFirstRowTop = 600;
constexpr double kRowPitch = 480;
} // namespace

OptionsDialog::OptionsDialog(const AppContext& context, BoardHost& host)
    : SettingsWindow(context, host, QStringLiteral("OptionsDialog"), kClientWidth, kClientHeight) {
    setAccessibleName(QStringLiteral("オプション"));
    addLabel(QStringLiteral("Label1"), QStringLiteral("オプション"), look::minchoFont(14.25, true),
             Qt::black, kHeadingBackground, 360, 120, 2175, 360);

    const DisplayOptions current = currentOptions(context.state);
    for (int k = 0; k < kOptionCount; ++k) {
        const OptionRow& row = kOptionRows[k];
        const double top = kFirstRowTop + k * kRowPitch;
        const QString number = QString::number(k + 1);
        // The last caption keeps the window's own font.
        const QFont captionFont = k == kOptionCount - 1 ? font() : look::minchoFont(9.75);
        addLabel(QStringLiteral("Label") + QString::number(k + 2), QString::fromUtf16(row.caption),
                 captionFont, Qt::black, kCaptionBackground, 480, top, 2535, 255);

        auto* box = new QLineEdit(this);
        box->setFont(look::minchoFont(9.75));
        const QString caption = QString::fromUtf16(row.caption);
        place(box, QStringLiteral("Text") + number, 3360, top, 800, 285, caption);
        m_boxes[k] = box;

        auto* bar = new OptionBar(row.barMinimum, row.barMaximum, row.step, this);
        place(bar, QStringLiteral("VScroll") + number, 4320, top, 375, 300,
              caption + QStringLiteral("の増減"));
        m_bars[k] = bar;
        // A step replaces whatever was typed; typing never moves the bar.
        connect(bar, &OptionBar::optionValueChanged, box,
                [box](int value) { box->setText(QString::number(value)); });

        // The bars first, with their change rule silenced, then the boxes: the boxes show
        // the stored values even where a bar cannot (a fraction, a value beyond its ends).
        bar->setOptionValueSilently(barPosition(row, optionValue(current, row.field)));
    }
    for (int k = 0; k < kOptionCount; ++k)
        m_boxes[k]->setText(formatBoxNumber(optionValue(current, kOptionRows[k].field)));

    m_write = new QPushButton(QStringLiteral("書込み"), this);
    m_write->setAutoDefault(false);
    place(m_write, QStringLiteral("Command2"), 2640, 3240, 855, 375);
    connect(m_write, &QPushButton::clicked, this, &OptionsDialog::writeOptions);
    new ReturnKeyFilter(m_write, [this] { m_write->click(); });

    m_back = new QPushButton(QStringLiteral("戻る"), this);
    m_back->setAutoDefault(false);
    place(m_back, QStringLiteral("Command1"), 3840, 3240, 855, 375);
    connect(m_back, &QPushButton::clicked, this, [this] { leaveToBoard(false); });
    new ReturnKeyFilter(m_back, [this] { m_back->click(); });

    // Enter in a box takes the focus to "書込み", where a second Enter writes.
    for (QLineEdit* box : m_boxes)
        new ReturnKeyFilter(box, [this] { m_write->setFocus(Qt::OtherFocusReason); });

    const std::array<QWidget*, 12> tabOrder{m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3],
                                            m_back,     m_write,    m_boxes[4], m_bars[0],
                                            m_bars[1],  m_bars[2],  m_bars[3],  m_bars[4]};
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_boxes[0]->setFocus();
}

void OptionsDialog::writeOptions() {
    std::array<QString, kOptionCount> texts;
    for (int k = 0; k < kOptionCount; ++k)
        texts[k] = m_boxes[k]->text();
    const OptionsReading reading = readOptionBoxes(texts);
    Platform& platform = m_context.platform;
    const std::optional<OptionProblem> problem =
        reading.problem
            ? reading.problem
            : boardSizeOptionProblem(m_context.state, reading.options, platform.twipsPerPixelX(),
                                     platform.twipsPerPixelY());
    if (problem) {
        platform.showError(this, kCaption, problem->message);
        QLineEdit* box = m_boxes[problem->row];
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return;
    }
    const SaveResult result = [&] {
        SaveStep step(m_context.files, QStringLiteral("オプション"));
        return m_context.files.saveParameterFile(reading.options);
    }();
    if (!result.ok) {
        platform.showError(this, kCaption, result.message());
        return;
    }
    storeOptions(m_context.state, reading.options);
    leaveToBoard(true);
}

} // namespace zel

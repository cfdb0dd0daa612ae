#include "settings/DataFolderDialog.h"

#include "platform/Platform.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "roster/SaveStep.h"
#include "settings/FolderRules.h"
#include "ui/Appearance.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace zel {

namespace {
const QColor kHeadingBackground(255, 255, 192);
const QColor kNoteText(255, 255, 0);
const QColor kFileNameText(0, 255, 0);
} // namespace

DataFolderDialog::DataFolderDialog(const AppContext& context, BoardHost& host)
    : SettingsWindow(context, host, QStringLiteral("DataFolderDialog"), 5385, 2385) {
    setAccessibleName(QStringLiteral("データのパス指定"));
    addLabel(QStringLiteral("Label1"), QStringLiteral("データ保存先のパスを指定して下さい"),
             look::minchoFont(12, true), Qt::black, kHeadingBackground, 120, 120, 5055, 315);

    m_path = new QLineEdit(this);
    m_path->setFont(look::minchoFont(9, true));
    m_path->setText(context.state.dataFolder);
    place(m_path, QStringLiteral("Text1"), 240, 600, 3735, 270,
          QStringLiteral("データ保存先のパス"));
    new ReturnKeyFilter(m_path, [this] { confirmPath(); });

    m_back = new QPushButton(QStringLiteral("戻る"), this);
    m_back->setAutoDefault(false);
    place(m_back, QStringLiteral("Command1"), 4440, 600, 735, 375);
    new ReturnKeyFilter(m_back, [this] { m_back->click(); });
    connect(m_back, &QPushButton::clicked, this, [this] { leaveToBoard(false); });

    addLabel(QStringLiteral("Label2"), QStringLiteral("保存先には以下のファイルが必要です。"),
             look::gothicFont(9.75), kNoteText, std::nullopt, 120, 1080, 3855, 255);
    const QFont fileNameFont = look::gothicFont(9.75, true);
    addLabel(QStringLiteral("Label6"), QStringLiteral("ｚｅｌｐｒｓｎ．ｄａｔ"), fileNameFont,
             kFileNameText, std::nullopt, 360, 1320, 4935, 255);
    addLabel(QStringLiteral("Label5"), QStringLiteral("ｚｅｌｊｏｂ．ｄａｔ"), fileNameFont,
             kFileNameText, std::nullopt, 360, 1560, 4935, 255);
    addLabel(QStringLiteral("Label4"), QStringLiteral("ｚｅｌｔｏ１．ｄａｔ"), fileNameFont,
             kFileNameText, std::nullopt, 360, 1800, 4935, 255);
    addLabel(QStringLiteral("Label3"), QStringLiteral("ｚｅｌｔｏ２．ｄａｔ"), fileNameFont,
             kFileNameText, std::nullopt, 360, 2040, 4935, 255);

    setTabOrder(m_path, m_back);
    m_path->setFocus();
}

void DataFolderDialog::changeEvent(QEvent* event) {
    SettingsWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_path->setFocus();
}

void DataFolderDialog::confirmPath() {
    // Stored exactly as typed, blanks included, with the separator added.
    const QString folder = completeFolderPath(m_path->text());
    Platform& platform = m_context.platform;
    if (const auto reason = unstorableFolderReason(folder)) {
        platform.showError(this, kCaption,
                           QStringLiteral("このパスは保存できません。\n%1").arg(*reason));
        m_path->setFocus();
        return;
    }
    // A folder that is not there yet (a drive mounted later, say) may still be chosen.
    if (!folderExists(m_context.files.workingDirectory(), folder) &&
        !platform.confirm(this, kCaption, missingFolderQuestion(folder))) {
        m_path->setFocus();
        return;
    }
    const SaveResult result = [&] {
        SaveStep step(m_context.files, QStringLiteral("データのパス指定"));
        return m_context.files.saveFolderFile(folder);
    }();
    if (!result.ok) {
        platform.showError(this, kCaption, result.message());
        m_path->setFocus();
        return;
    }
    m_context.state.dataFolder = folder;
    leaveToBoard(false);
}

} // namespace zel

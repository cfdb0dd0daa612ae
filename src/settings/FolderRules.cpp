#include "settings/FolderRules.h"

#include "roster/CodePage.h"
#include "roster/PrintWriter.h"
#include "roster/RosterFiles.h"

#include <QDir>
#include <QFileInfo>

namespace zel {

QString completeFolderPath(const QString& typed) {
    // The loader completes a path read from the folder file the same way.
    return withTrailingSeparator(typed);
}

std::optional<QString> unstorableFolderReason(const QString& completed) {
    if (const auto reason = unstorableTextReason(completed))
        return reason;
    // A name keeps its look when 〜 is stored as ～, a folder does not: the path read back
    // would name another folder.
    const QString stored = withCodePageLookAlikes(completed);
    for (qsizetype i = 0; i < completed.size(); ++i) {
        if (stored[i] != completed[i])
            return QStringLiteral("%1 は Shift-JIS では「%2」として保存されるため、"
                                  "別のフォルダを指してしまいます。")
                .arg(describeCharacter(completed[i].unicode()), stored[i]);
    }
    return std::nullopt;
}

bool folderExists(const QString& workingDirectory, const QString& completed) {
    if (completed.isEmpty())
        return QFileInfo(workingDirectory).isDir();
    return QFileInfo(QDir(workingDirectory).filePath(folderOnThisSystem(completed))).isDir();
}

QString missingFolderQuestion(const QString& completed) {
    return QStringLiteral("フォルダ「%1」は見つかりません。\n"
                          "このまま保存先にしますか？\n"
                          "（キャンセルで入力に戻ります）")
        .arg(completed);
}

} // namespace zel

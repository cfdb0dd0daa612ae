#include "settings/FolderRules.h"

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
    return unstorableTextReason(completed);
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

#include "history/ChangeCommand.h"

#include "roster/RosterFiles.h"

#include <QFileInfo>
#include <algorithm>
#include <map>
#include <memory>

namespace zel {

namespace {
const std::optional<QByteArray>& sideOf(const FileChange& change, ChangeSide side) {
    return side == ChangeSide::Before ? change.before : change.after;
}
ChangeSide otherSide(ChangeSide side) {
    return side == ChangeSide::Before ? ChangeSide::After : ChangeSide::Before;
}
QString changedElsewhereReason() {
    return QStringLiteral("この変更の後に、ほかのプログラムで変更されています。その変更を消さない"
                          "よう、元に戻す・やり直しをしませんでした。\nボードには今のファイルの内容"
                          "が表示されます。");
}
} // namespace

bool filesHold(const RosterFiles& files, const std::vector<FileChange>& changes, ChangeSide side) {
    for (const FileChange& change : changes)
        if (files.store().read(change.path) != sideOf(change, side))
            return false;
    return true;
}

SaveResult writeChangeSide(RosterFiles& files, const std::vector<FileChange>& changes,
                           ChangeSide target, int lockWaitMs) {
    const ChangeSide from = otherSide(target);
    // No other program saves into these folders between the check and the last write. The
    // folders are locked in one order, by their real paths, so that two programs undoing at
    // once wait for each other instead of each holding what the other needs. A later lock
    // waits less than the time after which others take an unchanging lock over as stale.
    std::map<QString, QString> folders; // real path to the name of a file written there
    for (const FileChange& change : changes) {
        const QFileInfo file(change.path);
        const QString real = QFileInfo(file.absolutePath()).canonicalFilePath();
        folders.emplace(real.isEmpty() ? file.absolutePath() : real, file.fileName());
    }
    std::vector<std::unique_ptr<SaveLock>> locks;
    for (const auto& [folder, fileName] : folders) {
        const int waitMs =
            locks.empty() ? lockWaitMs : std::min(lockWaitMs, SaveLock::kStaleMs / 2);
        locks.push_back(std::make_unique<SaveLock>(folder));
        if (locks.back()->acquire(waitMs) == SaveLock::Outcome::Busy)
            return SaveResult::failure(fileName, SaveLock::busyReason());
    }
    for (const FileChange& change : changes)
        if (files.store().read(change.path) != sideOf(change, from))
            return SaveResult::failure(QFileInfo(change.path).fileName(), changedElsewhereReason());
    for (size_t i = 0; i < changes.size(); ++i) {
        const SaveResult result = files.restoreFile(changes[i].path, sideOf(changes[i], target));
        if (result.ok)
            continue;
        // Back to where the step stood, newest first; the first failure is the one to tell.
        for (size_t k = i; k-- > 0;)
            files.restoreFile(changes[k].path, sideOf(changes[k], from));
        return result;
    }
    return SaveResult::success(changes.empty() ? QString()
                                               : QFileInfo(changes.front().path).fileName());
}

ChangeCommand::ChangeCommand(ChangeCommandContext& context, const QString& text,
                             std::vector<FileChange> changes)
    : QUndoCommand(text), m_context(context), m_changes(std::move(changes)) {}

void ChangeCommand::write(ChangeSide target) {
    if (m_context.quiet)
        return;
    m_context.last = writeChangeSide(m_context.files, m_changes, target, m_context.lockWaitMs);
}

} // namespace zel

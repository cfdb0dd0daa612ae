#include "history/History.h"

#include "roster/RosterFiles.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zel {

History::History(RosterFiles& files)
    : m_files(files), m_context{files, false, SaveResult::success({})} {
    m_stack.setUndoLimit(kLimit);
    m_files.setObserver(this);
}

History::~History() {
    if (m_files.observer() == this)
        m_files.setObserver(nullptr);
}

void History::persistIn(const QString& folder) {
    m_filePath = QDir(folder).filePath(historyFileName(m_files.workingDirectory()));
    const auto bytes = m_files.store().read(m_filePath);
    const auto history = bytes ? decodeHistory(*bytes, kLimit) : std::nullopt;
    const QString startFolder = QDir::cleanPath(QDir(m_files.workingDirectory()).absolutePath());
    if (history && history->startFolder == startFolder && matchesFiles(*history))
        restore(*history);
}

bool History::matchesFiles(const KeptHistory& history) const {
    // The newest done step's files hold its after side, the oldest undone step's its before.
    const int done = history.done;
    if (done > 0 && !filesHold(m_files, history.steps[done - 1].changes, ChangeSide::After))
        return false;
    if (done < int(history.steps.size()) &&
        !filesHold(m_files, history.steps[done].changes, ChangeSide::Before))
        return false;
    return true;
}

void History::restore(const KeptHistory& history) {
    m_context.quiet = true;
    m_stack.clear();
    for (const KeptStep& step : history.steps)
        m_stack.push(new ChangeCommand(m_context, step.text, step.changes));
    m_stack.setIndex(history.done);
    m_context.quiet = false;
}

KeptHistory History::kept() const {
    KeptHistory history;
    history.startFolder = QDir::cleanPath(QDir(m_files.workingDirectory()).absolutePath());
    history.done = m_stack.index();
    for (int i = 0; i < m_stack.count(); ++i) {
        const auto* command = static_cast<const ChangeCommand*>(m_stack.command(i));
        history.steps.push_back({command->text(), command->changes()});
    }
    return history;
}

void History::save() const {
    if (m_filePath.isEmpty())
        return;
    // A history that cannot be kept costs only the undo after a restart: no message.
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    m_files.store().save(m_filePath, encodeHistory(kept()));
}

SaveResult History::undo() {
    return move(true);
}

SaveResult History::redo() {
    return move(false);
}

SaveResult History::move(bool back) {
    if (back ? !m_stack.canUndo() : !m_stack.canRedo())
        return SaveResult::success({});
    m_context.last = SaveResult::success({});
    back ? m_stack.undo() : m_stack.redo();
    const SaveResult result = m_context.last;
    if (!result.ok) {
        // Nothing was written: the step stays where it was.
        m_context.quiet = true;
        back ? m_stack.redo() : m_stack.undo();
        m_context.quiet = false;
    } else {
        save();
    }
    return result;
}

void History::stepBegun(const QString& text) {
    if (m_depth++ == 0) {
        m_stepText = text;
        m_stepChanges.clear();
    }
}

void History::fileSaved(const FileChange& change) {
    if (m_depth == 0) {
        // A save outside any action still gets its own step, named after the file.
        push(QFileInfo(change.path).fileName() + QStringLiteral(" の保存"), {change});
        return;
    }
    // A file saved twice in one action: from its first before to its last after.
    auto same = std::find_if(m_stepChanges.begin(), m_stepChanges.end(),
                             [&](const FileChange& c) { return c.path == change.path; });
    if (same != m_stepChanges.end())
        same->after = change.after;
    else
        m_stepChanges.push_back(change);
}

void History::stepEnded() {
    if (m_depth == 0 || --m_depth > 0)
        return;
    push(m_stepText, std::move(m_stepChanges));
    m_stepChanges.clear();
}

void History::push(const QString& text, std::vector<FileChange> changes) {
    // Files saved with the bytes they already held are no change to take back.
    std::erase_if(changes, [](const FileChange& c) { return c.before == c.after; });
    if (changes.empty())
        return;
    m_context.quiet = true; // the action has written the files already
    m_stack.push(new ChangeCommand(m_context, text, std::move(changes)));
    m_context.quiet = false;
    save();
}

} // namespace zel

#pragma once

#include "history/ChangeCommand.h"
#include "history/HistoryFile.h"
#include "roster/SaveObserver.h"

#include <QUndoStack>

namespace zel {

class RosterFiles;

// The undo history of the roster files. It watches every save they make, groups the saves of
// one user action (a SaveStep) into one undo step that holds each file's bytes before and
// after, and undoes and redoes those steps through the files' own checked saves.
//
// The history belongs to the start folder (where zelpath.dat and zelpara.dat live and which
// names the data folder), so a change of the data folder is a step like any other. Kept in a
// state folder, it survives a restart: after every step it is written there, and it is taken
// back at start only when the files still hold what its newest step left in them.
class History : public SaveObserver {
  public:
    static constexpr int kLimit = 50;

    // Watches `files` from now on, in memory only.
    explicit History(RosterFiles& files);
    ~History() override;
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Keeps the steps in `folder` from now on, taking the steps kept there when they still
    // match the files; a history that does not is dropped without a word.
    void persistIn(const QString& folder);
    // The file the steps are kept in; empty while the history is in memory only.
    const QString& filePath() const { return m_filePath; }

    QUndoStack& stack() { return m_stack; }
    // How long an undo or redo waits for another program's save to end (SaveLock::kWaitMs).
    void setLockWait(int milliseconds) { m_context.lockWaitMs = milliseconds; }
    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    QString undoText() const { return m_stack.undoText(); }
    QString redoText() const { return m_stack.redoText(); }
    // Puts the newest done step's files back to what they held before (redo: after). When a
    // file changed elsewhere since, or a write fails, nothing changes and the result says why.
    SaveResult undo();
    SaveResult redo();

    // The steps as the history file keeps them.
    KeptHistory kept() const;

    void stepBegun(const QString& text) override;
    void fileSaved(const FileChange& change) override;
    void stepEnded() override;

  private:
    SaveResult move(bool back);
    void push(const QString& text, std::vector<FileChange> changes);
    void restore(const KeptHistory& history);
    bool matchesFiles(const KeptHistory& history) const;
    void save() const;

    RosterFiles& m_files;
    ChangeCommandContext m_context;
    QUndoStack m_stack;
    QString m_filePath;
    int m_depth = 0;
    QString m_stepText;
    std::vector<FileChange> m_stepChanges;
};

} // namespace zel

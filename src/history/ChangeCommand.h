#pragma once

#include "platform/FileStore.h"
#include "platform/SaveLock.h"
#include "roster/SaveObserver.h"

#include <QUndoCommand>
#include <vector>

namespace zel {

class RosterFiles;

enum class ChangeSide { Before, After };

// Puts the files of one step back to one side's bytes. Every file must hold the other side's
// bytes first, or nothing is written and the step is refused: another program changed the file
// since. A write that fails puts the files already written back, so a step never leaves a mix
// of sides (an editor's list file and job file go back together, or neither does). From the
// check to the last write it holds the save lock of every folder the step writes in, as a save
// does; when another program holds one for `lockWaitMs`, nothing is written.
SaveResult writeChangeSide(RosterFiles& files, const std::vector<FileChange>& changes,
                           ChangeSide target, int lockWaitMs = SaveLock::kWaitMs);

// Whether every file of the step holds that side's bytes now.
bool filesHold(const RosterFiles& files, const std::vector<FileChange>& changes, ChangeSide side);

// What a change command reports to its stack's owner.
struct ChangeCommandContext {
    RosterFiles& files;
    bool quiet = false; // the stack moves without writing (a push after the action, a load)
    SaveResult last;    // how the last write went
    int lockWaitMs = SaveLock::kWaitMs; // how long a write waits for another program's save
};

// One undo step: the saves of one user action with each file's bytes before and after.
class ChangeCommand : public QUndoCommand {
  public:
    ChangeCommand(ChangeCommandContext& context, const QString& text,
                  std::vector<FileChange> changes);
    const std::vector<FileChange>& changes() const { return m_changes; }
    void undo() override { write(ChangeSide::Before); }
    void redo() override { write(ChangeSide::After); }

  private:
    void write(ChangeSide target);
    ChangeCommandContext& m_context;
    std::vector<FileChange> m_changes;
};

} // namespace zel

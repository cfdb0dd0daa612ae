#pragma once

#include "board/Carry.h"
#include "platform/FileStore.h"

#include <QString>
#include <optional>

namespace zel {

class RosterFiles;
struct RosterState;

// A marker change as the user meant it: besides the record it names, who and what it is
// about, so that it can be made again on records another PC saved in the meantime.
struct SharedEdit {
    MarkerEdit edit;
    int fromPerson = -1; // Move, Remove: the person the record had
    // The person it goes to (Add, Move) or came from (Remove), and the duty; nothing when the
    // index names no entry.
    std::optional<QString> personName;
    std::optional<QString> dutyName;
    static SharedEdit of(const MarkerEdit& edit, const RosterState& state);
    // The same change on these records, or false when it no longer applies (the duty or the
    // person is no longer there under the same name, the record is gone, the job file full).
    bool rebase(const RosterState& state);
};

// How saving a change on a shared folder ended.
struct SharedSaveResult {
    enum class Outcome { Saved, Failed, NoLongerApplies };
    Outcome outcome = Outcome::Saved;
    SaveResult save = SaveResult::success({}); // Failed: the last refusal
    int attempts = 0;
    // The one message the user gets (empty when saved).
    QString message() const;
};

// Saves a marker change. When the job file was changed by another program since it was read,
// the files are read again, the same change is made on what they hold now and saved again, a
// few times at most. The state holds what was saved, or what the files held at the last try.
SharedSaveResult saveSharedMarkerEdit(RosterFiles& files, RosterState& state,
                                      const MarkerEdit& edit);
// Clears every marker the same way: a clear always applies again.
SharedSaveResult saveSharedClear(RosterFiles& files, RosterState& state);

inline constexpr int kSharedSaveAttempts = 5;

} // namespace zel

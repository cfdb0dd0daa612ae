#pragma once

#include "platform/FileStore.h"
#include "roster/RosterState.h"

#include <QStringList>

namespace zel {

class RosterFiles;

// How writing an edited list went. The roster record changes only for what was written.
struct ListWriteResult {
    bool ok = true;
    bool listWritten = false; // the list file holds the new list
    SaveResult lastSave;      // the save that failed, or the last one that succeeded

    // One message for the user: the file, the reason, and what was kept.
    QString message() const;
};

// Writes the person file; on success the record takes the new names.
ListWriteResult writePersonList(RosterState& state, RosterFiles& files, const QStringList& names);

// Writes the duty list of one colour, then the job file with the offsets repacked for the
// list's new marker width. The record takes the list and its width once the list file is
// written, and the new offsets once the job file is.
ListWriteResult writeDutyList(RosterState& state, RosterFiles& files, DutyColour colour,
                              const QStringList& names);

} // namespace zel

#pragma once

#include "roster/RosterFiles.h"

#include <QStringList>

namespace zel {

// The six data files where a load looks for them, in the order it reads them.
QStringList dataFilePaths(const RosterFiles& files, const RosterState& state);

// Those of `paths` that are there as files but cannot be read, for want of permission (a load
// shows them as empty, as if they were missing): the board says so.
QStringList unreadableFiles(const QStringList& paths);

// What the board says about the data files after a load: one line for each it cannot read.
QStringList dataFileNotices(const RosterFiles& files, const RosterState& state);

} // namespace zel

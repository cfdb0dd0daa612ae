#pragma once

#include "roster/RosterState.h"

namespace zel {

// The job file's offsets were packed for the duty names of their time. When a list file was
// written with longer names but the job file was not (a program killed between the two saves,
// a copy of one file only), a person's markers would be drawn over each other. Such a person's
// markers are packed again by the usual rule, in marker order from offset 0; rows whose
// markers do not overlap keep their stored offsets, gaps included.
void repackOverlappingRows(RosterState& state);

} // namespace zel

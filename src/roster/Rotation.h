#pragma once

#include "roster/RosterState.h"

namespace zel {

enum class RotateDirection { Next, Previous };

// Passes every duty on: each marker of person p (0 <= p < personCount) goes to person p + 1,
// the last person's to person 0 (Previous: the other way). Markers of persons outside the list
// stay; the records keep their order. Offsets are left to the job file's save, which repacks
// them. Returns how many markers changed person.
int rotateMarkers(RosterState& state, RotateDirection direction);

// Rotation needs a person to pass to and a marker to pass.
bool canRotate(const RosterState& state);

} // namespace zel

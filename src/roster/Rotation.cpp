#include "roster/Rotation.h"

#include <algorithm>

namespace zel {

int rotateMarkers(RosterState& state, RotateDirection direction) {
    const int persons = std::clamp(state.personCount, 0, kMaxPersons);
    if (persons == 0)
        return 0;
    const int step = direction == RotateDirection::Next ? 1 : persons - 1;
    int moved = 0;
    for (int m = 1; m <= state.markerSlotsInUse(); ++m) {
        const int p = state.markerPerson[m];
        if (p < 0 || p >= persons)
            continue;
        const int to = (p + step) % persons;
        moved += to != p;
        state.markerPerson[m] = to;
    }
    return moved;
}

bool canRotate(const RosterState& state) {
    return state.personCount > 0 && state.markerSlotsInUse() > 0;
}

} // namespace zel

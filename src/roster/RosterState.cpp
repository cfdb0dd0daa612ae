#include "roster/RosterState.h"

#include "units/Numbers.h"

#include <algorithm>

namespace zel {

int RosterState::markerSlotsInUse() const {
    return std::clamp(markerCount, 0, kMaxMarkers);
}

double RosterState::markerWidth(int m) const {
    return isGreenCode(markerDuty[m]) ? greenMarkerWidth : yellowMarkerWidth;
}

void RosterState::accumulatePersonWidths() {
    // All 101 slots: a marker of a removed person must not keep growing its row.
    personMarkerWidth.fill(0);
    for (int m = 1; m <= markerSlotsInUse(); ++m) {
        const int p = markerPerson[m];
        if (isPersonSlot(p))
            personMarkerWidth[p] += toInt32(markerWidth(m));
    }
}

void RosterState::repackOffsets(int leftOutMarker) {
    personMarkerWidth.fill(0);
    for (int m = 1; m <= markerSlotsInUse(); ++m) {
        if (m == leftOutMarker)
            continue;
        const int p = markerPerson[m];
        if (!isPersonSlot(p)) {
            markerOffset[m] = 0;
            continue;
        }
        markerOffset[m] = toInt32(double(kTwipsPerCharacter) * personMarkerWidth[p]);
        personMarkerWidth[p] += toInt32(markerWidth(m));
    }
}

void RosterState::updateMaxPersonWidth() {
    maxPersonMarkerWidth = 0;
    const int persons = std::clamp(personCount, 0, kSlots);
    for (int i = 0; i < persons; ++i)
        maxPersonMarkerWidth = std::max(maxPersonMarkerWidth, personMarkerWidth[i]);
}

int longestNameLength(const std::array<QString, kSlots>& names, int count) {
    int longest = 0;
    const int n = std::clamp(count, 0, kSlots);
    for (int k = 0; k < n; ++k)
        longest = std::max(longest, int(names[k].size()));
    return longest;
}

} // namespace zel

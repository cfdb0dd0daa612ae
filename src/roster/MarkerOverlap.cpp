#include "roster/MarkerOverlap.h"

#include "units/Numbers.h"

#include <algorithm>
#include <vector>

namespace zel {

namespace {
struct Span {
    double left;
    double right;
};

// Marker m's place in its row, in twips: without the 30 twips of frame by which neighbours
// always overlap.
Span spanOf(const RosterState& state, int m) {
    const double left = state.markerOffset[m];
    return {left, left + double(kTwipsPerCharacter) * toInt32(state.markerWidth(m))};
}

bool overlaps(std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.left < b.left; });
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].left < spans[i - 1].right)
            return true;
    }
    return false;
}
} // namespace

void repackOverlappingRows(RosterState& state) {
    std::array<std::vector<Span>, kSlots> rows;
    for (int m = 1; m <= state.markerSlotsInUse(); ++m) {
        const Span span = spanOf(state, m);
        if (isPersonSlot(state.markerPerson[m]) && span.right > span.left)
            rows[state.markerPerson[m]].push_back(span);
    }
    for (int person = 0; person < kSlots; ++person) {
        if (rows[person].size() < 2 || !overlaps(rows[person]))
            continue;
        int running = 0;
        for (int m = 1; m <= state.markerSlotsInUse(); ++m) {
            if (state.markerPerson[m] != person)
                continue;
            state.markerOffset[m] = toInt32(double(kTwipsPerCharacter) * running);
            running += toInt32(state.markerWidth(m));
        }
    }
}

} // namespace zel

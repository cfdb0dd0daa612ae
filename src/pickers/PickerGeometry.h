#pragma once

#include "roster/RosterState.h"
#include "units/TwipRect.h"
#include "units/TwipScale.h"

#include <QRect>
#include <optional>
#include <vector>

namespace zel {

// Where a picker's entries lie, in twips from the picker window's top-left corner. Duties
// run down a column first, then on to the next column.
struct PickerGeometry {
    double columnWidth = 0; // W: 300 x the colour's marker width
    double rowPitch = 0;    // P: 1.2 x tag height
    double tagHeight = 0;
    int perColumn = 1;
    int count = 0;
    int columns = 0;
    int rows = 0;
    double windowWidth = 0;
    double windowHeight = 0;
    bool operator==(const PickerGeometry&) const = default;

    int column(int k) const;
    int row(int k) const;
    TwipRect border() const;
    TwipRect frame(int k) const;
    TwipRect label(int k) const;
    // Every entry whose frame or label can reach into `area` (and a few around them), in
    // order. A frame lies in its own column and row; a label starts 130 twips below its row's
    // top and is a row pitch high, so it reaches into the rows below.
    std::vector<int> entriesNear(const TwipRect& area) const;
    // The entry's picture: from the frame's left edge, 4 twips above it, a pixel wider.
    QRect picturePixels(int k, const TwipScale& scale) const;
    // The entry under a press, found on the frames: the boundaries lie halfway between two
    // frames. Nothing for a press in a margin or past the last pickable entry.
    std::optional<int> entryAt(double x, double y, int pickableEntries) const;
};

PickerGeometry computePickerGeometry(const RosterState& state, DutyColour colour);

} // namespace zel

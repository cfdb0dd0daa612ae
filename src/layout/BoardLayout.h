#pragma once

#include "roster/RosterState.h"
#include "units/TwipRect.h"

#include <cstdint>
#include <vector>

namespace zel {

// The frame the board's numbers were made for: 60 twips of border left, right and below,
// 630 from the outer top edge down to the board (caption and menu bar).
inline constexpr double kFrameSide = 60;
inline constexpr double kFrameTop = 630;
inline constexpr double kFrameBottom = 60;

// Geometry shared by the board's rows and columns.
struct BoardGrid {
    double rowPitch = 0;    // 1.2 x tag height
    int namesPerColumn = 1; // the rounded count N used for columns and rows alike
    int rows = 0;
    std::int32_t columnPitch = 0;

    std::int64_t column(std::int64_t person) const;
    std::int64_t row(std::int64_t person) const;
};

struct BoardLayout {
    BoardGrid grid;
    double windowWidth = 0;  // outer width the board was laid out for
    double windowHeight = 0; // outer height
    double tagAreaBottom = 0;
    std::vector<TwipRect> tags;    // person i
    std::vector<TwipRect> frames;  // person i
    TwipRect greenButton;          // Command1
    TwipRect yellowButton;         // Command2
    TwipRect eraseButton;          // Command3
    std::vector<TwipRect> markers; // marker m at index m - 1

    // The board area under the menu bar: the outer size less the frame.
    double boardWidth() const { return windowWidth - 2 * kFrameSide; }
    double boardHeight() const { return windowHeight - kFrameTop - kFrameBottom; }
};

BoardGrid computeGrid(const RosterState& state);
BoardLayout computeBoardLayout(const RosterState& state);
// Marker m's rectangle on the board (also for a person beyond the list).
TwipRect markerRect(const RosterState& state, const BoardGrid& grid, int m);

} // namespace zel

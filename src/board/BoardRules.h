#pragma once

#include "layout/BoardLayout.h"

#include <QPointF>
#include <QSizeF>
#include <optional>

namespace zel {

// Where presses and the carried marker go, in board coordinates (twips from the board
// area's top-left corner; the layout's outer top edge is at y = -630).

// Row 0 of the hit test begins 40 twips below the board's top edge.
inline constexpr double kHitTestTop = 40;

// The person whose row lies under a board point, or nothing for a point beside every tag:
// above the first row counts as row 0, and a row below the last or an empty place is no one.
std::optional<int> personAt(const BoardGrid& grid, int personCount, QPointF point);

// The trash zone starts one row pitch and 780 twips above the window's bottom edge, but never
// above the bottom of the last tag row.
double trashZoneStart(const BoardLayout& layout);

// Top-left of the carried marker for a pointer at `pointer`: centred on it, kept right of the
// tags, away from the right edge, inside the top, and low enough to stand wholly in the trash zone.
QPointF trackedMarkerTopLeft(const BoardLayout& layout, double tagWidth, QPointF pointer,
                             QSizeF carried);

// The carried marker's place when a board marker in `column` is picked up.
QPointF pickUpTopLeft(const BoardLayout& layout, double tagWidth, std::int64_t column);

// The trash can's top-left while a board marker is carried.
QPointF trashCanTopLeft(const BoardLayout& layout, double tagWidth);

// Where a pick puts the pointer: the middle of the window, 300 twips above its bottom edge.
QPointF pickPointerTarget(const BoardLayout& layout);

// The carried marker's top after a pick: 1037 twips above the window's bottom edge.
double pickedMarkerTop(const BoardLayout& layout);

} // namespace zel

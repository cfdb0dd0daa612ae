#pragma once

namespace zel {

// A rectangle in twips (1/1440 inch). On the board, (0, 0) is the top-left corner of the board
// area; in a dialog, the top-left corner of its inside.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool operator==(const TwipRect&) const = default;
};

} // namespace zel

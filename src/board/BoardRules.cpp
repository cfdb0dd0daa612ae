#include "board/BoardRules.h"

#include "units/Numbers.h"

#include <algorithm>

namespace zel {

std::optional<int> personAt(const BoardGrid& grid, int personCount, QPointF point) {
    if (grid.rowPitch <= 0 || grid.columnPitch <= 0)
        return std::nullopt;
    const std::int64_t row = floorToInt(std::max(0.0, point.y() - kHitTestTop) / grid.rowPitch);
    const std::int64_t column = floorToInt(point.x() / grid.columnPitch);
    if (row >= grid.namesPerColumn || column < 0)
        return std::nullopt;
    const std::int64_t person = column * grid.namesPerColumn + row;
    if (person >= std::min(personCount, kMaxPersons))
        return std::nullopt;
    return int(person);
}

double trashZoneStart(const BoardLayout& layout) {
    const double rowPitch = layout.grid.rowPitch;
    return std::max(layout.windowHeight - rowPitch - kFrameTop - 150, layout.grid.rows * rowPitch);
}

QPointF trackedMarkerTopLeft(const BoardLayout& layout, double tagWidth, QPointF pointer,
                             QSizeF carried) {
    double left = pointer.x() - carried.width() / 2;
    double top = pointer.y() - carried.height() / 2;
    // Applied in this order, so the right bound wins over the left and the bottom over the top.
    if (left < tagWidth + 200)
        left = tagWidth + 200;
    if (left > layout.windowWidth - carried.width() - 500)
        left = layout.windowWidth - carried.width() - 550;
    if (top < 0)
        top = 0;
    // Low enough that the whole marker can stand in the trash zone: with small tags the zone
    // starts below the usual 1050 twips above the window's bottom edge.
    const double bottom = std::max(layout.windowHeight - 1050, trashZoneStart(layout));
    if (top > bottom)
        top = bottom;
    return {left, top};
}

QPointF pickUpTopLeft(const BoardLayout& layout, double tagWidth, std::int64_t column) {
    return {double(column) * layout.grid.columnPitch + tagWidth + 100,
            layout.windowHeight - layout.grid.rowPitch - 700};
}

QPointF trashCanTopLeft(const BoardLayout& layout, double tagWidth) {
    return {tagWidth + (layout.windowWidth - (tagWidth + 200)) / 2,
            layout.windowHeight - layout.grid.rowPitch - 850};
}

QPointF pickPointerTarget(const BoardLayout& layout) {
    return {layout.windowWidth / 2 - kFrameSide, layout.windowHeight - 300 - kFrameTop};
}

double pickedMarkerTop(const BoardLayout& layout) {
    return layout.windowHeight - 1037;
}

} // namespace zel

#include "pickers/PickerGeometry.h"

#include "units/Numbers.h"

#include <algorithm>
#include <cmath>

namespace zel {

PickerGeometry computePickerGeometry(const RosterState& state, DutyColour colour) {
    PickerGeometry g;
    const double h = state.tagHeight;
    g.tagHeight = h;
    g.columnWidth = kTwipsPerCharacter * state.markerWidthOf(colour);
    g.rowPitch = h * 1.2;
    g.perColumn = std::max(1, state.dutiesPerColumn);
    g.count = std::clamp(state.dutyCount(colour), 0, kMaxDuties);
    g.columns = int(ceilDiv(g.count, g.perColumn));
    g.rows = g.count < g.perColumn ? g.count : g.perColumn;
    g.windowHeight = (h + h / 5) * g.rows + h / 5 + 100;
    g.windowWidth = g.columns * g.columnWidth + 200;
    return g;
}

int PickerGeometry::column(int k) const {
    return int(floorToInt(double(k) / perColumn));
}
int PickerGeometry::row(int k) const {
    return int(remainder(k, perColumn));
}

TwipRect PickerGeometry::border() const {
    return {10, 10, std::max(0.0, windowWidth - 10), std::max(0.0, windowHeight - 10)};
}

TwipRect PickerGeometry::frame(int k) const {
    return {column(k) * columnWidth + 100, row(k) * rowPitch + 85, columnWidth,
            std::max(0.0, rowPitch - 80)};
}

TwipRect PickerGeometry::label(int k) const {
    return {column(k) * columnWidth + 100, row(k) * rowPitch + 130, columnWidth, rowPitch};
}

std::vector<int> PickerGeometry::entriesNear(const TwipRect& area) const {
    std::vector<int> entries;
    if (!(columnWidth > 0 && rowPitch > 0)) {
        for (int k = 0; k < count; ++k)
            entries.push_back(k);
        return entries;
    }
    const std::int64_t firstColumn =
        std::max<std::int64_t>(0, floorToInt((area.left - 100) / columnWidth) - 1);
    const std::int64_t lastColumn =
        std::min<std::int64_t>(columns - 1, floorToInt((area.right() - 100) / columnWidth) + 1);
    const std::int64_t labelRows = std::int64_t(std::ceil(130 / rowPitch)) + 1;
    const std::int64_t firstRow =
        std::max<std::int64_t>(0, floorToInt((area.top - 85) / rowPitch) - labelRows);
    const std::int64_t lastRow =
        std::min<std::int64_t>(rows - 1, floorToInt((area.bottom() - 85) / rowPitch) + 1);
    for (std::int64_t c = firstColumn; c <= lastColumn; ++c) {
        for (std::int64_t r = firstRow; r <= lastRow; ++r) {
            if (const std::int64_t k = c * perColumn + r; k < count)
                entries.push_back(int(k));
        }
    }
    return entries;
}

QRect PickerGeometry::picturePixels(int k, const TwipScale& scale) const {
    const double left = (column(k) * columnWidth + 100) / scale.tx;
    const double top = (row(k) * rowPitch + 81) / scale.ty;
    const double width = columnWidth / scale.tx + 1;
    const double height = rowPitch / scale.ty - 2;
    return QRect(TwipScale::clampPixels(left), TwipScale::clampPixels(top),
                 std::max(0, TwipScale::clampPixels(width)),
                 std::max(0, TwipScale::clampPixels(height)));
}

std::optional<int> PickerGeometry::entryAt(double x, double y, int pickableEntries) const {
    if (x < 100 || y < 45 || columnWidth <= 0 || rowPitch <= 0)
        return std::nullopt;
    const std::int64_t col = floorToInt((x - 100) / columnWidth);
    const std::int64_t row = floorToInt((y - 45) / rowPitch);
    if (row >= rows || col >= columns)
        return std::nullopt;
    const std::int64_t k = col * perColumn + row;
    if (k >= count || k >= pickableEntries)
        return std::nullopt;
    return int(k);
}

} // namespace zel

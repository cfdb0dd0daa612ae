#include "layout/BoardLayout.h"

#include "units/Numbers.h"

#include <algorithm>

namespace zel {

namespace {
constexpr double kMinWindowWidth = 2050;
constexpr double kMinWindowHeight = 1100;
constexpr double kButtonHeight = 350;

// Negative sizes are not valid for widgets: a very small tag height would give them.
TwipRect sized(double left, double top, double width, double height) {
    return {left, top, std::max(0.0, width), std::max(0.0, height)};
}
} // namespace

std::int64_t BoardGrid::column(std::int64_t person) const {
    return floorToInt(double(person) / namesPerColumn);
}

std::int64_t BoardGrid::row(std::int64_t person) const {
    return remainder(person, namesPerColumn);
}

BoardGrid computeGrid(const RosterState& state) {
    BoardGrid grid;
    const double h = state.tagHeight;
    grid.rowPitch = h + h / 5;
    // One rounded count for columns and rows, so 10.5 cannot draw person 10 over person 0.
    grid.namesPerColumn =
        int(std::clamp<std::int64_t>(floorToInt(roundHalfEven(state.namesPerColumn)), 1, 32767));
    const int persons = std::clamp(state.personCount, 0, kMaxPersons);
    grid.rows = persons >= grid.namesPerColumn ? grid.namesPerColumn : persons;
    double pitch = state.tagWidth + 400 + double(state.maxPersonMarkerWidth) * kTwipsPerCharacter;
    if (pitch < state.tagWidth + 1500)
        pitch = state.tagWidth + 1500;
    grid.columnPitch = toInt32(pitch);
    return grid;
}

TwipRect markerRect(const RosterState& state, const BoardGrid& grid, int m) {
    const double h = state.tagHeight;
    const int p = state.markerPerson[m];
    const double width = state.markerWidth(m) * kTwipsPerCharacter + 30;
    const double left = double(grid.column(p)) * grid.columnPitch + state.markerOffset[m] + 100 +
                        state.tagWidth + 100;
    const double top = double(grid.row(p)) * grid.rowPitch + h / 5 - 20;
    return sized(left, top, width, h * 1.2 - 25);
}

BoardLayout computeBoardLayout(const RosterState& state) {
    BoardLayout layout;
    layout.grid = computeGrid(state);
    const BoardGrid& grid = layout.grid;
    const double h = state.tagHeight;
    const int persons = std::clamp(state.personCount, 0, kMaxPersons);

    layout.tagAreaBottom = grid.rows * grid.rowPitch + h / 5;
    layout.windowHeight = layout.tagAreaBottom + 1100;
    const std::int64_t columns = ceilDiv(persons, grid.namesPerColumn);
    layout.windowWidth = double(columns) * grid.columnPitch + 350;
    layout.windowWidth = std::max(layout.windowWidth, kMinWindowWidth);
    layout.windowHeight = std::max(layout.windowHeight, kMinWindowHeight);

    layout.tags.reserve(persons);
    layout.frames.reserve(persons);
    for (int i = 0; i < persons; ++i) {
        const double colLeft = double(grid.column(i)) * grid.columnPitch;
        const double row = double(grid.row(i));
        layout.tags.push_back(sized(colLeft + 100, row * grid.rowPitch + h / 5, state.tagWidth, h));
        layout.frames.push_back(
            sized(colLeft, row * grid.rowPitch + h / 10, grid.columnPitch, grid.rowPitch));
    }

    const double buttonTop = layout.tagAreaBottom + 25;
    layout.yellowButton = {0, buttonTop, 500, kButtonHeight};
    layout.greenButton = {500, buttonTop, 500, kButtonHeight};
    layout.eraseButton = {layout.windowWidth - 450, buttonTop, 300, kButtonHeight};

    const int markers = std::clamp(state.markerCount, 0, kMaxMarkers);
    layout.markers.reserve(markers);
    for (int m = 1; m <= markers; ++m)
        layout.markers.push_back(markerRect(state, grid, m));
    return layout;
}

} // namespace zel

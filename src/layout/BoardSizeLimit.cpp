#include "layout/BoardSizeLimit.h"

#include "layout/BoardLayout.h"
#include "pickers/PickerGeometry.h"
#include "units/Numbers.h"

#include <algorithm>

namespace zel {

namespace {
std::int64_t pixels(double twips, double twipsPerPixel) {
    const double value = roundHalfEven(twips / twipsPerPixel);
    // Far beyond any limit, and still an integer.
    return std::isfinite(value) ? std::int64_t(std::clamp(value, 0.0, 1e15)) : 0;
}

bool sidesFit(const WindowPixels& w) {
    return w.width <= kMaxWindowSide && w.height <= kMaxWindowSide;
}
bool noLarger(const WindowPixels& w, const WindowPixels& than) {
    return w.width <= than.width && w.height <= than.height;
}
} // namespace

std::int64_t WindowPixels::shownArea() const {
    return std::min(width, kMaxWindowSide) * std::min(height, kMaxWindowSide);
}

std::int64_t BoardWindows::shownArea() const {
    return board.shownArea() + greenList.shownArea() + yellowList.shownArea();
}

BoardWindows measureBoardWindows(const RosterState& state, const DisplayOptions& options,
                                 double twipsPerPixelX, double twipsPerPixelY) {
    RosterState laidOut = state;
    storeOptions(laidOut, options);
    const BoardLayout layout = computeBoardLayout(laidOut);
    const auto list = [&](DutyColour colour) {
        const PickerGeometry g = computePickerGeometry(laidOut, colour);
        return WindowPixels{pixels(g.windowWidth, twipsPerPixelX),
                            pixels(g.windowHeight, twipsPerPixelY)};
    };
    return {
        {pixels(layout.windowWidth, twipsPerPixelX), pixels(layout.windowHeight, twipsPerPixelY)},
        list(DutyColour::Green),
        list(DutyColour::Yellow)};
}

std::optional<BoardSizeProblem> boardSizeProblem(const RosterState& state,
                                                 const DisplayOptions& options,
                                                 double twipsPerPixelX, double twipsPerPixelY) {
    const BoardWindows windows =
        measureBoardWindows(state, options, twipsPerPixelX, twipsPerPixelY);
    const BoardWindows fallback =
        measureBoardWindows(state, kFallbackOptions, twipsPerPixelX, twipsPerPixelY);
    const auto fits = [](const WindowPixels& w, const WindowPixels& fallbackWindow) {
        return sidesFit(w) || noLarger(w, fallbackWindow);
    };
    if (!fits(windows.board, fallback.board))
        return windows.board.width > kMaxWindowSide
                   ? BoardSizeProblem{BoardSizeLimit::BoardWidth, windows.board.width}
                   : BoardSizeProblem{BoardSizeLimit::BoardHeight, windows.board.height};
    for (const auto& [list, fallbackList] : {std::pair{windows.greenList, fallback.greenList},
                                             std::pair{windows.yellowList, fallback.yellowList}}) {
        if (!fits(list, fallbackList))
            return list.width > kMaxWindowSide
                       ? BoardSizeProblem{BoardSizeLimit::ListWidth, list.width}
                       : BoardSizeProblem{BoardSizeLimit::ListHeight, list.height};
    }
    if (windows.shownArea() > std::max(kMaxBoardPixels, fallback.shownArea()))
        return BoardSizeProblem{BoardSizeLimit::Pixels, windows.shownArea()};
    return std::nullopt;
}

void applyBoardSizeFallbacks(RosterState& state, double twipsPerPixelX, double twipsPerPixelY) {
    using Step = void (*)(DisplayOptions&);
    static constexpr Step steps[] = {
        [](DisplayOptions& o) { o.tagHeight = kFallbackOptions.tagHeight; },
        [](DisplayOptions& o) { o.tagWidth = kFallbackOptions.tagWidth; },
        [](DisplayOptions& o) { o.namesPerColumn = kFallbackOptions.namesPerColumn; },
        [](DisplayOptions& o) { o.dutiesPerColumn = kFallbackOptions.dutiesPerColumn; }};
    DisplayOptions options = currentOptions(state);
    for (Step step : steps) {
        if (!boardSizeProblem(state, options, twipsPerPixelX, twipsPerPixelY))
            break;
        step(options);
    }
    storeOptions(state, options);
}

} // namespace zel

#pragma once

#include "roster/RosterFiles.h"
#include "roster/RosterState.h"

#include <cstdint>
#include <optional>

namespace zel {

// X11 takes no window wider or taller than this.
inline constexpr std::int64_t kMaxWindowSide = 32767;
// The board and its two duty lists together hold at most this many pixels (three 4K screens).
// Each pixel costs about 4 bytes in the window's backing store and about as many again in the
// markers' pictures, so the program stays well under 500 MB with the largest roster.
inline constexpr std::int64_t kMaxBoardPixels = 24'000'000;

// A window's size in pixels as the layout asks for it, before anything is cut to fit X11.
struct WindowPixels {
    std::int64_t width = 0;
    std::int64_t height = 0;
    // What a window of this size really holds: each side cut at kMaxWindowSide.
    std::int64_t shownArea() const;
};

// The windows the board shows for these options: the board and the two duty lists, outer
// sizes from the board's own layout with the screen's twips per pixel.
struct BoardWindows {
    WindowPixels board;
    WindowPixels greenList;
    WindowPixels yellowList;
    std::int64_t shownArea() const;
};
BoardWindows measureBoardWindows(const RosterState& state, const DisplayOptions& options,
                                 double twipsPerPixelX, double twipsPerPixelY);

enum class BoardSizeLimit { BoardWidth, BoardHeight, ListWidth, ListHeight, Pixels };

struct BoardSizeProblem {
    BoardSizeLimit limit;
    std::int64_t pixels; // the side's length, or all the pixels, the options would need
};

// Why the screen could not show these options' windows, or memory not hold them; nothing when
// they fit. A roster whose markers or duty names alone make a window too wide cannot fit with
// any options: there, options whose windows are no larger than those of the fallback options
// (10, 5, 1000, 300, 9), which the board would use anyway, count as fitting.
std::optional<BoardSizeProblem> boardSizeProblem(const RosterState& state,
                                                 const DisplayOptions& options,
                                                 double twipsPerPixelX, double twipsPerPixelY);

// At load: options from the parameter file that do not fit are replaced in memory, as unusable
// ones are: the tag height first, then the tag width, the names and the duties per column,
// until they fit (or all four are the fallbacks). The file is left as it is.
void applyBoardSizeFallbacks(RosterState& state, double twipsPerPixelX, double twipsPerPixelY);

} // namespace zel

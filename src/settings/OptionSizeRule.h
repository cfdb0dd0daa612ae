#pragma once

#include "settings/OptionRules.h"

namespace zel {

// "書込み" refuses options whose board or duty lists the screen could not show, or memory not
// hold (see BoardSizeLimit.h), with a message saying how large they would be and what to
// change. The focus goes to the box that most likely made them so: of the boxes that shape the
// window, the first one changed, in the order tag height, tag width, names, duties per column.
std::optional<OptionProblem> boardSizeOptionProblem(const RosterState& state,
                                                    const DisplayOptions& options,
                                                    double twipsPerPixelX, double twipsPerPixelY);

} // namespace zel

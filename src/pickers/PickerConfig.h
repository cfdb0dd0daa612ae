#pragma once

#include "roster/RosterState.h"

#include <QColor>
#include <array>

namespace zel {

// What a pick does after the entry's picture is in the carried marker. The two colours run
// the same steps in a different order.
enum class PickStep {
    ClosePicker,
    FocusBoard,
    MovePointer,
    ClearOpenFlag,
    EnableTracking,
    SetPendingFlag
};

// Everything that sets the green and the yellow picker apart.
struct PickerConfig {
    DutyColour colour;
    QColor border;            // Shape2's outline
    QColor entryFill;         // entry frame, solid
    QColor entryOutline;      // entry frame outline
    double carriedHeightLess; // the carried marker is P minus this high
    double carriedLeft;       // board x of the carried marker after a pick
    int pickableEntries; // entries a press can pick: a yellow index of 100 would read back as green
    std::array<PickStep, 6> stepsAfterCopy;
    const char* objectName;
    const char* accessibleName;

    static const PickerConfig& green();
    static const PickerConfig& yellow();
    static const PickerConfig& of(DutyColour colour) {
        return colour == DutyColour::Green ? green() : yellow();
    }
};

} // namespace zel

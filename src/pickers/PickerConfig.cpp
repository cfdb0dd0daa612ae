#include "pickers/PickerConfig.h"

namespace zel {

const PickerConfig& PickerConfig::green() {
    static const PickerConfig config{
        .colour = DutyColour::Green,
        .border = QColor(0, 255, 0),
        .entryFill = QColor(128, 255, 128),
        .entryOutline = QColor(255, 255, 0),
        .carriedHeightLess = 25,
        .carriedLeft = 1000,
        .pickableEntries = kMaxDuties,
        .stepsAfterCopy = {PickStep::ClosePicker, PickStep::FocusBoard, PickStep::MovePointer,
                           PickStep::ClearOpenFlag, PickStep::EnableTracking,
                           PickStep::SetPendingFlag},
        .objectName = "GreenDutyPicker",
        .accessibleName = "緑色当番の一覧",
    };
    return config;
}

const PickerConfig& PickerConfig::yellow() {
    static const PickerConfig config{
        .colour = DutyColour::Yellow,
        .border = QColor(255, 255, 0),
        .entryFill = QColor(255, 255, 0),
        .entryOutline = QColor(255, 128, 128),
        .carriedHeightLess = 13,
        .carriedLeft = 500,
        .pickableEntries = kGreenCodeBase,
        .stepsAfterCopy = {PickStep::MovePointer, PickStep::ClearOpenFlag, PickStep::EnableTracking,
                           PickStep::SetPendingFlag, PickStep::FocusBoard, PickStep::ClosePicker},
        .objectName = "YellowDutyPicker",
        .accessibleName = "黄色当番の一覧",
    };
    return config;
}

} // namespace zel

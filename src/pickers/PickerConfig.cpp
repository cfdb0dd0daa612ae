#include "pickers/PickerConfig.h"

namespace zel {

const PickerConfig& PickerConfig::green() {
    static const PickerConfig config{DutyColour::Green,
                                     QColor(0, 255, 0),
                                     QColor(128, 255, 128),
                                     QColor(255, 255, 0),
                                     25,
                                     1000,
                                     kMaxDuties,
                                     {PickStep::ClosePicker, PickStep::FocusBoard,
                                      PickStep::MovePointer, PickStep::ClearOpenFlag,
                                      PickStep::EnableTracking, PickStep::SetPendingFlag},
                                     "GreenDutyPicker",
                                     "緑色当番の一覧"};
    return config;
}

const PickerConfig& PickerConfig::yellow() {
    static const PickerConfig config{DutyColour::Yellow,
                                     QColor(255, 255, 0),
                                     QColor(255, 255, 0),
                                     QColor(255, 128, 128),
                                     13,
                                     500,
                                     kGreenCodeBase,
                                     {PickStep::MovePointer, PickStep::ClearOpenFlag,
                                      PickStep::EnableTracking, PickStep::SetPendingFlag,
                                      PickStep::FocusBoard, PickStep::ClosePicker},
                                     "YellowDutyPicker",
                                     "黄色当番の一覧"};
    return config;
}

} // namespace zel

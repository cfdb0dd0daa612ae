#include "board/PickerPair.h"

namespace zel {

DutyPicker* PickerPair::picker(DutyColour colour) const {
    return colour == DutyColour::Green ? m_green.data() : m_yellow.data();
}

bool PickerPair::isShown(DutyColour colour) const {
    const DutyPicker* p = picker(colour);
    return p && p->isVisible();
}

void PickerPair::close(DutyColour colour) {
    if (DutyPicker* p = picker(colour))
        p->hide();
}

void PickerPair::toggle(DutyColour colour, RosterState& state, const TwipScale& scale,
                        QPoint topLeft) {
    const bool green = colour == DutyColour::Green;
    int& ownFlag = green ? state.greenPickerOpen : state.yellowPickerOpen;
    int& otherFlag = green ? state.yellowPickerOpen : state.greenPickerOpen;
    if (ownFlag != 0) {
        close(colour);
        ownFlag = 0;
        return;
    }
    if (otherFlag == 1) {
        close(green ? DutyColour::Yellow : DutyColour::Green);
        otherFlag = 0;
    }
    QPointer<DutyPicker>& slot = green ? m_green : m_yellow;
    if (!slot) {
        const PickerConfig& config = PickerConfig::of(colour);
        // A child of the board's window, still a top-level window of its own (Qt::Tool).
        slot = new DutyPicker(config, &m_owner);
        QObject::connect(slot, &DutyPicker::entryPressed, &m_owner,
                         [this, &config](int k) { m_onPick(config, k); });
    }
    slot->open(state, scale, topLeft);
    ownFlag = 1;
}

} // namespace zel

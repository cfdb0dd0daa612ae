#pragma once

#include "pickers/DutyPicker.h"

#include <QPointer>
#include <functional>

namespace zel {

// The green and the yellow picker of one board: made on first use as tool windows of the
// board's window, at most one open at a time. The open flags live in the roster record.
class PickerPair {
  public:
    using OnPick = std::function<void(const PickerConfig& config, int k)>;
    PickerPair(QWidget& owner, OnPick onPick) : m_owner(owner), m_onPick(std::move(onPick)) {}

    DutyPicker* picker(DutyColour colour) const;
    bool isShown(DutyColour colour) const;
    void close(DutyColour colour);
    // Opens a colour's picker with its top-left corner at `topLeft`, closing the other one,
    // or closes it when it is open.
    void toggle(DutyColour colour, RosterState& state, const TwipScale& scale, QPoint topLeft);

  private:
    QWidget& m_owner;
    OnPick m_onPick;
    QPointer<DutyPicker> m_green;
    QPointer<DutyPicker> m_yellow;
};

} // namespace zel

#pragma once

#include "board/BoardLayout.h"
#include "roster/RosterState.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <variant>

namespace zel {

// A change of the marker records that a drop decides. It names the record by number and also
// by what it holds, so the same change can be found again in records read anew.
struct MarkerEdit {
    enum class Kind { Add, Move, Remove };
    Kind kind = Kind::Add;
    int marker = 0;   // Move, Remove: the record's number, from 1; Add: 0
    int dutyCode = 0; // the duty of the new, moved or removed record
    int person = 0;   // Add, Move: the person it goes to; Remove: the person it had
    bool operator==(const MarkerEdit&) const = default;
};

// Puts an edit into the records in memory and returns the marker the job file is to leave out
// (0 for none): a removed record stays in the arrays until the save has left it out.
int applyMarkerEdit(RosterState& state, const MarkerEdit& edit);

namespace carry {
struct Idle {
    bool operator==(const Idle&) const = default;
};
// A duty picked from a picker, carried to a person's row.
struct PlacingDuty {
    DutyColour colour = DutyColour::Green;
    int dutyIndex = 0;
    bool operator==(const PlacingDuty&) const = default;
};
// A board marker picked up, carried to another row or to the trash.
struct MovingMarker {
    int marker = 0;
    bool operator==(const MovingMarker&) const = default;
};
// Either of the above, stopped where it stands by a press on the background; a press on it
// drops it where the pointer then is.
struct Frozen {
    std::variant<PlacingDuty, MovingMarker> carried;
    bool operator==(const Frozen&) const = default;
};
} // namespace carry

using CarryState =
    std::variant<carry::Idle, carry::PlacingDuty, carry::MovingMarker, carry::Frozen>;

// What a press with the carried marker leads to.
struct DropDecision {
    enum class Outcome {
        KeepCarrying, // no one there: the carry goes on
        EndCarry,     // the carry ends and nothing is written
        Store,        // the carry ends and `edit` is saved
        Refuse,       // the carry ends, nothing is written, and `message` is said
    };
    Outcome outcome = Outcome::EndCarry;
    std::optional<MarkerEdit> edit;
    QString message;
};

// The carried marker's life, without widgets: which events start, change and end a carry and
// what a drop decides. The window shows the carried marker, runs the timers and saves.
class Carry {
  public:
    const CarryState& state() const { return m_state; }
    bool isIdle() const { return std::holds_alternative<carry::Idle>(m_state); }
    bool isFrozen() const { return std::holds_alternative<carry::Frozen>(m_state); }
    // What is carried, frozen or not.
    std::optional<carry::PlacingDuty> placing() const;
    std::optional<int> movingMarker() const;
    // Timer2 moves the carried marker with the pointer unless it is frozen.
    bool tracksPointer() const;
    // Timer1 repaints the markers while a board marker is carried, frozen or not.
    bool refreshesMarkers() const { return movingMarker().has_value(); }

    // A pick from a picker starts a placement, ending any other carry.
    void pick(DutyColour colour, int dutyIndex) { m_state = carry::PlacingDuty{colour, dutyIndex}; }
    // A press on board marker m (1 .. shownMarkers) starts a move, ending any other carry;
    // false, and nothing changes, for any other number.
    bool pickUp(int marker, int shownMarkers);
    // A press on the background stops the carried marker where it is.
    void freeze();
    // A press with the carried marker at a board position.
    DropDecision drop(QPointF boardPosition, const BoardLayout& layout, const RosterState& state);
    // A load, a reload or the end of the program: whatever was carried is gone.
    void end() { m_state = carry::Idle{}; }

  private:
    CarryState m_state;
};

} // namespace zel

#pragma once

#include "layout/BoardLayout.h"
#include "roster/RosterState.h"

#include <optional>
#include <vector>

namespace zel {

// The keys the board answers to without the pointer.
enum class RouteKey { Up, Down, Left, Right, Home, End, Tab, BackTab, Enter, Delete, Escape, G, Y };

// What the board holds when a key comes.
struct RouteBoard {
    int namesPerColumn = 1;
    std::vector<std::vector<int>> markersOf; // per person: marker numbers, left to right
    bool pickerShown = false;                // the picker the keyboard opened is still open
    std::optional<int> carriedMarker;        // the board marker being carried, by any means

    int persons() const { return int(markersOf.size()); }
};

// The board as the keyboard sees it, from the records and the grid.
RouteBoard routeBoardOf(const RosterState& state, const BoardGrid& grid);

// What the window is to do for a key.
struct RouteCommand {
    enum class Kind {
        None,       // the key means nothing here
        Redraw,     // only the focus moved
        OpenPicker, // open `colour`'s picker for the keyboard
        ClosePicker,
        Assign, // duty `entry` of `colour` to `person`, as a drop on that person's row
        PickUp, // carry marker `marker`
        Drop,   // the carried marker `marker` on `person`'s row
        Remove, // marker `marker`, as a drop in the trash zone
        Cancel, // end any carry, writing nothing
    };
    Kind kind = Kind::None;
    DutyColour colour = DutyColour::Green;
    int entry = 0;
    int marker = 0;
    int person = 0;
    bool operator==(const RouteCommand&) const = default;
};

// The keyboard's way over the board, without widgets: which name tag, marker or picker entry
// has the focus, and what each key does there. The focus is kept by position (person, place in
// the person's row), so it survives the reload that follows every save.
class KeyboardRoute {
  public:
    struct PickerFocus {
        DutyColour colour = DutyColour::Green;
        int entry = 0;
        int count = 0; // entries that can be picked
        int perColumn = 1;
    };

    std::optional<int> person() const { return m_person; }
    // The focused marker's place in the focused person's row, from 0.
    std::optional<int> markerPlace() const { return m_place; }
    const std::optional<PickerFocus>& picker() const { return m_picker; }
    // The marker the keyboard picked up, while it is carried.
    std::optional<int> carried() const { return m_carried; }

    RouteCommand press(RouteKey key, const RouteBoard& board);
    // The window opened the picker asked for: its entries, so many to a column.
    void pickerOpened(DutyColour colour, int count, int perColumn);
    // After a load: the focus stays where it was as far as the board still reaches, on the
    // marker a keyboard move has just dropped when there is one.
    void boardLoaded(const RouteBoard& board);

  private:
    RouteCommand movePerson(RouteKey key, const RouteBoard& board);
    RouteCommand inPicker(RouteKey key);
    void sync(const RouteBoard& board);

    std::optional<int> m_person;
    std::optional<int> m_place;
    std::optional<PickerFocus> m_picker;
    std::optional<int> m_carried;
    std::optional<int> m_dropped; // the marker a keyboard drop moved, until the next load
};

} // namespace zel

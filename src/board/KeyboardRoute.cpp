#include "board/KeyboardRoute.h"

#include <algorithm>

namespace zel {

using Kind = RouteCommand::Kind;

RouteBoard routeBoardOf(const RosterState& state, const BoardGrid& grid) {
    RouteBoard board;
    board.namesPerColumn = std::max(1, grid.namesPerColumn);
    board.markersOf.resize(std::clamp(state.personCount, 0, kMaxPersons));
    // Record order is the order in a row: the offsets are packed that way.
    for (int m = 1; m <= std::clamp(state.markerCount, 0, kMaxMarkers); ++m) {
        const int p = state.markerPerson[m];
        if (p >= 0 && p < board.persons())
            board.markersOf[p].push_back(m);
    }
    return board;
}

void KeyboardRoute::sync(const RouteBoard& board) {
    // The pointer may have closed the picker or ended the carry since the last key.
    if (m_picker && !board.pickerShown)
        m_picker.reset();
    if (m_carried && board.carriedMarker != m_carried)
        m_carried.reset();
    if (m_person && *m_person >= board.persons())
        m_person.reset();
    if (m_person && m_place && *m_place >= int(board.markersOf[*m_person].size()))
        m_place.reset();
}

RouteCommand KeyboardRoute::press(RouteKey key, const RouteBoard& board) {
    sync(board);
    if (m_picker)
        return inPicker(key);
    if (key == RouteKey::Escape) {
        m_carried.reset();
        return {Kind::Cancel};
    }
    if (board.persons() == 0)
        return {};
    if (!m_person) { // the first key only shows where the focus is
        m_person = 0;
        m_place.reset();
        return {Kind::Redraw};
    }
    const std::vector<int>& row = board.markersOf[*m_person];
    switch (key) {
    case RouteKey::Up:
    case RouteKey::Down:
    case RouteKey::Left:
    case RouteKey::Right:
    case RouteKey::Home:
    case RouteKey::End:
        return movePerson(key, board);
    case RouteKey::Tab:
    case RouteKey::BackTab: {
        if (m_carried || row.empty())
            return {};
        // Through the row and back to the tag itself.
        const int places = int(row.size());
        const int at = m_place ? *m_place : places;
        const int next = (at + (key == RouteKey::Tab ? 1 : places)) % (places + 1);
        m_place = next == places ? std::nullopt : std::optional<int>(next);
        return {Kind::Redraw};
    }
    case RouteKey::Delete:
        if (m_carried) {
            const int m = *m_carried;
            m_carried.reset();
            return {Kind::Remove, DutyColour::Green, 0, m, 0};
        }
        if (!m_place)
            return {};
        return {Kind::Remove, DutyColour::Green, 0, row[*m_place], 0};
    case RouteKey::Enter:
        if (m_carried) {
            const int m = *m_carried;
            m_carried.reset();
            m_dropped = m;
            return {Kind::Drop, DutyColour::Green, 0, m, *m_person};
        }
        if (!m_place)
            return {};
        m_carried = row[*m_place];
        m_place.reset();
        return {Kind::PickUp, DutyColour::Green, 0, *m_carried, 0};
    case RouteKey::G:
    case RouteKey::Y: {
        const DutyColour colour = key == RouteKey::G ? DutyColour::Green : DutyColour::Yellow;
        return {Kind::OpenPicker, colour};
    }
    case RouteKey::Escape:
        break;
    }
    return {};
}

RouteCommand KeyboardRoute::movePerson(RouteKey key, const RouteBoard& board) {
    const int persons = board.persons();
    const int perColumn = board.namesPerColumn;
    const int p = *m_person;
    const int row = p % perColumn;
    int next = p;
    switch (key) {
    case RouteKey::Up:
        next = row > 0 ? p - 1 : p;
        break;
    case RouteKey::Down:
        next = row + 1 < perColumn && p + 1 < persons ? p + 1 : p;
        break;
    case RouteKey::Left:
        next = p >= perColumn ? p - perColumn : p;
        break;
    case RouteKey::Right:
        // A shorter last column: its last person.
        if ((p / perColumn + 1) * perColumn < persons)
            next = std::min(p + perColumn, persons - 1);
        break;
    case RouteKey::Home:
        next = 0;
        break;
    case RouteKey::End:
        next = persons - 1;
        break;
    default:
        break;
    }
    m_person = next;
    m_place.reset();
    return {Kind::Redraw};
}

RouteCommand KeyboardRoute::inPicker(RouteKey key) {
    PickerFocus& f = *m_picker;
    auto moveTo = [&](int entry) {
        if (entry >= 0 && entry < f.count)
            f.entry = entry;
        return RouteCommand{Kind::Redraw};
    };
    switch (key) {
    case RouteKey::Up:
        return moveTo(f.entry - 1);
    case RouteKey::Down:
        return moveTo(f.entry + 1);
    case RouteKey::Left:
        return moveTo(f.entry - f.perColumn);
    case RouteKey::Right:
        return moveTo(f.entry + f.perColumn);
    case RouteKey::Home:
        return moveTo(0);
    case RouteKey::End:
        return moveTo(f.count - 1);
    case RouteKey::Enter: {
        if (f.count == 0 || !m_person)
            return {};
        const RouteCommand assign{Kind::Assign, f.colour, f.entry, 0, *m_person};
        m_picker.reset();
        m_carried.reset(); // a pick ends any carry
        return assign;
    }
    case RouteKey::Escape:
        m_picker.reset();
        return {Kind::ClosePicker, f.colour};
    case RouteKey::G:
    case RouteKey::Y: {
        // The same letter closes the picker, as its button does; the other opens the other.
        const DutyColour colour = key == RouteKey::G ? DutyColour::Green : DutyColour::Yellow;
        const DutyColour open = f.colour;
        m_picker.reset();
        return {colour == open ? Kind::ClosePicker : Kind::OpenPicker, colour};
    }
    default:
        return {};
    }
}

void KeyboardRoute::pickerOpened(DutyColour colour, int count, int perColumn) {
    m_picker = PickerFocus{colour, 0, std::max(0, count), std::max(1, perColumn)};
}

void KeyboardRoute::boardLoaded(const RouteBoard& board) {
    m_picker.reset();
    m_carried.reset();
    if (m_person && *m_person >= board.persons())
        m_person = board.persons() > 0 ? std::optional<int>(board.persons() - 1) : std::nullopt;
    if (m_person && m_dropped) {
        const std::vector<int>& row = board.markersOf[*m_person];
        const auto at = std::find(row.begin(), row.end(), *m_dropped);
        m_place = at == row.end() ? std::nullopt : std::optional<int>(int(at - row.begin()));
    } else if (m_person && m_place) {
        // A removal leaves the focus on the marker that took the removed one's place.
        const int places = int(board.markersOf[*m_person].size());
        m_place = places == 0 ? std::nullopt : std::optional<int>(std::min(*m_place, places - 1));
    } else if (!m_person) {
        m_place.reset();
    }
    m_dropped.reset();
}

} // namespace zel

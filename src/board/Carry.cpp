#include "board/Carry.h"

#include "board/BoardRules.h"

namespace zel {

int applyMarkerEdit(RosterState& state, const MarkerEdit& edit) {
    switch (edit.kind) {
    case MarkerEdit::Kind::Add: {
        const int n = state.markerCount + 1;
        state.markerDuty[n] = edit.dutyCode;
        state.markerPerson[n] = edit.person;
        state.markerOffset[n] = 0;
        state.markerCount = n;
        return 0;
    }
    case MarkerEdit::Kind::Move:
        state.markerPerson[edit.marker] = edit.person;
        return 0;
    case MarkerEdit::Kind::Remove:
        return edit.marker;
    }
    return 0;
}

std::optional<carry::PlacingDuty> Carry::placing() const {
    if (const auto* p = std::get_if<carry::PlacingDuty>(&m_state))
        return *p;
    if (const auto* f = std::get_if<carry::Frozen>(&m_state))
        if (const auto* p = std::get_if<carry::PlacingDuty>(&f->carried))
            return *p;
    return std::nullopt;
}

std::optional<int> Carry::movingMarker() const {
    if (const auto* m = std::get_if<carry::MovingMarker>(&m_state))
        return m->marker;
    if (const auto* f = std::get_if<carry::Frozen>(&m_state))
        if (const auto* m = std::get_if<carry::MovingMarker>(&f->carried))
            return m->marker;
    return std::nullopt;
}

bool Carry::tracksPointer() const {
    return std::holds_alternative<carry::PlacingDuty>(m_state) ||
           std::holds_alternative<carry::MovingMarker>(m_state);
}

bool Carry::pickUp(int marker, int shownMarkers) {
    if (marker < 1 || marker > shownMarkers)
        return false;
    m_state = carry::MovingMarker{marker};
    return true;
}

void Carry::freeze() {
    if (const auto* p = std::get_if<carry::PlacingDuty>(&m_state))
        m_state = carry::Frozen{*p};
    else if (const auto* m = std::get_if<carry::MovingMarker>(&m_state))
        m_state = carry::Frozen{*m};
}

DropDecision Carry::drop(QPointF boardPosition, const BoardLayout& layout,
                         const RosterState& state) {
    using Outcome = DropDecision::Outcome;
    const bool inTrashZone = boardPosition.y() >= trashZoneStart(layout);
    const std::optional<int> person = personAt(layout.grid, state.personCount, boardPosition);
    const std::optional<int> moving = movingMarker();
    const std::optional<carry::PlacingDuty> placed = placing();

    DropDecision decision;
    if (moving) {
        const int m = *moving;
        if (m >= 1 && m <= state.markerCount && !inTrashZone && !person)
            return {Outcome::KeepCarrying, {}, {}};
        if (m >= 1 && m <= state.markerCount) {
            const MarkerEdit::Kind kind =
                inTrashZone ? MarkerEdit::Kind::Remove : MarkerEdit::Kind::Move;
            decision = {Outcome::Store,
                        MarkerEdit{kind, m, state.markerDuty[m],
                                   inTrashZone ? state.markerPerson[m] : *person},
                        {}};
        }
    } else if (placed && !inTrashZone) {
        if (!person)
            return {Outcome::KeepCarrying, {}, {}};
        if (state.markerCount >= kMaxMarkers) {
            decision.outcome = Outcome::Refuse;
            decision.message =
                QStringLiteral("当番マークは %1 "
                               "個までです。\nいらないマークをごみ箱に捨ててから置いてください。")
                    .arg(kMaxMarkers);
        } else {
            const int code = placed->colour == DutyColour::Green
                                 ? placed->dutyIndex + kGreenCodeBase
                                 : placed->dutyIndex;
            decision = {Outcome::Store, MarkerEdit{MarkerEdit::Kind::Add, 0, code, *person}, {}};
        }
    }
    // Cancelling a placement in the trash zone, a marker number the records no longer hold,
    // or nothing carried at all: the carry just ends.
    m_state = carry::Idle{};
    return decision;
}

} // namespace zel

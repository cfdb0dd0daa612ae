#include "board/BoardNames.h"

#include "board/BoardView.h"

#include <QStringList>
#include <memory>

namespace zel {

namespace {
QString dutyName(const RosterState& state, int code) {
    const DutyColour colour = colourOfCode(code);
    const int k = dutyIndexOfCode(code);
    if (k < 0 || k >= std::min(state.dutyCount(colour), kMaxDuties))
        return colour == DutyColour::Green ? QStringLiteral("緑色当番")
                                           : QStringLiteral("黄色当番");
    return state.dutyNames(colour)[k];
}
} // namespace

QString markerSpokenName(const RosterState& state, int m) {
    const int p = state.markerPerson[m];
    const QString person = p >= 0 && p < std::min(state.personCount, kMaxPersons)
                               ? state.personNames[p]
                               : QStringLiteral("名前のない行");
    return QStringLiteral("%1（%2）").arg(dutyName(state, state.markerDuty[m]), person);
}

QString tagSpokenDuties(const RosterState& state, int person) {
    QStringList duties;
    for (int m = 1; m <= std::min(state.markerCount, kMaxMarkers); ++m)
        if (state.markerPerson[m] == person)
            duties << dutyName(state, state.markerDuty[m]);
    return duties.isEmpty() ? QStringLiteral("当番なし") : duties.join(QStringLiteral("、"));
}

void nameBoardForReaders(BoardView& board, const RosterState& state) {
    // Said only when a reader asks, most boards are never read aloud; from the record as the
    // board shows it, not as a save has changed it since.
    const auto shown = std::make_shared<const RosterState>(state);
    board.setSpoken({[shown](int p) { return tagSpokenDuties(*shown, p); },
                     [shown](int m) { return markerSpokenName(*shown, m); }});
}

} // namespace zel

#include "board/StepNames.h"

namespace zel {

QString markerEditStepName(const RosterState& state, const MarkerEdit& edit) {
    const DutyColour colour = colourOfCode(edit.dutyCode);
    const int duty = dutyIndexOfCode(edit.dutyCode);
    const QString dutyName = duty >= 0 && duty < state.dutyCount(colour)
                                 ? state.dutyNames(colour)[duty]
                                 : QStringLiteral("当番マーク");
    if (edit.kind == MarkerEdit::Kind::Remove)
        return QStringLiteral("%1を外す").arg(dutyName);
    const QString person = edit.person >= 0 && edit.person < state.personCount
                               ? state.personNames[edit.person]
                               : QStringLiteral("名前のない行");
    return QStringLiteral("%1を%2へ").arg(dutyName, person);
}

} // namespace zel

#pragma once

#include "board/Carry.h"
#include "roster/RosterState.h"

#include <QString>

namespace zel {

// The undo item's name for a marker edit, from the names as the board shows them before it:
// 「掃除当番を佐藤 花子へ」 for a drop or a move, 「掃除当番を外す」 for a removal. A duty or
// person outside the lists is named by its kind.
QString markerEditStepName(const RosterState& state, const MarkerEdit& edit);

inline const QString kClearAllStepName = QStringLiteral("すべてのマークを消す");
inline const QString kRotateNextName = QStringLiteral("当番を次の人へ");
inline const QString kRotatePreviousName = QStringLiteral("当番を前の人へ");

} // namespace zel

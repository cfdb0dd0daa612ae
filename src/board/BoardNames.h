#pragma once

#include "roster/RosterState.h"

#include <QString>

namespace zel {

class BoardView;

// What a screen reader says for marker m: 「掃除当番（佐藤 花子）」.
QString markerSpokenName(const RosterState& state, int m);
// A name tag's description: the person's duties, in row order.
QString tagSpokenDuties(const RosterState& state, int person);

// Names every shown tag and marker of the board for assistive technology, as this record has
// them.
void nameBoardForReaders(BoardView& board, const RosterState& state);

} // namespace zel

#pragma once

#include "board/AppContext.h"

class QWidget;

namespace zel {

// The windows the menu opens in place of the board.
enum class DialogKind { DataFolder, Names, GreenDuties, YellowDuties, Options };

// Creates the window for a menu item. It deletes itself when closed, places its top-left
// corner at savedTop/savedLeft, and hands back to the board through `host` when it ends.
QWidget* createDialog(DialogKind kind, const AppContext& context, BoardHost& host);

} // namespace zel

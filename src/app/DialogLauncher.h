#pragma once

#include "ui/AppContext.h"

class QWidget;

namespace zel {

// Creates the window for a menu item. It deletes itself when closed, places its top-left
// corner at savedTop/savedLeft, and hands back to the board through `host` when it ends.
QWidget* createDialog(DialogKind kind, const AppContext& context, BoardHost& host);

} // namespace zel

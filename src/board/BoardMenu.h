#pragma once

#include "ui/AppContext.h"

#include <functional>

class QMainWindow;

namespace zel {

// What the board's menu items do.
struct BoardMenuActions {
    std::function<void(DialogKind)> openDialog;
    std::function<void()> openHelp;
    std::function<void()> quit;
};

// The menu bar: 「おしながき」 with the editors, the dialogs, help and the version, and 「終了」
// on the bar itself. Shortcuts work while the menu is closed.
void buildBoardMenu(QMainWindow& window, const BoardMenuActions& actions);

} // namespace zel

#pragma once

#include <functional>

class QWidget;

namespace zel {

struct RosterState;
class RosterFiles;
class Platform;

// What every window of the program shares: the one roster record, its files and the desktop.
struct AppContext {
    RosterState& state;
    RosterFiles& files;
    Platform& platform;
};

// What an editor or dialog needs from the board when it ends.
class BoardHost {
  public:
    virtual ~BoardHost() = default;
    // Shows the board again, loading it from the data files.
    virtual void showBoard() = 0;
    // After a save: the board is loaded again from the files just written.
    virtual void reloadBoard() = 0;
    // No window is left: the program ends.
    virtual void quitProgram() = 0;
};

// The windows the menu opens in place of the board.
enum class DialogKind { DataFolder, Names, GreenDuties, YellowDuties, Options };

// Creates the window for a menu item, or nothing. The application supplies it, so the board
// knows the editors and dialogs only by their kind.
using DialogFactory =
    std::function<QWidget*(DialogKind kind, const AppContext& context, BoardHost& host)>;

} // namespace zel

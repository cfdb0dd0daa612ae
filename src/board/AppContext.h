#pragma once

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

} // namespace zel

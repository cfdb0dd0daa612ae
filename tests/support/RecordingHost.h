#pragma once

#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"
#include "ui/AppContext.h"

#include <QStringList>

namespace zel::test {

// The main window as an editor or dialog sees it: records what it is asked to do.
class RecordingHost : public BoardHost {
  public:
    QStringList calls;
    void showBoard() override { calls << QStringLiteral("showBoard"); }
    void reloadBoard() override { calls << QStringLiteral("reloadBoard"); }
    void quitProgram() override { calls << QStringLiteral("quitProgram"); }
};

// What an editor or a dialog opens with: a data folder, the scripted desktop, the record (the
// board's corner at 3000, 1500 twips) and the recording main window.
struct DialogContext {
    DataFolder folder;
    FakePlatform platform;
    RosterState state;
    RosterFiles files{platform.store, folder.path()};
    RecordingHost host;
    AppContext context{state, files, platform};
    DialogContext() {
        state.savedLeft = 3000;
        state.savedTop = 1500;
    }
};

} // namespace zel::test

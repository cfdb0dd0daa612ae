#pragma once

#include "board/AppContext.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QStringList>

namespace zel::test {

// Records what an editor asks of the board when it ends.
class RecordingHost : public BoardHost {
  public:
    QStringList calls;
    void showBoard() override { calls << QStringLiteral("showBoard"); }
    void reloadBoard() override { calls << QStringLiteral("reloadBoard"); }
    void quitProgram() override { calls << QStringLiteral("quitProgram"); }
};

// A roster in a temporary data folder, loaded the way the board loads it.
struct EditorFixture {
    DataFolder folder;
    FakePlatform platform;
    RosterFiles files{platform.store, folder.path()};
    RosterState state;
    RecordingHost host;
    AppContext context{state, files, platform};

    void load() { files.loadAll(state); }
};

} // namespace zel::test

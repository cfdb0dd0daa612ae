#pragma once

#include "board/AppContext.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

namespace zel::test {

// A board that only notes what the dialogs ask of it.
class RecordingHost : public BoardHost {
  public:
    QStringList calls;
    void showBoard() override { calls << QStringLiteral("showBoard"); }
    void reloadBoard() override { calls << QStringLiteral("reloadBoard"); }
    void quitProgram() override { calls << QStringLiteral("quitProgram"); }
};

// A working directory, a scripted desktop, the roster record and its files.
struct SettingsFixture {
    DataFolder work;
    FakePlatform platform;
    RosterState state;
    RosterFiles files{platform.store, work.path()};
    RecordingHost host;

    AppContext context() { return {state, files, platform}; }
};

// Runs the deletions a closed window asked for; true when the window is gone.
template <typename Window> bool deletedAfterClose(const QPointer<Window>& window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
}

} // namespace zel::test

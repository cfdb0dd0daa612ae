#pragma once

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

} // namespace zel::test

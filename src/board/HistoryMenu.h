#pragma once

#include <functional>

class QAction;
class QMainWindow;

namespace zel {

class History;
struct RosterState;

// The undo, redo and rotation items, added at the end of 「おしながき」 (the items already
// there keep their places, names and shortcuts).
class HistoryMenu {
  public:
    struct Actions {
        std::function<void()> undo, redo, rotateNext, rotatePrevious;
    };
    void build(QMainWindow& window, const Actions& actions);
    // Names the step each item would take back or do again, and disables what has nothing to do.
    void update(const History& history, const RosterState& state);

    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* rotateNext = nullptr;
    QAction* rotatePrevious = nullptr;
};

} // namespace zel

#pragma once

#include "board/KeyboardRoute.h"

#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>

class QKeyEvent;

namespace zel {

// The key of the keyboard route a key press stands for: plain keys only, so the menu's Ctrl
// shortcuts and typed text never count.
std::optional<RouteKey> routeKeyOf(const QKeyEvent& event);

// The keyboard focus frame drawn around a tag or a marker: two pixels wide, over everything
// else on the board, blind to the pointer.
class FocusFrame : public QWidget {
  public:
    explicit FocusFrame(QWidget* board);
    // Around `target` (pixels of the board); hidden for an empty rectangle.
    void surround(const QRect& target);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Hands the board's key presses to the window as route keys, before Qt moves the focus with
// Tab or a button takes Enter.
class BoardKeyFilter : public QObject {
  public:
    BoardKeyFilter(QWidget* board, std::function<void(RouteKey)> onKey);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(RouteKey)> m_onKey;
};

} // namespace zel

#pragma once

#include "ui/AppContext.h"
#include "ui/Caption.h"
#include "units/TwipScale.h"

#include <QColor>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;

namespace zel {

// Runs an action for Return or Enter pressed in a widget and consumes the key, so it never
// reaches a default button or inserts anything. Held-down repeats do nothing.
class ReturnKeyFilter : public QObject {
  public:
    ReturnKeyFilter(QWidget* target, std::function<void()> action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> m_action;
};

// A small vertical scroll bar whose up arrow raises the value (so do the Up key and the
// wheel, and the thumb stands at the top for the largest value). A thumb drag reports only
// where it ends.
class OptionBar : public QScrollBar {
    Q_OBJECT
  public:
    OptionBar(int minimum, int maximum, int step, QWidget* parent);
    int optionValue() const { return -value(); }
    int optionMinimum() const { return -maximum(); }
    int optionMaximum() const { return -minimum(); }
    // Moves the bar without reporting a change; values outside the bar go to its nearer end.
    void setOptionValueSilently(int value);

  signals:
    void optionValueChanged(int value);
};

// The frame shared by the settings windows: a fixed client area in twips at the board's
// saved position, the window background, and the three ways out (back to the board, back
// with a reload, or the close control, which ends the program).
class SettingsWindow : public QWidget {
    Q_OBJECT
  public:
    SettingsWindow(const AppContext& context, BoardHost& host, const QString& name,
                   double clientWidthTwips, double clientHeightTwips);

  protected:
    // Positions a child at a rectangle in twips of the client area and names it: `name` is its
    // object name, `spoken` what assistive technology says (empty: its own text).
    void place(QWidget* widget, const QString& name, double left, double top, double width,
               double height, const QString& spoken = {});
    QLabel* addLabel(const QString& name, const QString& text, const QFont& font,
                     const QColor& textColour, std::optional<QColor> background, double left,
                     double top, double width, double height);

    // Closes the window, then shows the board (loaded again after a save when `reload`).
    void leaveToBoard(bool reload);

    void closeEvent(QCloseEvent* event) override;
    // Escape does what 戻る does: back to the board, nothing written.
    void keyPressEvent(QKeyEvent* event) override;

    AppContext m_context;
    BoardHost& m_host;
    TwipScale m_scale;

  private:
    bool m_leaving = false;
};

} // namespace zel

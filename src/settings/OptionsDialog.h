#pragma once

#include "settings/OptionRules.h"
#include "settings/SettingsWindow.h"

#include <array>

class QLineEdit;
class QPushButton;

namespace zel {

// Edits the five display options: one row per option with its caption, a box that holds
// the value and a bar that steps it. "書込み" writes "zelpara.dat" and has the board laid
// out again; "戻る" goes back without writing.
class OptionsDialog : public SettingsWindow {
    Q_OBJECT
  public:
    OptionsDialog(const AppContext& context, BoardHost& host);

    QLineEdit* box(int row) const { return m_boxes[row]; }
    OptionBar* bar(int row) const { return m_bars[row]; }
    QPushButton* writeButton() const { return m_write; }
    QPushButton* backButton() const { return m_back; }

    // "書込み": read the boxes, refuse a value the board cannot use, save, reload.
    void writeOptions();

  private:
    std::array<QLineEdit*, kOptionCount> m_boxes{};
    std::array<OptionBar*, kOptionCount> m_bars{};
    QPushButton* m_write;
    QPushButton* m_back;
};

} // namespace zel

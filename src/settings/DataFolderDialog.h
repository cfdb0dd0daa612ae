#pragma once

#include "settings/SettingsWindow.h"

class QLineEdit;
class QPushButton;

namespace zel {

// Names the folder that holds the person, job and duty list files. Enter in the path box
// stores the path in "zelpath.dat" and shows the board loaded from there; "戻る" goes back
// to the board without writing.
class DataFolderDialog : public SettingsWindow {
    Q_OBJECT
  public:
    DataFolderDialog(const AppContext& context, BoardHost& host);

    QLineEdit* pathBox() const { return m_path; }
    QPushButton* backButton() const { return m_back; }

    // Enter in the path box.
    void confirmPath();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QLineEdit* m_path;
    QPushButton* m_back;
};

} // namespace zel

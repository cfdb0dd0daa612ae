#pragma once

#include <QWidget>

namespace zel {

class HelpBrowser;

// The program's own non-modal help window: the help file is HTML shown in a text browser.
class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Looks for the file by name in the current directory, then where the program is
    // installed; a file that is missing or cannot be shown (not a regular file, too large, no
    // text) is said inside the viewer.
    void openFile(const QString& fileName);
    QString shownText() const;

    static QString locate(const QString& fileName);

  protected:
    // Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    HelpBrowser* m_browser;
};

} // namespace zel

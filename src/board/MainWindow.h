#pragma once

#include "board/AppContext.h"
#include "board/BoardLayout.h"
#include "board/DialogLauncher.h"
#include "board/TwipScale.h"

#include <QMainWindow>
#include <QTimer>

namespace zel {

class BoardView;
struct SaveResult;

// The start window and the program's only long-lived one. Every load reads all data files
// and rebuilds the board; a reload is the one path by which a change becomes visible.
class MainWindow : public QMainWindow, public BoardHost {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Load: read every file, rebuild the board, place the window at the saved position, show.
    void load();
    // Unload: record the position, close both pickers, hide. Nothing is written.
    void unload();
    // Unload, then load.
    void reload();
    bool isLoaded() const { return m_loaded; }

    void showBoard() override;
    void reloadBoard() override;
    void quitProgram() override;

    BoardView* board() const { return m_board; }
    const BoardLayout& layout() const { return m_layout; }
    TwipScale scale() const;
    QTimer& timer1() { return m_timer1; }
    QTimer& timer2() { return m_timer2; }
    QTimer& timer3() { return m_timer3; }

    // Menu and button commands.
    void openDialog(DialogKind kind);
    void openHelp();
    void clearAllMarkers();
    // Shows one message about a save that failed.
    void reportSaveFailure(const SaveResult& result);

    static const QString kCaption;
    static const QString kBlinkCaption;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();
    void layoutBoard();
    void placeWindow();
    void recordPosition();
    void onTimer3();

    AppContext m_context;
    BoardView* m_board;
    BoardLayout m_layout;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer3;
    bool m_loaded = false;
    bool m_quitting = false;
};

} // namespace zel

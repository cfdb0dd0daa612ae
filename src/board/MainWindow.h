#pragma once

#include "board/Carry.h"
#include "board/HistoryMenu.h"
#include "board/KeyboardRoute.h"
#include "board/MarkerPictures.h"
#include "board/PickerPair.h"
#include "board/WindowCorner.h"
#include "history/History.h"
#include "layout/BoardLayout.h"
#include "platform/FolderWatch.h"
#include "roster/Rotation.h"
#include "ui/AppContext.h"
#include "units/TwipScale.h"

#include "pickers/PickerConfig.h"
#include "pickers/PickerPainter.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <optional>

namespace zel {

class BoardNotice;
class FolderNotice;
class BoardView;
class DutyPicker;
class FocusFrame;
struct SaveResult;

// The start window and the program's only long-lived one. Every load reads all data files
// and rebuilds the board; a reload is the one path by which a change becomes visible.
class MainWindow : public QMainWindow, public BoardHost {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext context, DialogFactory dialogs = {}, QWidget* parent = nullptr);
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
    BoardNotice* notice() const { return m_notice; }
    const BoardLayout& layout() const { return m_layout; }
    TwipScale scale() const;
    QTimer& timer1() { return m_timer1; }
    QTimer& timer2() { return m_timer2; }
    QTimer& timer3() { return m_timer3; }
    const Carry& carry() const { return m_carry; }
    // Watches the six files and the data folder while the board is shown.
    FolderWatch& folderWatch() { return m_watch; }
    FolderNotice* folderNotice() const { return m_folderNotice; }
    // Nothing carried, no picker, message box or dialog open: a change on disk may reload.
    bool isIdle() const;

    // The picker buttons: open one picker, closing the other, or close it again.
    void toggleGreenPicker();
    void toggleYellowPicker();
    DutyPicker* picker(DutyColour colour) const;
    bool isPickerShown(DutyColour colour) const;
    // A press on entry k of a picker: the duty is carried from here on.
    void pickDuty(const PickerConfig& config, int k);
    // Board presses, in board twips.
    void pickUpMarker(int m, QPointF boardPosition);
    void dropCarried(QPointF boardPosition);
    void freezeCarried();
    // Timer ticks.
    void trackPointer();
    void refreshMarkers();
    // Observes each step a pick takes after the copy (for tests of the order).
    std::function<void(PickStep)> pickStepObserver;

    // The keyboard route (BoardKeys.cpp): a key as the board received it.
    void pressRouteKey(RouteKey key);
    const KeyboardRoute& keyboardRoute() const { return m_route; }
    // Escape: ends any carry and closes the pickers, writing nothing.
    void cancelCarry();

    // Menu and button commands.
    void openDialog(DialogKind kind);
    void openHelp();
    void clearAllMarkers();
    // Undo, redo and rotation; each ends with the board showing what the files hold.
    void undoStep();
    void redoStep();
    void rotateDuties(RotateDirection direction);
    History& history() { return m_history; }
    const HistoryMenu& historyMenu() const { return m_historyMenu; }
    // Shows one message about a save that failed.
    void reportSaveFailure(const SaveResult& result);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void layoutBoard();
    void placeWindow();
    void recordPosition();
    void onTimer3();
    void togglePicker(DutyColour colour);
    void endEveryCarry();
    void runPickStep(const PickerConfig& config, int k, PickStep step);
    void syncTimers();
    void resumeMarkerRefresh();
    void resumeTracking();
    bool hearsPointer() const;
    void returnMovedMarker();
    void reloadFromScratch();
    void saveMarkerEdit(const MarkerEdit& edit);
    void finishDrop(const DropDecision& decision);
    void setUpKeyboard();
    RouteBoard routeBoard() const;
    void runRouteCommand(const RouteCommand& command);
    void showRouteFocus();
    void watchFiles();
    void onFilesMoved();
    void showFolderNotice();
    QPointF pointerOnBoard() const;
    QRect boardRect(QPointF topLeft, QSizeF size) const;

    AppContext m_context;
    DialogFactory m_dialogs;
    BoardView* m_board;
    BoardNotice* m_notice;
    BoardLayout m_layout;
    Carry m_carry;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer3;
    QElapsedTimer m_markerRefresh;                 // when Timer1 last asked markers to repaint
    QRect m_refreshedCarriedRect;                  // where the carried marker stood then
    static constexpr qint64 kMarkerRefreshMs = 16; // one frame at 60 Hz
    MarkerPictures m_pictures;
    PickerPair m_pickers{*this, [this](const PickerConfig& config, int k) { pickDuty(config, k); }};
    WindowCorner m_corner;
    History m_history{m_context.files};
    HistoryMenu m_historyMenu;
    KeyboardRoute m_route;
    FocusFrame* m_focusFrame = nullptr;
    FolderWatch m_watch;
    bool m_watchPending = false; // a change came while the board was busy
    FolderNotice* m_folderNotice;
    bool m_pointerInside = false;         // as the window last heard: the pointer is over it
    std::optional<QPoint> m_heardPointer; // where the window last heard the pointer, on screen
    bool m_loaded = false;
    bool m_quitting = false;
};

} // namespace zel

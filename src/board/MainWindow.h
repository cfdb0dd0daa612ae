#pragma once

#include "board/AppContext.h"
#include "board/BoardLayout.h"
#include "board/DialogLauncher.h"
#include "board/TwipScale.h"

#include "pickers/PickerConfig.h"
#include "pickers/PickerPainter.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

namespace zel {

class BoardNotice;
class BoardView;
class DutyPicker;
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
    BoardNotice* notice() const { return m_notice; }
    const BoardLayout& layout() const { return m_layout; }
    TwipScale scale() const;
    QTimer& timer1() { return m_timer1; }
    QTimer& timer2() { return m_timer2; }
    QTimer& timer3() { return m_timer3; }

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
    void togglePicker(DutyColour colour);
    void closePicker(DutyColour colour);
    void drawMarkerPictures();
    void endEveryCarry();
    void runPickStep(const PickerConfig& config, PickStep step);
    void saveMarkerRecords();
    QPointF pointerOnBoard() const;
    QRect boardRect(QPointF topLeft, QSizeF size) const;

    AppContext m_context;
    BoardView* m_board;
    BoardNotice* m_notice;
    BoardLayout m_layout;
    QTimer m_timer1;
    QTimer m_timer2;
    QTimer m_timer3;
    QElapsedTimer m_markerRefresh;                 // when Timer1 last asked markers to repaint
    QRect m_refreshedCarriedRect;                  // where the carried marker stood then
    static constexpr qint64 kMarkerRefreshMs = 16; // one frame at 60 Hz
    EntryPictureCache m_greenPictures{PickerConfig::green()};
    EntryPictureCache m_yellowPictures{PickerConfig::yellow()};
    QPointer<DutyPicker> m_greenPicker;
    QPointer<DutyPicker> m_yellowPicker;
    std::optional<QPoint> m_frameMargins; // inside minus outside corner, as last seen shown
    bool m_loaded = false;
    bool m_quitting = false;
};

} // namespace zel

// Undo, redo and rotation on the real program with the real pointer and keyboard: each key
// gives back the job file's earlier bytes and the board shows them. Which board actions undo
// and redo, and how, is tested offscreen (tst_history, tst_historymenu). Places: pixels from the
// board's top-left (see E2eSupport.h for the start board).
#include "e2e/E2eSupport.h"

using namespace zel::e2e;

class UndoTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { PREPARE_E2E(); }
    void init() {
        STEP(s.start(startRoster()) && s.placeWindow({160, 120}) &&
             s.boardShows(kStartBoard, "start"));
    }
    void cleanup() { s.stop(); }
    void clearAllUndo();
    void rotateThereAndBack();

  private:
    void key(const char* keys) {
        xdo({"windowactivate", "--sync", s.window});
        xdo({"key", "--clearmodifiers", keys});
    }
    Session s;
};

// The eraser at the bottom right, OK on its question (the default button), then ctrl+z.
void UndoTest::clearAllUndo() {
    const int boardWidth = windowInfo(s.window).client.right() - s.origin.x() + 1;
    clickAt(s.origin + QPoint(boardWidth - 20, 113));
    QString question;
    QVERIFY2(eventually([&] { return !(question = s.otherWindow()).isEmpty(); }, 10000),
             "the eraser asked nothing");
    xdo({"windowactivate", "--sync", question});
    xdo({"key", "Return"});
    STEP(s.filesAre({{"zeljob.dat", " 0\r\n"}}, "clear all"));
    Spots none;
    for (Spot spot : kStartBoard)
        if (spot.colour != kTagColour)
            none << Spot{spot.x, spot.y, spot.colour, false};
    STEP(s.boardShows(none, "after clear all"));

    key("ctrl+z");
    STEP(s.filesAre({{"zeljob.dat", kStartJob}}, "ctrl+z"));
    STEP(s.boardShows(kStartBoard, "every marker back"));
}

// 佐藤's markers go to 鈴木, 渡辺's to 山本; undone, redone, and rotated back.
void UndoTest::rotateThereAndBack() {
    const QByteArray rotated = " 3\r\n 100  1  0\r\n 1  1  1200\r\n 102  6  0\r\n";
    const Spots moved{{134, 45, kGreenFill}, {134, 21, kGreenFill, false}};
    key("ctrl+r");
    STEP(s.filesAre({{"zeljob.dat", rotated}}, "ctrl+r"));
    STEP(s.boardShows(moved, "after ctrl+r"));
    key("ctrl+z");
    STEP(s.filesAre({{"zeljob.dat", kStartJob}}, "ctrl+z"));
    STEP(s.boardShows(kStartBoard, "after ctrl+z"));
    key("ctrl+shift+z");
    STEP(s.filesAre({{"zeljob.dat", rotated}}, "ctrl+shift+z"));
    STEP(s.boardShows(moved, "after ctrl+shift+z"));
    key("ctrl+shift+r");
    STEP(s.filesAre({{"zeljob.dat", kStartJob}}, "ctrl+shift+r"));
    STEP(s.boardShows(kStartBoard, "after ctrl+shift+r"));
}

QTEST_GUILESS_MAIN(UndoTest)
#include "tst_undo.moc"

// Undo, redo and rotation on the real program with the real pointer and keyboard: each key
// gives back the job file's earlier bytes and the board shows them. Places: pixels from the
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
    void assignUndoRedo();
    void clearAllUndo();
    void rotateThereAndBack();

  private:
    void key(const char* keys) {
        xdo({"windowactivate", "--sync", s.window});
        xdo({"key", "--clearmodifiers", keys});
    }
    Session s;
};

// Green 掃除当番 from the picker to 高橋 (row 2), then back and forth with the keys.
void UndoTest::assignUndoRedo() {
    const QByteArray assigned = " 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 100  2  0\r\n";
    const Spot takahashi{134, 69, kGreenFill};
    clickAt(s.origin + QPoint(50, 113));
    QString picker;
    QVERIFY(eventually([&] { return s.windows().size() == 2; }, 10000));
    for (const QString& w : s.windows())
        if (w != s.window)
            picker = w;
    clickAt(windowInfo(picker).client.topLeft() + QPoint(47, 22));
    QVERIFY(eventually([&] { return s.windows() == QStringList{s.window}; }, 10000));
    moveTo(s.origin + QPoint(144, 63));
    QTest::qWait(300);
    xdo({"click", "1"});
    STEP(s.filesAre({{"zeljob.dat", assigned}}, "drop"));
    STEP(s.boardShows({takahashi}, "after the drop"));

    key("ctrl+z");
    STEP(s.filesAre({{"zeljob.dat", kStartJob}}, "ctrl+z"));
    Spot gone = takahashi;
    gone.shown = false;
    STEP(s.boardShows(Spots{gone} + kStartBoard, "after ctrl+z"));

    key("ctrl+shift+z");
    STEP(s.filesAre({{"zeljob.dat", assigned}}, "ctrl+shift+z"));
    STEP(s.boardShows({takahashi}, "after ctrl+shift+z"));
}

// The eraser at the bottom right, OK on its question (the default button), then ctrl+z.
void UndoTest::clearAllUndo() {
    const int boardWidth = windowInfo(s.window).client.right() - s.origin.x() + 1;
    clickAt(s.origin + QPoint(boardWidth - 20, 113));
    QString question;
    QVERIFY2(eventually(
                 [&] {
                     const QStringList all = s.windows();
                     question = all.size() == 2 ? all[all[0] == s.window ? 1 : 0] : QString();
                     return !question.isEmpty();
                 },
                 10000),
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

// 佐藤's markers go to 鈴木, 渡辺's to 山本, and back.
void UndoTest::rotateThereAndBack() {
    key("ctrl+r");
    STEP(s.filesAre({{"zeljob.dat", " 3\r\n 100  1  0\r\n 1  1  1200\r\n 102  6  0\r\n"}},
                    "ctrl+r"));
    STEP(s.boardShows({{134, 45, kGreenFill}, {134, 21, kGreenFill, false}}, "after ctrl+r"));
    key("ctrl+shift+r");
    STEP(s.filesAre({{"zeljob.dat", kStartJob}}, "ctrl+shift+r"));
    STEP(s.boardShows(kStartBoard, "after ctrl+shift+r"));
}

QTEST_GUILESS_MAIN(UndoTest)
#include "tst_undo.moc"

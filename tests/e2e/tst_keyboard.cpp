// The board by keys alone on a real X server: xdotool types, no pointer event. Escape ending a
// carry of each kind, the keyboard's and the pointer's. (Assigning, moving and removing markers by
// key, and the bytes they write, are tst_boardkeys'.) Then two places that depend on the screen: a
// picker for a board standing low on the screen opens above it, and with the smallest tags the
// carried marker reaches the trash can. Screenshots go to $ZELTOMIL_SHOT_DIR when it is set.
#include "e2e/E2eSupport.h"

using namespace zel::e2e;

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { PREPARE_E2E(); }
    void cleanup() { s.stop(); }
    void escapeEndsEveryCarry();
    void pickerAboveALowBoard();
    void trashReachableWithSmallTags();

  private:
    void keys(const QString& words) {
        for (const QString& k : words.split(' ', Qt::SkipEmptyParts)) {
            xdo({"key", "--clearmodifiers", k});
            QTest::qWait(120);
        }
    }
    bool startActive(const Files& files, QPoint at) {
        if (!s.start(files) || !s.placeWindow(at))
            return false;
        xdo({"windowactivate", "--sync", s.window});
        return eventually([&] { return s.findBoard(); }, 5000) || s.fail("no board after the move");
    }
    void shot(const QString& name) {
        const QString dir = qEnvironmentVariable("ZELTOMIL_SHOT_DIR");
        if (!dir.isEmpty())
            grab().save(dir + "/" + name + ".png");
    }
    Session s;
};

void KeyboardTest::escapeEndsEveryCarry() {
    STEP(startActive(startRoster(), {160, 120}) && s.boardShows(kStartBoard, "start"));
    // A keyboard move, a placement picked with the pointer, a marker picked up with it.
    keys("Home Tab Return Down Escape");
    STEP(s.boardShows(kStartBoard, "after a keyboard carry"));
    STEP(s.pick(true, QPoint(47, 22)));
    keys("Escape");
    clickAt(s.origin + QPoint(361, 41)); // 渡辺's marker, carried away from its place
    moveTo(s.origin + QPoint(234, 80));
    STEP(s.boardShows({{361, 45, kGreenFill, false}}, "picked up"));
    keys("Escape");
    STEP(s.boardShows(kStartBoard, "after the pointer's carries"));
    STEP(s.filesAre({}, "nothing written"));
}

void KeyboardTest::pickerAboveALowBoard() {
    // The board's bottom edge 40 pixels above the screen's: no room for the picker under it.
    STEP(s.start(startRoster()));
    const WindowInfo board = windowInfo(s.window);
    const QRect screen(0, 0, 1920, 1200);
    STEP(s.placeWindow({300, screen.height() - board.outer().height() - 40}));
    xdo({"windowactivate", "--sync", s.window});
    keys("Home y");
    WindowInfo picker;
    QVERIFY2(
        eventually([&] { return !(picker = windowInfo(s.otherWindow())).client.isEmpty(); }, 10000),
        "no picker opened");
    shot("picker-above-low-board");
    const QRect outer = windowInfo(s.window).outer();
    QCOMPARE(picker.outer().bottom(), outer.top() - 1);
    QCOMPARE(picker.outer().left(), outer.left());
    QVERIFY(screen.contains(picker.outer()));
    QVERIFY(share(grab(), picker.client.adjusted(4, 4, -4, -4), kYellowFill) > 0.2);
    keys("Down Return"); // 書記 to 佐藤, from the picker above
    STEP(
        s.filesAre({{"zeljob.dat", kStartJob.left(1) + "4" + kStartJob.mid(2) + " 1  0  1800\r\n"}},
                   "assigned from above"));
}

void KeyboardTest::trashReachableWithSmallTags() {
    Files files = startRoster();
    files["zelpara.dat"] = " 4\r\n 3\r\n 1200\r\n 100\r\n 10\r\n"; // the smallest tags
    STEP(startActive(files, {160, 120}));
    // Markers 6 pixels high show little more than their entry frame's yellow outline.
    // 渡辺's green marker, the only marker in column 1, is picked up and carried far below.
    const QRect client = windowInfo(s.window).client;
    auto outline = [&](const QImage& shot, int left, int top) {
        QRect found;
        for (int y = top; y <= client.bottom(); ++y)
            for (int x = left; x <= client.right(); ++x)
                if (shot.pixel(x, y) == kYellowFill)
                    found |= QRect(x, y, 1, 1);
        return found;
    };
    QRect marker;
    QVERIFY2(eventually(
                 [&] {
                     marker = outline(grab(), s.origin.x() + 240, s.origin.y());
                     return !marker.isEmpty() && marker.bottom() < s.origin.y() + 30;
                 },
                 8000),
             qPrintable(QStringLiteral("no marker in column 1: (%1, %2) %3 x %4 from (%5, %6)")
                            .arg(marker.x())
                            .arg(marker.y())
                            .arg(marker.width())
                            .arg(marker.height())
                            .arg(s.origin.x())
                            .arg(s.origin.y())));
    clickAt(marker.center());
    moveTo(s.origin + QPoint(234, 900));
    // The board is 60 pixels high; the trash zone starts 47 pixels down (700 twips).
    QRect carried;
    const bool low = eventually(
        [&] {
            carried = outline(grab(), s.origin.x() + 90, s.origin.y() + 36);
            return !carried.isEmpty() && carried.top() >= s.origin.y() + 46;
        },
        8000);
    shot("trash-small-tags");
    QVERIFY2(low, "the carried marker does not reach the trash zone");
    // A press on the carried marker there removes it.
    clickAt(carried.center() + QPoint(0, 2));
    STEP(s.filesAre({{"zeljob.dat", " 2\r\n 100  0  0\r\n 1  0  1200\r\n"}},
                    "dropped in the trash"));
}

QTEST_GUILESS_MAIN(KeyboardTest)
#include "tst_keyboard.moc"

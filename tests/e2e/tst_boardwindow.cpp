// The board window driven by the real pointer and keyboard: carries duties and markers to
// persons and the trash zone, writes in each window opened by its menu shortcut, and checks the
// files and the board drawn after each step. What the widgets do with input is tested offscreen
// (tests/board, editors, settings). Places: pixels from the board's top-left or a window's inside.
#include "e2e/E2eSupport.h"
#include "support/TableRow.h"

using namespace zel::e2e;
using zel::test::row;

Q_DECLARE_METATYPE(zel::e2e::Spots)

class BoardWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { PREPARE_E2E(); }
    void init();
    void cleanup() { s.stop(); }
    void carryAndDrop_data();
    void carryAndDrop();
    void quitWhileCarrying();
    void iconsAndStartPlace();
    void editAndWrite_data();
    void editAndWrite();

  private:
    bool carryTo(QPoint target, bool green);
    bool aloneInPlace(QString& window, const QString& gone);
    void runStep(const QString& step);

    Session s;
    QPoint m_client; // the inside of the window aloneInPlace found
    const QPoint m_corner{160, 120};
};

void BoardWindowTest::init() {
    // A second roster in a folder beside the first, to switch to.
    Files files = startRoster();
    files["sub"] = kDirectory;
    files["sub/zelprsn.dat"] = listFile({"青木", "石井", "上田", "遠藤", "大野"});
    files["sub/zelto1.dat"] = listFile({"掃除", "日直"});
    files["sub/zelto2.dat"] = listFile({"司会"});
    files["sub/zeljob.dat"] = " 2\r\n 100  4  0\r\n 0  4  600\r\n";
    STEP(s.start(files) && s.placeWindow(m_corner) && s.boardShows(kStartBoard, "start"));
}

// Moves the pointer; the carried marker follows until its fill's bounding box, looked for
// around the pointer, is centred on it.
bool BoardWindowTest::carryTo(QPoint target, bool green) {
    target += s.origin;
    moveTo(target);
    const QRect around(target - QPoint(green ? 44 : 24, 14), QSize(green ? 88 : 48, 28));
    QPoint off;
    const bool centred = eventually(
        [&] {
            const QImage shot = grab();
            QRect fill;
            for (int y = around.top(); y <= around.bottom() && !shot.isNull(); ++y)
                for (int x = around.left(); x <= around.right(); ++x)
                    if (shot.pixel(x, y) == (green ? kGreenFill : kYellowFill))
                        fill |= QRect(x, y, 1, 1);
            off = fill.isEmpty() ? QPoint(99, 99) : fill.center() - target;
            return std::abs(off.x()) <= 3 && std::abs(off.y()) <= 3;
        },
        5000);
    return centred || s.fail(QStringLiteral("the carried marker is (%1, %2) pixels off the pointer")
                                 .arg(off.x())
                                 .arg(off.y()));
}

void BoardWindowTest::carryAndDrop_data() {
    QTest::addColumn<QString>("source"); // a colour, then "picker" or "marker"
    QTest::addColumn<QPoint>("press");   // the picker entry or the board marker
    QTest::addColumn<QPoint>("target");  // where the pointer carries it
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<Spots>("board"); // what the board shows after the drop

    row("green 掃除当番 to 高橋", "green picker", QPoint(47, 22), QPoint(144, 63),
        QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 100  2  0\r\n"),
        Spots{{134, 69, kGreenFill}, {134, 21, kGreenFill}});
    row("yellow 書記 to 山本, column 1", "yellow picker", QPoint(27, 46), QPoint(351, 63),
        QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 1  6  0\r\n"),
        Spots{{341, 69, kYellowFill}, {361, 45, kGreenFill}});
    // The moved marker keeps its record; 佐藤's row closes the gap and column 1 moves left.
    row("佐藤's yellow marker to 田中", "yellow marker", QPoint(194, 14), QPoint(124, 87),
        QByteArray(" 3\r\n 100  0  0\r\n 1  3  0\r\n 102  5  0\r\n"),
        Spots{{114, 93, kYellowFill}, {194, 21, kYellowFill, false}, {290, 45, kGreenFill}});
    row("渡辺's green marker into the trash", "green marker", QPoint(361, 41), QPoint(234, 106),
        QByteArray(" 2\r\n 100  0  0\r\n 1  0  1200\r\n"),
        Spots{{361, 45, kGreenFill, false}, {194, 21, kYellowFill}});
}

void BoardWindowTest::carryAndDrop() {
    QFETCH(QString, source);
    QFETCH(QPoint, press);
    QFETCH(QPoint, target);
    QFETCH(QByteArray, job);
    QFETCH(Spots, board);
    const bool green = source.startsWith("green");
    if (source.endsWith("marker"))
        clickAt(s.origin + press); // picks the marker up
    else
        STEP(s.pick(green, press));
    STEP(carryTo(target, green));
    QCOMPARE(s.folder->read("zeljob.dat"), kStartJob); // nothing is stored before the drop
    xdo({"click", "1"});
    STEP(s.filesAre({{"zeljob.dat", job}}, "drop"));
    STEP(s.boardShows(board, "after the drop"));
}

// 終了, the second item of the menu bar, ends the program normally, writing nothing and
// leaving no other file.
void BoardWindowTest::quitWhileCarrying() {
    STEP(s.pick(true, QPoint(47, 22)));
    STEP(carryTo(QPoint(144, 63), true));
    clickAt(s.origin + QPoint(96, -10));
    QVERIFY2(s.program->waitForFinished(10000), "the program did not end after 終了");
    QCOMPARE(s.program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.program->exitCode(), 0);
    STEP(s.filesAre({}, "quit"));
    QCOMPARE(QDir(s.folder->path()).entryList(QDir::Files, QDir::Name), startRoster().keys());
}

// Every window carries the program's icon. The board opens where it stood when the program
// last ended, and at the screen's corner when that place is on no screen.
void BoardWindowTest::iconsAndStartPlace() {
    // The icon comes just after the board's first paint.
    QVERIFY2(eventually([&] { return hasProgramIcon(s.window); }, 5000),
             "the board window carries no icon");
    clickAt(s.origin + QPoint(96, -10)); // 終了
    QVERIFY2(s.program->waitForFinished(10000), "the program did not end after 終了");
    STEP(s.start(startRoster(), true));
    QCOMPARE(windowInfo(s.window).outer().topLeft(), m_corner);

    xdo({"windowactivate", "--sync", s.window});
    xdo({"key", "--clearmodifiers", "ctrl+h"});
    QString help;
    QVERIFY2(eventually(
                 [&] {
                     help = s.otherWindow();
                     return !help.isEmpty() && xdo({"getwindowname", help}).trimmed() ==
                                                   QByteArray("ゼルトミル ヘルプ");
                 },
                 10000),
             "no help window");
    QVERIFY2(eventually([&] { return hasProgramIcon(help); }, 5000),
             "the help window carries no icon");

    s.stop(); // killed: nothing is kept
    QVERIFY(QDir(s.config->path()).mkpath("zeltomil"));
    s.config->write("zeltomil/zeltomil.conf", "[board]\ncorner=@Point(5000 5000)\n");
    STEP(s.start(startRoster(), true));
    QCOMPARE(windowInfo(s.window).outer().topLeft(), QPoint(0, 0));
}

// Waits until the program shows one window only, not `gone`, standing decorated where the
// board window stood at the start.
bool BoardWindowTest::aloneInPlace(QString& window, const QString& gone) {
    return eventually(
        [&] {
            const QStringList windows = s.windows();
            window = windows.value(0);
            const WindowInfo info = windowInfo(window);
            m_client = info.client.topLeft();
            return windows.size() == 1 && window != gone && info.frame.top() > 0 &&
                   info.outer().topLeft() == m_corner;
        },
        10000);
}

// "click x y what": a press at pixels of the window's inside; "key k"; "type text".
void BoardWindowTest::runStep(const QString& step) {
    const QStringList words = step.split(' ');
    if (words[0] == "click")
        clickAt(m_client + QPoint(words[1].toInt(), words[2].toInt()));
    else if (words[0] == "key")
        xdo({"key", "--clearmodifiers", words[1]});
    else
        xdo({"type", "--delay", "30", step.section(' ', 1)});
}

void BoardWindowTest::editAndWrite_data() {
    QTest::addColumn<QString>("steps"); // the first opens the window, the last writes or leaves
    QTest::addColumn<Files>("changes"); // files written; all others keep their time
    QTest::addColumn<Spots>("after");

    QStringList names = kPersons;
    names[0] = "Alice Smith";
    row("ctrl+n: rename the first person",
        "key ctrl+n; click 54 48 list; click 36 156 変更; key ctrl+a; type Alice Smith; "
        "key Return; click 192 116 書き込み",
        Files{{"zelprsn.dat", listFile(names)}}, kStartBoard);
    // Green markers are six characters wide now: 佐藤's yellow marker moves on.
    row("ctrl+g: a longer first green duty repacks markers",
        "key ctrl+g; click 38 40 list; click 20 148 変更; key ctrl+a; type ABCDEF; "
        "key Return; click 208 108 書き込み",
        Files{{"zelto1.dat", listFile(QStringList{"ABCDEF"} + kGreen.mid(1))},
              {"zeljob.dat", " 3\r\n 100  0  0\r\n 1  0  1800\r\n 102  5  0\r\n"}},
        Spots{{200, 21, kGreenFill}, {234, 21, kYellowFill}});
    // Nothing was selected: the new duty comes first. The markers are packed again for the
    // wider yellow ones, to the same places; 佐藤's yellow marker is wider.
    row("ctrl+y: add a yellow duty",
        "key ctrl+y; click 68 148 追加; type XYZ; key Return; click 208 108 書き込み",
        Files{{"zelto2.dat", listFile(QStringList{"XYZ"} + kYellow)}, {"zeljob.dat", kStartJob}},
        Spots{{227, 21, kYellowFill}});
    // The wider tags push every marker right.
    row("ctrl+o: two presses on the tag width's arrow",
        "key ctrl+o; click 300 107 arrow; click 300 107 arrow; click 204 228 書込み",
        Files{{"zelpara.dat", " 4\r\n 3\r\n 1400\r\n 300\r\n 10\r\n"}},
        Spots{{95, 21, kTagColour}});
    // Five persons, 大野's two short markers in column 1.
    row("ctrl+p: switch to the second roster",
        "key ctrl+p; click 140 48 folder; key ctrl+a; type sub; key Return",
        Files{{"zelpath.dat", "sub/\r\n"}},
        Spots{{200, 21, kTagColour},
              {250, 45, kTagColour, false},
              {301, 21, kGreenFill},
              {341, 21, kYellowFill}});
}

void BoardWindowTest::editAndWrite() {
    QFETCH(QString, steps);
    QFETCH(Files, changes);
    QFETCH(Spots, after);
    const QStringList list = steps.split("; ");
    // The menu shortcut on the board window: one window captioned ゼルトミル takes its place.
    xdo({"windowactivate", "--sync", s.window});
    runStep(list.first());
    QString dialog;
    QVERIFY2(aloneInPlace(dialog, s.window), "no window took the board window's place");
    QCOMPARE(xdo({"getwindowname", dialog}).trimmed(), QByteArray("ゼルトミル"));
    QVERIFY2(eventually([&] { return hasProgramIcon(dialog); }, 5000),
             "the window carries no icon");
    xdo({"windowactivate", "--sync", dialog});
    for (const QString& step : list.mid(1, list.size() - 2))
        runStep(step);
    STEP(s.filesAre({}, "before the last step"));
    runStep(list.last());

    // The board window comes back where it stood, redrawn.
    QVERIFY2(aloneInPlace(s.window, dialog), "the board window did not come back in place");
    STEP(s.boardShows(after, "the board after the window"));
    STEP(s.filesAre(changes, "written"));
}

QTEST_GUILESS_MAIN(BoardWindowTest)
#include "tst_boardwindow.moc"

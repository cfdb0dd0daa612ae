// Opens each editor and settings window of the real program by its menu shortcut, edits with
// the real pointer and keyboard (xdotool) and writes; then checks the data files' bytes, that
// nothing else was rewritten, and that the board comes back where it stood, redrawn. What each
// window does with its input is tested on the widgets (tests/editors, tests/settings).
#include "e2e/E2eSupport.h"

using namespace zel::e2e;

Q_DECLARE_METATYPE(zel::e2e::Layout)

namespace {

Layout board(int persons, double tagWidth, int greenChars, int yellowChars,
             const QByteArray& job = kStartJob) {
    Layout layout;
    layout.persons = persons;
    layout.tagWidth = tagWidth;
    layout.greenChars = greenChars;
    layout.yellowChars = yellowChars;
    layout.marks = Layout::marksOf(job);
    return layout;
}

const QByteArray kSecondJob = " 2\r\n 100  4  0\r\n 0  4  600\r\n";

} // namespace

class DialogsEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editAndWrite_data();
    void editAndWrite();

  private:
    bool aloneInPlace(QString& window, const QString& gone);
    void runStep(const QString& step);

    Session s;
    QString m_dialog;
    QPoint m_client; // the inside of the window found last
    QPoint m_startCorner;
    QPoint m_startOrigin;
};

void DialogsEndToEndTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");
    STEP(s.prepare());
}

void DialogsEndToEndTest::init() {
    // A second roster in a folder beside the first, to switch to.
    Files files = startRoster();
    files["sub"] = kDirectory;
    files["sub/zelprsn.dat"] = listFile({"青木", "石井", "上田", "遠藤", "大野"});
    files["sub/zelto1.dat"] = listFile({"掃除", "日直"});
    files["sub/zelto2.dat"] = listFile({"司会"});
    files["sub/zeljob.dat"] = kSecondJob;
    m_startCorner = QPoint(160, 120);
    STEP(s.start(files) && s.placeWindow(m_startCorner) && s.boardShows(Layout(), "start"));
    m_startOrigin = s.origin;
}

void DialogsEndToEndTest::cleanup() {
    Session::stop(s.program.get());
}

// Waits until the program shows one window only, not `gone`, standing decorated where the
// board window stood at the start.
bool DialogsEndToEndTest::aloneInPlace(QString& window, const QString& gone) {
    return eventually(
        [&] {
            const QStringList windows = s.windows();
            window = windows.value(0);
            const WindowInfo info = windowInfo(window);
            m_client = info.client.topLeft();
            return windows.size() == 1 && window != gone && info.frame.top() > 0 &&
                   info.outer().topLeft() == m_startCorner;
        },
        10000);
}

// "click x y what": a press at twips of the window's inside; "key k"; "type text".
void DialogsEndToEndTest::runStep(const QString& step) {
    const QString verb = step.section(' ', 0, 0);
    const QString argument = step.section(' ', 1);
    if (verb == "click")
        clickAt(m_client + QPoint(px(step.section(' ', 1, 1).toDouble()),
                                  px(step.section(' ', 2, 2).toDouble())));
    else if (verb == "key")
        pressKeys(argument);
    else if (verb == "type")
        runTool("xdotool", {"type", "--delay", "30", argument});
    else
        QFAIL(qPrintable("unknown step " + step));
}

void DialogsEndToEndTest::editAndWrite_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("steps"); // the last one writes or leaves
    QTest::addColumn<Files>("changes"); // files written; all others keep their time
    QTest::addColumn<Layout>("after");

    QStringList names = kPersons;
    names[0] = "Alice Smith";
    QTest::newRow("ctrl+n: rename the first person")
        << "ctrl+n"
        << "click 810 720 list; click 540 2340 変更; key ctrl+a; type Alice Smith; key Return; "
           "click 2880 1740 書き込み"
        << Files{{"zelprsn.dat", listFile(names)}} << Layout();
    // Green markers are six characters wide now: 佐藤's yellow marker moves on.
    const QByteArray repacked = " 3\r\n 100  0  0\r\n 1  0  1800\r\n 102  5  0\r\n";
    QTest::newRow("ctrl+g: a longer first green duty repacks markers")
        << "ctrl+g"
        << "click 570 600 list; click 300 2220 変更; key ctrl+a; type ABCDEF; key Return; "
           "click 3120 1620 書き込み"
        << Files{{"zelto1.dat", listFile(QStringList{"ABCDEF"} + kGreen.mid(1))},
                 {"zeljob.dat", repacked}}
        << board(7, 1200, 6, 2, repacked);
    // Nothing was selected: the new duty comes first. The markers are packed again for the
    // wider yellow ones, to the same places.
    QTest::newRow("ctrl+y: add a yellow duty")
        << "ctrl+y"
        << "click 1020 2220 追加; type XYZ; key Return; click 3120 1620 書き込み"
        << Files{{"zelto2.dat", listFile(QStringList{"XYZ"} + kYellow)}, {"zeljob.dat", kStartJob}}
        << board(7, 1200, 4, 3);
    QTest::newRow("ctrl+y: an addition left with 戻る")
        << "ctrl+y"
        << "click 1020 2220 追加; type QQ; key Return; click 3180 2220 戻る" << Files() << Layout();
    QTest::newRow("ctrl+o: two presses on the tag width's arrow")
        << "ctrl+o"
        << "click 4500 1605 arrow; click 4500 1605 arrow; click 3060 3420 書込み"
        << Files{{"zelpara.dat", " 4\r\n 3\r\n 1400\r\n 300\r\n 10\r\n"}} << board(7, 1400, 4, 2);
    QTest::newRow("ctrl+p: switch to the second roster")
        << "ctrl+p"
        << "click 2100 720 folder; key ctrl+a; type sub; key Return"
        << Files{{"zelpath.dat", "sub/\r\n"}} << board(5, 1200, 2, 2, kSecondJob);
}

void DialogsEndToEndTest::editAndWrite() {
    QFETCH(QString, keys);
    QFETCH(QString, steps);
    QFETCH(Files, changes);
    QFETCH(Layout, after);
    // The menu shortcut on the board window: one window captioned ゼルトミル takes its place.
    runTool("xdotool", {"windowactivate", "--sync", s.window});
    pressKeys(keys);
    QVERIFY2(aloneInPlace(m_dialog, s.window), "no window took the board window's place");
    QCOMPARE(windowName(m_dialog), QStringLiteral("ゼルトミル"));
    runTool("xdotool", {"windowactivate", "--sync", m_dialog});
    const QStringList list = steps.split("; ");
    for (const QString& step : list.mid(0, list.size() - 1))
        runStep(step);
    STEP(s.filesAre({}, "before the last step"));
    runStep(list.last());

    // The board window comes back where it stood, redrawn, the board at the same place on
    // screen and the window as wide as the board.
    QVERIFY2(aloneInPlace(s.window, m_dialog), "the board window did not come back in place");
    STEP(s.boardShows(after, "the board after the window"));
    QCOMPARE(s.origin, m_startOrigin);
    const QRect client = windowInfo(s.window).client;
    const auto shot = grab();
    QVERIFY(shot);
    QVERIFY2(share(*shot, QRect(client.right() - 2, s.origin.y() + 2, 2, 30), kBackground) > 0.5,
             "the window is wider than the board in it");
    STEP(s.filesAre(changes, "written"));
}

QTEST_GUILESS_MAIN(DialogsEndToEndTest)
#include "tst_dialogs.moc"

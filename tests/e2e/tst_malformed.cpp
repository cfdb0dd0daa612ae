// Starts the real program on data folders broken in the ways hand-edited, half-copied or
// foreign rosters are: each start must show a board whose caption blinks (the program runs and
// listens), the window closed by the window manager must end it with exit code 0, and every
// file must be left as it was. How each broken field is read is tested in tests/roster.
#include "e2e/E2eSupport.h"

using namespace zel::e2e;
using zel::test::cp932Lines;

namespace {

QByteArray lines(const QByteArrayList& list, const QByteArray& end = "\r\n") {
    return list.join(end) + end;
}

} // namespace

class TestMalformed : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void boardStartsAndRuns_data();
    void boardStartsAndRuns();
    void cleanup();

  private:
    Session s;
};

void TestMalformed::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");
    STEP(s.prepare());
}

void TestMalformed::boardStartsAndRuns_data() {
    QTest::addColumn<Files>("files");
    const Files sound = startRoster(); // each case breaks part of it

    Files none, empty;
    for (const QString& name : kDataFiles) {
        none[name] = kMissing;
        empty[name] = QByteArray("");
    }
    QTest::newRow("no files at all") << none;
    QTest::newRow("every file empty") << empty;

    QTest::newRow("cut off mid-line")
        << with(sound, {{"zelprsn.dat", QByteArray(" 3\r\n\x8e\x52\x93\x63\r\n\x8d")},
                        {"zeljob.dat", QByteArray(" 3\r\n 100  0  0\r\n 1  0")},
                        {"zelpara.dat", QByteArray(" 5\r\n 4\r\n 12")}});
    QTest::newRow("negative counts") << with(sound, {{"zelprsn.dat", lines({"-5", "a", "b"})},
                                                     {"zelto1.dat", lines({"-1", "x"})},
                                                     {"zelto2.dat", lines({"-32768"})},
                                                     {"zeljob.dat", lines({"-3", " 100 0 0"})}});
    QTest::newRow("huge counts, few lines")
        << with(sound, {{"zelprsn.dat", lines({" 32767", "a", "b"})},
                        {"zelto1.dat", lines({" 30000", "x"})},
                        {"zelto2.dat", lines({" 101"})},
                        {"zeljob.dat", lines({" 32767", " 100 0 0", " 1 1 0"})}});
    QTest::newRow("counts that are not numbers")
        << with(sound, {{"zelprsn.dat", lines({"three", "a", "b", "c"})},
                        {"zelto1.dat", cp932Lines({"２", "x", "y"})},
                        {"zelto2.dat", lines({"0x10", "p"})},
                        {"zeljob.dat", lines({" 1e", " 100 zero 0", "- - -"})},
                        {"zelpara.dat", lines({"ten", "five", "wide", "tall", "big"})}});
    QTest::newRow("fractional counts and fields")
        << with(sound, {{"zelprsn.dat", lines({" 2.5", "a", "b", "c"})},
                        {"zelto1.dat", lines({" 0.5", "x"})},
                        {"zelto2.dat", lines({" 1.5", "p", "q"})},
                        {"zeljob.dat", lines({" 1.5", " 100.5 0.5 10.5", " 1.49 1.51 0.5"})},
                        {"zelpara.dat", lines({" 2.5", " 3.5", " 999.5", " 300.5", " 8.5"})}});
    QTest::newRow("beyond 16 bits") << with(
        sound, {{"zelprsn.dat", lines({" 65538", "a", "b"})},
                {"zelto1.dat", lines({" 40000", "x"})},
                {"zeljob.dat", lines({" 2", " 40000 70000 99999", " 32768 -32769 0"})},
                {"zelpara.dat", lines({" 99999", " 65536", " 70000", " 32768", " 40000"})}});
    QTest::newRow("beyond 32 bits") << with(
        sound,
        {{"zelprsn.dat", lines({" 4294967297", "a"})},
         {"zeljob.dat", lines({" 3", " 100 0 4294967296", " 1 0 -2147483649", " 100 1 1e300"})},
         {"zelpara.dat", lines({" 1e300", " 1e20", " 1e308", " -1e300", " 1e9"})}});
    QTest::newRow("indices beyond every list") << with(
        sound, {{"zeljob.dat", lines({" 8", " 199  0  0", " 99  1  0", " 100  100  0", " 1  101  0",
                                      " 1  -1  0", " -5  2  0", " 32767  32767  2147483647",
                                      " -32768  -32768  -2147483648"})}});
    QTest::newRow("invalid Shift-JIS bytes") << with(
        sound, {{"zelprsn.dat", QByteArrayLiteral(" 4\r\n\x80\xa0\xfd\xfe\xff\r\n\x81\x20x\r\n"
                                                  "\x82\x0d\x0a\x1a\x00\x1a\r\n\x9f")},
                {"zelto1.dat", QByteArray(" 2\r\n\xff\xff\r\nok\x81")}});
    QTest::newRow("LF-only line ends")
        << with(sound, {{"zelprsn.dat", lines({" 2", "a", "b"}, "\n")},
                        {"zeljob.dat", lines({" 1", " 100 1 0"}, "\n")},
                        {"zelpara.dat", lines({" 4", " 3", " 1000", " 300", " 9"}, "\n")}});
    QTest::newRow("CR-only line ends")
        << with(sound, {{"zelprsn.dat", lines({" 2", "a", "b"}, "\r")},
                        {"zelto2.dat", lines({" 1", "p"}, "\r")},
                        {"zeljob.dat", lines({" 1", " 0 1 0"}, "\r")},
                        {"zelpara.dat", lines({" 4", " 3", " 1000", " 300", " 9"}, "\r")}});
    QTest::newRow("UTF-8 with a byte-order mark") << with(
        sound, {{"zelprsn.dat", "\xEF\xBB\xBF" + QStringLiteral(" 2\r\n山田\r\n🎌\r\n").toUtf8()},
                {"zelto1.dat", "\xEF\xBB\xBF" + QStringLiteral(" 1\r\n〜波\r\n").toUtf8()}});
    const QByteArray longName(300000, 'W');
    QTest::newRow("very long lines")
        << with(sound, {{"zelprsn.dat", " 2\r\n" + longName + "\r\nb\r\n"},
                        {"zelto1.dat", " 2\r\n" + longName + "\r\nx\r\n"},
                        {"zeljob.dat", lines({" 2", " 100 0 0", " 100 1 0"})}});
    QTest::newRow("folders where files should be") << with(
        sound,
        {{"zelprsn.dat", kDirectory}, {"zeljob.dat", kDirectory}, {"zelpara.dat", kDirectory}});
    QTest::newRow("folder file names a folder that is not there")
        << with(sound, {{"zelpath.dat", lines({"nowhere/at/all/"})}});
    QTest::newRow("folder path longer than any file name")
        << with(sound, {{"zelpath.dat", longName + "\r\n"}});
    QTest::newRow("folder file names a file")
        << with(sound, {{"zelpath.dat", lines({"zelto2.dat"})}});
    QTest::newRow("options at their limits")
        << with(sound, {{"zelpara.dat", lines({" 1", " 1", " 32767", " 32767", " 32767"})}});
    QTest::newRow("quotes and control characters") << with(
        sound, {{"zelprsn.dat", QByteArray(" 3\r\n\"open\r\n\"\"\r\n\ttab\x01\x1b\x7f\r\n")},
                {"zelto2.dat", lines({" 2", "\"a,b\"c", ",,,"})}});

    QByteArrayList persons{" 101"}, jobs{" 100"};
    for (int i = 0; i < 101; ++i)
        persons << "p" + QByteArray::number(i);
    for (int m = 0; m < 100; ++m)
        jobs << " " + QByteArray::number(m % 2 ? 1 : 101) + " " + QByteArray::number(m % 101) +
                    " 0";
    QTest::newRow("every slot full")
        << with(sound, {{"zelprsn.dat", lines(persons)}, {"zeljob.dat", lines(jobs)}});
}

void TestMalformed::boardStartsAndRuns() {
    QFETCH(Files, files);
    STEP(s.start(files));
    QVERIFY2(captionBlinks(s.window), "the caption does not blink");

    // Closing the window ends the program normally. Should the window manager miss the keys
    // on a busy display, the close is tried again.
    for (int attempt = 0; attempt < 3 && s.program->state() == QProcess::Running; ++attempt) {
        runTool("xdotool", {"windowactivate", "--sync", s.window});
        pressKeys("alt+F4");
        s.program->waitForFinished(10000);
    }
    QVERIFY2(s.program->state() == QProcess::NotRunning,
             "the program did not end when its window closed");
    QCOMPARE(s.program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.program->exitCode(), 0);
    // A broken file stays as the user left it.
    STEP(s.filesAre({}, "after the run"));
}

void TestMalformed::cleanup() {
    Session::stop(s.program.get());
}

QTEST_GUILESS_MAIN(TestMalformed)
#include "tst_malformed.moc"

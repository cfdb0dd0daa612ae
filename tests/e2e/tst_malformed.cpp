// The real program started on data folders broken as hand-edited, half-copied or foreign rosters
// are: it shows a board, its caption blinks (it runs and listens), closing the window ends it
// with exit code 0, and every file is left as it was, dates included. How each broken field is
// read is tested in tests/roster.
#include "e2e/E2eSupport.h"
#include "support/TableRow.h"

using namespace zel::e2e;
using zel::test::row;

namespace {

// Lines given between '|', each ended with CR LF or the given end.
QByteArray lines(const QByteArray& items, const QByteArray& end = "\r\n") {
    return items.split('|').join(end) + end;
}

// The caption alternates every second while the program runs and listens.
bool captionBlinks(const QString& window) {
    QStringList seen;
    return eventually(
        [&] {
            seen << QString::fromUtf8(xdo({"getwindowname", window})).trimmed();
            return seen.contains("ゼルトミル") && seen.contains("ぜるとみる");
        },
        6000);
}

} // namespace

class TestMalformed : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { PREPARE_E2E(); }
    void cleanup() { s.stop(); }
    void boardStartsAndRuns_data();
    void boardStartsAndRuns();

  private:
    Session s;
};

// The table's columns: what each file of the start roster is broken to, or null to keep it.
// Qt Test keeps the names' pointers.
const char* const kFiles[] = {"zelprsn.dat", "zelto1.dat",  "zelto2.dat",
                              "zeljob.dat",  "zelpara.dat", "zelpath.dat"};

void TestMalformed::boardStartsAndRuns_data() {
    for (const char* name : kFiles)
        QTest::addColumn<QByteArray>(name);
    const QByteArray same, none = kMissing, dir = kDirectory, empty("");
    const QByteArray longName(300000, 'W');
    QByteArray persons = " 101", jobs = " 100";
    for (int i = 0; i < 101; ++i)
        persons += "|p" + QByteArray::number(i);
    for (int m = 0; m < 100; ++m)
        jobs += QStringLiteral("| %1 %2 0").arg(m % 2 ? 1 : 101).arg(m % 101).toLatin1();

    row("no files at all", none, none, none, none, none, none);
    row("every file empty", empty, empty, empty, empty, empty, empty);
    row("cut off mid-line", QByteArray(" 3\r\n\x8e\x52\x93\x63\r\n\x8d"), same, same,
        QByteArray(" 3\r\n 100  0  0\r\n 1  0"), QByteArray(" 5\r\n 4\r\n 12"), same);
    row("negative counts", lines("-5|a|b"), lines("-1|x"), lines("-32768"), lines("-3| 100 0 0"),
        same, same);
    row("huge counts, few lines", lines(" 32767|a|b"), lines(" 30000|x"), lines(" 101"),
        lines(" 32767| 100 0 0| 1 1 0"), same, same);
    row("counts that are not numbers", lines("three|a|b|c"),
        zel::test::cp932Lines({"２", "x", "y"}), lines("0x10|p"), lines(" 1e| 100 zero 0|- - -"),
        lines("ten|five|wide|tall|big"), same);
    row("fractional counts and fields", lines(" 2.5|a|b|c"), lines(" 0.5|x"), lines(" 1.5|p|q"),
        lines(" 1.5| 100.5 0.5 10.5| 1.49 1.51 0.5"), lines(" 2.5| 3.5| 999.5| 300.5| 8.5"), same);
    row("beyond 16 bits", lines(" 65538|a|b"), lines(" 40000|x"), same,
        lines(" 2| 40000 70000 99999| 32768 -32769 0"), lines(" 99999| 65536| 70000| 32768| 40000"),
        same);
    row("beyond 32 bits", lines(" 4294967297|a"), same, same,
        lines(" 3| 100 0 4294967296| 1 0 -2147483649| 100 1 1e300"),
        lines(" 1e300| 1e20| 1e308| -1e300| 1e9"), same);
    row("indices beyond every list", same, same, same,
        lines(" 8| 199  0  0| 99  1  0| 100  100  0| 1  101  0| 1  -1  0| -5  2  0|"
              " 32767  32767  2147483647| -32768  -32768  -2147483648"),
        same, same);
    row("invalid Shift-JIS bytes",
        QByteArrayLiteral(
            " 4\r\n\x80\xa0\xfd\xfe\xff\r\n\x81\x20x\r\n\x82\x0d\x0a\x1a\x00\x1a\r\n\x9f"),
        QByteArray(" 2\r\n\xff\xff\r\nok\x81"), same, same, same, same);
    row("LF-only line ends", lines(" 2|a|b", "\n"), same, same, lines(" 1| 100 1 0", "\n"),
        lines(" 4| 3| 1000| 300| 9", "\n"), same);
    row("CR-only line ends", lines(" 2|a|b", "\r"), same, lines(" 1|p", "\r"),
        lines(" 1| 0 1 0", "\r"), lines(" 4| 3| 1000| 300| 9", "\r"), same);
    row("UTF-8 with a byte-order mark",
        "\xEF\xBB\xBF" + QStringLiteral(" 2\r\n山田\r\n🎌\r\n").toUtf8(),
        "\xEF\xBB\xBF" + QStringLiteral(" 1\r\n〜波\r\n").toUtf8(), same, same, same, same);
    row("very long lines", " 2\r\n" + longName + "\r\nb\r\n", " 2\r\n" + longName + "\r\nx\r\n",
        same, lines(" 2| 100 0 0| 100 1 0"), same, same);
    row("folders where files should be", dir, same, same, dir, dir, same);
    row("folder file names a folder that is not there", same, same, same, same, same,
        QByteArray("nowhere/at/all/\r\n"));
    row("folder path longer than any file name", same, same, same, same, same, longName + "\r\n");
    row("folder file names a file", same, same, same, same, same, QByteArray("zelto2.dat\r\n"));
    row("options at their limits", same, same, same, same, lines(" 1| 1| 32767| 32767| 32767"),
        same);
    row("quotes and control characters",
        QByteArray(" 3\r\n\"open\r\n\"\"\r\n\ttab\x01\x1b\x7f\r\n"), same, lines(" 2|\"a,b\"c|,,,"),
        same, same, same);
    row("every slot full", lines(persons), same, same, lines(jobs), same, same);
}

void TestMalformed::boardStartsAndRuns() {
    Files files = startRoster();
    for (const char* name : kFiles) {
        const auto* bytes = static_cast<QByteArray*>(QTest::qData(name, QMetaType::QByteArray));
        if (!bytes->isNull())
            files[name] = *bytes;
    }
    STEP(s.start(files)); // a board is shown
    QVERIFY2(captionBlinks(s.window), "the caption does not blink");
    // Closing the window ends the program normally. Should the window manager miss the keys
    // on a busy display, the close is tried again.
    for (int attempt = 0; attempt < 3 && s.program->state() == QProcess::Running; ++attempt) {
        xdo({"windowactivate", "--sync", s.window});
        xdo({"key", "--clearmodifiers", "alt+F4"});
        s.program->waitForFinished(10000);
    }
    QVERIFY2(s.program->state() == QProcess::NotRunning, "the program did not end at alt+F4");
    QCOMPARE(s.program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.program->exitCode(), 0);
    STEP(s.filesAre({}, "after the run")); // a broken file stays as the user left it
}

QTEST_GUILESS_MAIN(TestMalformed)
#include "tst_malformed.moc"

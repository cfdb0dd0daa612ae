// Starts the real program on data folders broken in the ways hand-edited, half-copied or
// foreign rosters are: each start must show a board that keeps running, and leave the files
// as they were. The programs run on an X server of this test's own (when Xvfb is installed),
// so their windows never cover those of other end-to-end tests running at the same time.
#include "support/DataFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <optional>

using zel::test::cp932Lines;
using zel::test::DataFolder;

namespace {

using Files = QMap<QString, QByteArray>;

// Stand-ins in a folder's table: no such file, or a folder under the file's name.
const QByteArray kMissing = "<missing>";
const QByteArray kDirectory = "<directory>";

const QStringList kDataFiles = {"zelpath.dat", "zelpara.dat", "zelprsn.dat",
                                "zelto1.dat",  "zelto2.dat",  "zeljob.dat"};

const QString kCaption = QStringLiteral("ゼルトミル");
const QString kBlinkCaption = QStringLiteral("ぜるとみる");

// A sound roster in the current folder; each case breaks part of it.
Files soundRoster() {
    return {{"zelpath.dat", kMissing},
            {"zelpara.dat", cp932Lines({" 5", " 4", " 1200", " 300", " 9"})},
            {"zelprsn.dat", cp932Lines({" 3", "山田", "佐藤", "鈴木"})},
            {"zelto1.dat", cp932Lines({" 2", "掃除", "ゴミ出し"})},
            {"zelto2.dat", cp932Lines({" 2", "花", "黒板"})},
            {"zeljob.dat", cp932Lines({" 3", " 100  0  0", " 1  0  1200", " 101  2  0"})}};
}

Files with(Files files, const Files& changes) {
    for (auto it = changes.begin(); it != changes.end(); ++it)
        files[it.key()] = it.value();
    return files;
}

QByteArray lines(const QByteArrayList& list, const QByteArray& end = "\r\n") {
    return list.join(end) + end;
}

} // namespace

class TestMalformed : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void boardStartsAndRuns_data();
    void boardStartsAndRuns();
    void cleanup();

  private:
    QProcessEnvironment xEnvironment() const;
    std::optional<QString> tool(const QStringList& args, int timeoutMs = 5000) const;
    bool windowManagerReady() const;

    QProcess m_xserver;
    QProcess m_windowManager; // on the test's own X server only
    QString m_display;
    QProcess m_program;
};

void TestMalformed::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (DISPLAY is not set)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    QVERIFY(QFileInfo(QStringLiteral(ZELTOMIL_BINARY)).isExecutable());

    m_display = qEnvironmentVariable("DISPLAY");
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return;
    // Xvfb picks a free display itself and writes its number once it accepts clients. Without
    // -noreset it resets when the last program ends, refusing the next one for a moment.
    m_xserver.start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1600x1200x24"), QStringLiteral("-dpi"),
                     QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                     QStringLiteral("-noreset")});
    QVERIFY2(m_xserver.waitForStarted(5000), qPrintable(m_xserver.errorString()));
    QElapsedTimer clock;
    clock.start();
    while (!m_xserver.canReadLine() && clock.elapsed() < 10000)
        m_xserver.waitForReadyRead(200);
    const QString number = QString::fromLatin1(m_xserver.readLine()).trimmed();
    QVERIFY2(!number.isEmpty(), "the test's own Xvfb did not start");
    m_display = QStringLiteral(":") + number;

    // A window manager closes a window as the user does (Alt+F4), so the program can end
    // normally and, in a sanitizer build, be checked for leaks as it ends.
    if (!QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty() &&
        !QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) {
        m_windowManager.setProcessEnvironment(xEnvironment());
        m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QVERIFY(m_windowManager.waitForStarted(5000));
        // A window mapped while the window manager starts up can stay unmanaged and hidden.
        clock.restart();
        while (!windowManagerReady() && clock.elapsed() < 10000)
            QTest::qWait(100);
        QVERIFY2(windowManagerReady(), "openbox did not take over the test's X server");
    }
}

void TestMalformed::cleanupTestCase() {
    for (QProcess* process : {&m_windowManager, &m_xserver}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000))
            process->kill();
        process->waitForFinished(1000);
    }
}

QProcessEnvironment TestMalformed::xEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    return env;
}

std::optional<QString> TestMalformed::tool(const QStringList& args, int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(xEnvironment());
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool TestMalformed::windowManagerReady() const {
    QProcess p;
    p.setProcessEnvironment(xEnvironment());
    p.start(QStringLiteral("xprop"),
            {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    p.waitForFinished(5000);
    return p.readAllStandardOutput().contains("window id");
}

void TestMalformed::boardStartsAndRuns_data() {
    QTest::addColumn<Files>("files");
    const Files sound = soundRoster();

    Files none;
    for (const QString& name : kDataFiles)
        none[name] = kMissing;
    QTest::newRow("no files at all") << none;
    Files empty;
    for (const QString& name : kDataFiles)
        empty[name] = QByteArray("");
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
    DataFolder dir;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.value() == kDirectory)
            QVERIFY(QDir(dir.path()).mkdir(it.key()));
        else if (it.value() != kMissing)
            dir.write(it.key(), it.value());
    }

    m_program.setWorkingDirectory(dir.path());
    m_program.setProcessEnvironment(xEnvironment());
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(QStringLiteral(ZELTOMIL_BINARY), {});
    QVERIFY2(m_program.waitForStarted(5000), qPrintable(m_program.errorString()));
    const QString pid = QString::number(m_program.processId());

    // The board: the program's visible window with the program's caption.
    std::optional<QString> window;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000 && m_program.state() == QProcess::Running) {
        window = tool({"search", "--onlyvisible", "--pid", pid, "--name", "ゼルトミル|ぜるとみる"});
        if (window && !window->isEmpty())
            break;
        QTest::qWait(100);
    }
    QVERIFY2(m_program.state() == QProcess::Running,
             qPrintable(
                 QStringLiteral("the program ended at start (exit %1)").arg(m_program.exitCode())));
    QVERIFY2(window && !window->isEmpty(), "no board window appeared");
    const QString id = window->section(u'\n', 0, 0);

    // Responsive: the caption changes every second, so both captions show within 2.5 s.
    QSet<QString> captions;
    clock.restart();
    while (captions.size() < 2 && clock.elapsed() < 2500) {
        if (const auto name = tool({"getwindowname", id}))
            captions << *name;
        QTest::qWait(100);
    }
    QCOMPARE(captions, (QSet<QString>{kCaption, kBlinkCaption}));
    QVERIFY2(m_program.state() == QProcess::Running, "the program ended while it ran");

    // Loading writes nothing: a broken file stays as the user left it.
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QFileInfo info(dir.file(it.key()));
        if (it.value() == kDirectory)
            QVERIFY2(info.isDir(), qPrintable(it.key()));
        else if (it.value() == kMissing)
            QVERIFY2(!info.exists(), qPrintable(it.key()));
        else
            QVERIFY2(dir.read(it.key()) == it.value(), qPrintable(it.key()));
    }

    // Closing the window ends the program normally. A window manager that has just started
    // may not listen to its keys yet, so the close is tried again a few times.
    if (m_windowManager.state() != QProcess::Running)
        return;
    for (int attempt = 0; attempt < 4 && m_program.state() == QProcess::Running; ++attempt) {
        tool({"windowactivate", "--sync", id});
        tool({"key", "alt+F4"});
        m_program.waitForFinished(3000);
    }
    QVERIFY2(m_program.state() == QProcess::NotRunning,
             "the program did not end when its window closed");
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
}

void TestMalformed::cleanup() {
    if (m_program.state() != QProcess::NotRunning) {
        m_program.terminate();
        if (!m_program.waitForFinished(5000))
            m_program.kill();
        m_program.waitForFinished(2000);
    }
}

QTEST_GUILESS_MAIN(TestMalformed)
#include "tst_malformed.moc"

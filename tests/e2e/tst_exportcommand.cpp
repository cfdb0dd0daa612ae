// The program run from the command line as a daily job would: help, a wrong option and exports
// of each format with no display at all, their exit codes and messages, the files they leave
// (what each option means, --version and --scale too, is tst_commandline's). With an X display, the
// exported PNG is compared with the board the running program shows on the screen, pixel for pixel.
#include "e2e/E2eSupport.h"
#include "support/TableRow.h"

using namespace zel::e2e;
using zel::test::row;

namespace {
struct Result {
    int exitCode = -1;
    QString out, err;
};

// Runs the program in `folder` with nothing that names a display or a platform.
Result runWithoutDisplay(const QString& folder, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(ZELTOMIL_BINARY), args);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(2000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList listing(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void write(const zel::test::DataFolder& folder, const Files& files) {
    for (const auto& [name, bytes] : files.asKeyValueRange())
        folder.write(name, bytes);
}
} // namespace

class TestExportCommand : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { s.stop(); }

    void withoutDisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written"); // the file that must be there afterwards
        QTest::addColumn<QString>("out");     // a part of standard output
        QTest::addColumn<QStringList>("err"); // parts of standard error

        row("help", QStringList{"--help"}, 0, "", "--export <ファイル>", QStringList{});
        row("unknown option", QStringList{"--bogus"}, 2, "", "", QStringList{"bogus", "--help"});
        row("pdf", QStringList{"--export", "board.pdf"}, 0, "board.pdf", "", QStringList{});
        row("png", QStringList{"--export", "board.png"}, 0, "board.png", "", QStringList{});
        row("csv, capital extension", QStringList{"--export", "BOARD.CSV"}, 0, "BOARD.CSV", "",
            QStringList{});
        row("unknown extension", QStringList{"--export", "board.txt"}, 1, "", "",
            QStringList{"board.txt", ".pdf, .png, .csv"});
        row("missing folder", QStringList{"--export", "none/board.pdf"}, 1, "", "",
            QStringList{"none/board.pdf", "ありません"});
        row("unwritable place", QStringList{"--export", "/proc/board.png"}, 1, "", "",
            QStringList{"/proc/board.png", "書き込めません"});
        row("a folder in the way", QStringList{"--export", "taken.pdf"}, 1, "", "",
            QStringList{"taken.pdf", "フォルダがあります"});
    }
    void withoutDisplay() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, written);
        QFETCH(QString, out);
        QFETCH(QStringList, err);
        zel::test::DataFolder folder;
        write(folder, startRoster());
        QDir(folder.path()).mkdir("taken.pdf");
        QStringList expected = listing(folder.path());
        const Result r = runWithoutDisplay(folder.path(), args);
        QVERIFY2(r.exitCode == exitCode, qPrintable(QString::number(r.exitCode) + ": " + r.err));
        QVERIFY2(r.out.contains(out), qPrintable(r.out));
        for (const QString& part : err)
            QVERIFY2(r.err.contains(part), qPrintable(r.err));
        // Only a failure speaks; nothing half-written stays behind.
        QCOMPARE(r.err.contains("zeltomil:"), exitCode != 0);
        if (!written.isEmpty()) {
            expected << written;
            expected.sort();
            QVERIFY(QFileInfo(folder.file(written)).size() > 0);
        }
        QCOMPARE(listing(folder.path()), expected);
    }

    // The board of the running program on the X screen and the PNG of the same folder; the PNG
    // at --scale 2 has twice its size.
    void pngIsTheBoardOnScreen() {
        PREPARE_E2E();
        STEP(s.start(startRoster()) && s.placeWindow({120, 100}) &&
             s.boardShows(kStartBoard, "start"));
        const Result r = runWithoutDisplay(s.folder->path(), {"--export", "board.png"});
        QCOMPARE(r.exitCode, 0);
        const QImage png =
            QImage(s.folder->file("board.png")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!png.isNull());
        QImage screen;
        int differing = 0;
        // The shot may catch the caption or a repaint midway: a few tries.
        eventually(
            [&] {
                const QImage shot = grab();
                if (!s.findBoard(shot))
                    return false;
                screen = shot.copy(QRect(s.origin, png.size()));
                differing = 0;
                for (int y = 0; y < png.height(); ++y)
                    for (int x = 0; x < png.width(); ++x)
                        differing += png.pixel(x, y) != screen.pixel(x, y);
                return differing == 0;
            },
            8000);
        if (differing != 0)
            screen.save(QDir::temp().filePath("zeltomil-board-on-screen.png"));
        QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));

        // At twice the size: every pixel of the board becomes a 2 x 2 block of device pixels.
        const Result twice =
            runWithoutDisplay(s.folder->path(), {"--export", "board2.png", "--scale", "2"});
        QCOMPARE(twice.exitCode, 0);
        const QImage png2 = QImage(s.folder->file("board2.png"));
        QCOMPARE(png2.size(), png.size() * 2);
    }

  private:
    Session s;
};

QTEST_GUILESS_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"

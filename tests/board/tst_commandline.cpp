// The command line: what each set of arguments asks for, the exit code it ends with, and the
// version number as the program shows it.

#include "app/CommandLine.h"
#include "board/AppVersion.h"

#include <QTest>

using namespace zel;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT
  private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("exportPath"); // or a part of the output
        QTest::addColumn<int>("pngScale");
        QTest::addColumn<bool>("fromMenu");

        auto row = [](const char* name, const QStringList& args, Action action, int code,
                      const QString& text, int scale = 1, bool menu = false) {
            QTest::newRow(name) << args << action << code << text << scale << menu;
        };
        row("nothing: the board", {}, Action::Run, 0, "");
        row("from the menu", {"--from-menu"}, Action::Run, 0, "", 1, true);
        row("Qt's own options", {"-platform", "xcb", "-style", "fusion", "-reverse"}, Action::Run,
            0, "");
        row("help", {"--help"}, Action::Help, 0, "--export <ファイル>");
        row("an unknown option beside help", {"-h", "--bogus"}, Action::Error, 2, "bogus");
        const QString version = "zeltomil " + zel::versionNumber() + "\n";
        row("version", {"--version"}, Action::Version, 0, version);
        row("unknown option", {"--print"}, Action::Error, 2, "--help");
        row("a stray argument", {"board.pdf"}, Action::Error, 2, "board.pdf");
        row("export without a file", {"--export"}, Action::Error, 2, "--export");
        row("export, relative", {"--export", "out/board.pdf"}, Action::Export, 0,
            "/start/out/board.pdf");
        row("export, absolute, with =", {"--export=/tmp/x.CSV"}, Action::Export, 0, "/tmp/x.CSV");
        row("export at 2x", {"--export", "b.png", "--scale", "2"}, Action::Export, 0,
            "/start/b.png", 2);
        row("export from the menu's folder", {"--from-menu", "--export", "../b.png"},
            Action::Export, 0, "/b.png", 1, true);
        row("scale 3", {"--export", "b.png", "--scale", "3"}, Action::Error, 2, "3");
        row("scale without export", {"--scale", "2"}, Action::Error, 2, "--export");
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(int, exitCode);
        QFETCH(QString, exportPath);
        QFETCH(int, pngScale);
        QFETCH(bool, fromMenu);
        const CommandLine c = parseCommandLine(QStringList{"zeltomil"} + arguments, "/start");
        QCOMPARE(c.action, action);
        QCOMPARE(c.exitCode(), exitCode);
        QCOMPARE(c.printsAndEnds(), action != Action::Run && action != Action::Export);
        if (action == Action::Export) {
            QCOMPARE(c.exportPath, exportPath);
            QCOMPARE(c.pngScale, pngScale);
        } else {
            QVERIFY2(c.output.contains(exportPath), qPrintable(c.output));
            QVERIFY(c.exportPath.isEmpty());
        }
        QCOMPARE(c.fromMenu, fromMenu);
        QCOMPARE(c.output.isEmpty() || c.output.endsWith(u'\n'), true);
    }

    void versionNumber_data() {
        QTest::addColumn<QList<int>>("version");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1.0.0") << QList<int>{1, 0, 0} << "1.00";
        QTest::newRow("1.2.3") << QList<int>{1, 2, 3} << "1.02.3";
        QTest::newRow("2.15.0") << QList<int>{2, 15, 0} << "2.15";
    }
    void versionNumber() {
        QFETCH(QList<int>, version);
        QFETCH(QString, shown);
        QCOMPARE(zel::versionNumber(version[0], version[1], version[2]), shown);
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"

// The real program where no display can be opened: no DISPLAY, one that is not there, Wayland
// without XWayland or without Qt's Wayland plugin. It says so in Japanese and English and ends
// with status 1, never with a core dump and Qt's advice to reinstall.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class NoDisplayTest : public QObject {
    Q_OBJECT

  private slots:
    void saysNoDisplay_data() {
        QTest::addColumn<QStringList>("environment"); // NAME=value, or NAME alone to remove it
        QTest::newRow("no DISPLAY") << QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        QTest::newRow("a display that is not there")
            << QStringList{"DISPLAY=:4242", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        QTest::newRow("Wayland without XWayland")
            << QStringList{"DISPLAY", "WAYLAND_DISPLAY=wayland-42", "QT_QPA_PLATFORM"};
        QTest::newRow("Wayland plugin chosen")
            << QStringList{"DISPLAY", "WAYLAND_DISPLAY=wayland-42", "QT_QPA_PLATFORM=wayland"};
    }
    void saysNoDisplay() {
        QFETCH(QStringList, environment);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : environment) {
            if (setting.contains(u'='))
                env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
            else
                env.remove(setting);
        }
        QTemporaryDir folder;
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(ZELTOMIL_BINARY), {});
        QVERIFY(program.waitForFinished(20000));
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no abort
        QCOMPARE(program.exitCode(), 1);
        QVERIFY2(errors.contains("ディスプレイ) を開けませんでした") &&
                     errors.contains("could not open a display") && !errors.contains("Reinstall"),
                 qPrintable(errors));
        QVERIFY(QDir(folder.path()).isEmpty()); // nothing written
    }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "tst_nodisplay.moc"

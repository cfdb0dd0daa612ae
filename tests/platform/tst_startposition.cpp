// Where the board window opens at start: the corner kept at the last exit, on a screen or not
// at all; and the settings file that keeps it, which the tests put in a folder of their own.
#include "platform/StartPosition.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QSettings>
#include <QTest>

using namespace zel;
using zel::test::row;

using Corner = std::optional<QPoint>;
Q_DECLARE_METATYPE(Corner)

class StartPositionTest : public QObject {
    Q_OBJECT
    test::DataFolder m_config;

  private slots:
    void initTestCase() {
        // Never the user's own settings, nor anything else in the home folder.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void usable_data() {
        QTest::addColumn<Corner>("kept");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<Corner>("used");
        // A 1920 x 1200 screen with a panel 32 pixels high at the top.
        const QList<QRect> one{QRect(0, 32, 1920, 1168)};
        // A second screen to the right, lower, with a gap under the first.
        const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(1920, 200, 1280, 1024)};
        row("nothing kept", Corner(), one, Corner());
        row("on the screen", Corner(QPoint(160, 120)), one, Corner(QPoint(160, 120)));
        row("grip just fits", Corner(QPoint(1872, 1176)), one, Corner(QPoint(1872, 1176)));
        row("grip one pixel out", Corner(QPoint(1873, 1176)), one, Corner());
        row("under the panel", Corner(QPoint(0, 0)), one, Corner());
        row("left of the screen", Corner(QPoint(-10, 300)), one, Corner());
        row("screen unplugged", Corner(QPoint(2400, 500)), one, Corner());
        row("second screen", Corner(QPoint(2400, 500)), two, Corner(QPoint(2400, 500)));
        row("gap under the first screen", Corner(QPoint(1000, 1100)), two, Corner());
        row("astride both screens", Corner(QPoint(1900, 300)), two, Corner());
        row("no screens", Corner(QPoint(10, 10)), QList<QRect>(), Corner());
    }
    void usable() {
        QFETCH(Corner, kept);
        QFETCH(QList<QRect>, screens);
        QTEST(usableStartCorner(kept, screens), "used");
    }

    // The corner goes into $XDG_CONFIG_HOME/zeltomil/zeltomil.conf and comes back; a file
    // edited by hand into something else is no corner.
    void keptInTheUsersConfigFolder() {
        const QString path = settingsFilePath();
        QCOMPARE(path, m_config.file("zeltomil/zeltomil.conf"));
        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(readKeptCorner(settings), Corner());
            keepCorner(settings, QPoint(-5, 1234));
        }
        QVERIFY(QFile::exists(path));
        QSettings again(path, QSettings::IniFormat);
        QCOMPARE(readKeptCorner(again), Corner(QPoint(-5, 1234)));
        again.setValue("board/corner", "160,120");
        QCOMPARE(readKeptCorner(again), Corner());
    }
};

QTEST_GUILESS_MAIN(StartPositionTest)
#include "tst_startposition.moc"

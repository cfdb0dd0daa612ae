#include "MainWindowFixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace zel;
using namespace zel::test;

// The erase button, the menu and the hand-over to the dialogs, and the timers.
class TestMainWindowCommands : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void clearAll_data();
    void clearAll();
    void menuBar();
    void dialogOpensWhereTheBoardWas_data();
    void dialogOpensWhereTheBoardWas();
    void captionBlinksAcrossReloads();
    void markerRefreshIsMerged();
};

namespace {
const QByteArray kJob(" 2\r\n 105  3  0\r\n 2  12  0\r\n");

// Counts the paint events of the widgets it watches.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

void TestMainWindowCommands::clearAll_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("failAfterBytes");
    QTest::addColumn<QByteArray>("job");
    QTest::addColumn<int>("markers");
    QTest::addColumn<int>("errors");

    QTest::newRow("OK") << true << -1 << QByteArray(" 0\r\n") << 0 << 0;
    QTest::newRow("Cancel") << false << -1 << kJob << 2 << 0;
    QTest::newRow("OK, the write fails") << true << 2 << kJob << 2 << 1;
}

void TestMainWindowCommands::clearAll() {
    QFETCH(bool, answer);
    QFETCH(int, failAfterBytes);
    QFETCH(QByteArray, job);
    QFETCH(int, markers);
    QFETCH(int, errors);

    BoardFixture f(kJob);
    f.open();
    f.platform.answers.push_back(answer);
    f.platform.store.failAfterBytes = failAfterBytes;
    f.writePersons(26);
    QTest::mouseClick(f.board()->eraseButton(), Qt::LeftButton);

    QCOMPARE(f.platform.confirmations,
             QStringList{
                 QStringLiteral("当番マークの消去|すべてのマークを消します\n　よろしいですか？")});
    QCOMPARE(f.job(), job);
    QCOMPARE(f.platform.errors.size(), errors);
    QCOMPARE(f.board()->shownMarkers(), markers);
    for (int m = 1; m <= markers; ++m)
        QVERIFY(f.board()->marker(m)->isVisible());
    // OK reloads whether or not the write went through; Cancel leaves the board alone.
    QCOMPARE(f.board()->shownTags(), answer ? 26 : 25);
}

void TestMainWindowCommands::menuBar() {
    BoardFixture f;
    MainWindow& window = f.open();
    QStringList bar;
    for (QAction* a : window.menuBar()->actions())
        bar << (a->menu() ? a->menu()->objectName() : a->objectName()) + u'|' + a->text();
    QCOMPARE(bar, (QStringList{"m00|おしながき", "m14|終了"}));

    auto* menu = window.findChild<QMenu*>(QStringLiteral("m00"));
    QVERIFY(menu);
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->menu() ? a->menu()->objectName() : a->objectName()) + u'|' + a->text() + u'|' +
                     a->shortcut().toString(QKeySequence::PortableText);
    QCOMPARE(items, (QStringList{
                        "m11|データのパス指定(F)|Ctrl+P",
                        "m21|名前編集(N)|Ctrl+N",
                        "m22|緑色当番編集(L)|Ctrl+G",
                        "m23|黄色当番編集(S)|Ctrl+Y",
                        "m3|オプション(&O)|Ctrl+O",
                        "m51|ヘルプ(&H)|Ctrl+H",
                        "m4|ﾊﾞｰｼﾞｮﾝ情報(&V)|",
                    }));
    auto* version = window.findChild<QMenu*>(QStringLiteral("m4"));
    QVERIFY(version);
    QCOMPARE(version->actions().size(), 1);
    QCOMPARE(version->actions()[0]->objectName(), QStringLiteral("m41"));
    QCOMPARE(version->actions()[0]->text(), QStringLiteral("   ゼルトミル      Ver.1.00"));

    // Help asks for the help file by name and leaves the board as it is.
    window.findChild<QAction*>(QStringLiteral("m51"))->trigger();
    QCOMPARE(f.platform.helpRequests, QStringList{"zelto.hlp"});
    QVERIFY(window.isLoaded());
}

void TestMainWindowCommands::dialogOpensWhereTheBoardWas_data() {
    QTest::addColumn<QString>("item");
    for (const char* item : {"m11", "m21", "m22", "m23", "m3"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

void TestMainWindowCommands::dialogOpensWhereTheBoardWas() {
    QFETCH(QString, item);
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    window.move(150, 90);
    f.pickUp(1);
    window.toggleGreenPicker();
    const QWidgetList before = QApplication::topLevelWidgets();

    window.findChild<QAction*>(item)->trigger();
    QVERIFY(!window.isLoaded());
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isPickerShown(DutyColour::Green));
    QCOMPARE(f.state.savedLeft, 150 * 15);
    QCOMPARE(f.state.savedTop, 90 * 15);
    QCOMPARE(f.state.markerMovePending, 0);
    QWidget* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!before.contains(w) && w->isVisible())
            dialog = w;
    QVERIFY(dialog);
    QCOMPARE(dialog->frameGeometry().topLeft(), QPoint(150, 90));

    // When the dialog hands back, the board comes back at the same place.
    delete dialog;
    window.showBoard();
    QVERIFY(window.isLoaded() && window.isVisible());
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(150, 90));
    QCOMPARE(f.board()->shownMarkers(), 2);
    QVERIFY(f.board()->marker(1)->isVisible());
}

void TestMainWindowCommands::captionBlinksAcrossReloads() {
    BoardFixture f;
    MainWindow& window = f.open();
    QVERIFY(window.timer3().isActive());
    QCOMPARE(window.timer3().interval(), 1000);
    auto tick = [&] { QMetaObject::invokeMethod(&window.timer3(), "timeout"); };

    QCOMPARE(window.windowTitle(), QStringLiteral("ゼルトミル"));
    tick();
    QCOMPARE(window.windowTitle(), QStringLiteral("ぜるとみる"));
    QCOMPARE(f.state.captionBlinkState, 1);
    window.reload();
    QCOMPARE(window.windowTitle(), QStringLiteral("ゼルトミル"));
    QCOMPARE(f.state.captionBlinkState, 1);
    tick(); // the first form stays for a second tick
    QCOMPARE(window.windowTitle(), QStringLiteral("ゼルトミル"));
    QCOMPARE(f.state.captionBlinkState, 0);
    tick();
    QCOMPARE(window.windowTitle(), QStringLiteral("ぜるとみる"));
}

// Timer1 runs every millisecond while a marker is carried; its repaint requests come out as one
// paint of the marker the carried one passed over, not one per tick.
void TestMainWindowCommands::markerRefreshIsMerged() {
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.timer1().interval(), 1);
    QCOMPARE(window.timer2().interval(), 50);
    f.pickUp(1);
    QVERIFY(window.timer1().isActive());
    window.timer1().stop();
    window.timer2().stop();
    f.carried()->move(f.board()->marker(2)->pos() + QPoint(40, 5));
    QTest::qWait(40);

    PaintCounter counter;
    f.board()->marker(2)->installEventFilter(&counter);
    for (int tick = 0; tick < 20; ++tick)
        window.refreshMarkers();
    QCOMPARE(counter.paints, 0);
    QTRY_VERIFY(counter.paints >= 1);
    QApplication::processEvents();
    QCOMPARE(counter.paints, 1);
}

QTEST_MAIN(TestMainWindowCommands)
#include "tst_mainwindow_commands.moc"

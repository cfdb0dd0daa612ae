#include "MainWindowFixture.h"

#include <QApplication>

using namespace zel;
using namespace zel::test;

// Carrying duties and markers across the board, and what each drop stores.
class TestMainWindowDrops : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void drop_data();
    void drop();
    void refusedDropCarriesOn_data();
    void refusedDropCarriesOn();
    void hundredFirstMarkerIsRefused();
    void backgroundPressFreezes();
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();
    void reloadEndsACarry();
    void trackingFollowsThePointer();
};

namespace {
// Green 5 and yellow 1 on person 3, yellow 2 on person 12; every marker is 4 characters.
const QByteArray kJob(" 3\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n");

enum class Start { Green, Yellow, Marker1, Marker3 };
constexpr int kTrash = -1;

void startCarry(BoardFixture& f, Start start, Qt::MouseButton button) {
    switch (start) {
    case Start::Green:
        return f.pick(DutyColour::Green, 4, button);
    case Start::Yellow:
        return f.pick(DutyColour::Yellow, 6, button);
    case Start::Marker1:
        return f.pickUp(1, button);
    case Start::Marker3:
        return f.pickUp(3, button);
    }
}
} // namespace

Q_DECLARE_METATYPE(Start)

void TestMainWindowDrops::drop_data() {
    QTest::addColumn<Start>("start");
    QTest::addColumn<int>("target"); // a person, or kTrash
    QTest::addColumn<int>("button");
    QTest::addColumn<QByteArray>("job"); // empty: untouched
    QTest::addColumn<int>("markers");    // markers on the board afterwards

    QTest::newRow("green duty on person 12")
        << Start::Green << 12 << int(Qt::LeftButton)
        << QByteArray(" 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 104  12  1200\r\n") << 4;
    QTest::newRow("yellow duty on person 0, right button")
        << Start::Yellow << 0 << int(Qt::RightButton)
        << QByteArray(" 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 6  0  0\r\n") << 4;
    // Marker 1 keeps its number: it now stands before marker 2, and person 3's gap closes.
    QTest::newRow("marker 1 to person 12")
        << Start::Marker1 << 12 << int(Qt::MiddleButton)
        << QByteArray(" 3\r\n 105  12  0\r\n 2  12  1200\r\n 1  3  0\r\n") << 3;
    QTest::newRow("marker 3 on its own person")
        << Start::Marker3 << 3 << int(Qt::LeftButton) << kJob << 3;
    QTest::newRow("marker 1 in the trash") << Start::Marker1 << kTrash << int(Qt::LeftButton)
                                           << QByteArray(" 2\r\n 2  12  0\r\n 1  3  0\r\n") << 2;
    QTest::newRow("green placement cancelled in the trash")
        << Start::Green << kTrash << int(Qt::LeftButton) << QByteArray() << 3;
}

void TestMainWindowDrops::drop() {
    QFETCH(Start, start);
    QFETCH(int, target);
    QFETCH(int, button);
    QFETCH(QByteArray, job);
    QFETCH(int, markers);

    BoardFixture f(kJob);
    MainWindow& window = f.open();
    startCarry(f, start, Qt::MouseButton(button));
    QVERIFY(f.carried()->isVisible());
    // A person added behind the board's back shows only if the drop reloads the board.
    f.writePersons(26);
    f.dropAt(target == kTrash ? f.trashPoint() : f.tagCentre(target), Qt::MouseButton(button));

    QCOMPARE(f.job(), job.isEmpty() ? kJob : job);
    QCOMPARE(f.platform.store.saves, job.isEmpty() ? 0 : 1);
    QCOMPARE(f.board()->shownTags(), job.isEmpty() ? 25 : 26);
    QCOMPARE(f.board()->shownMarkers(), markers);
    QVERIFY(f.platform.errors.isEmpty());
    // Nothing is carried any more.
    QVERIFY(!f.carried()->isVisible());
    QVERIFY(!f.board()->trashCan()->isVisible());
    QVERIFY(!window.timer1().isActive());
    QVERIFY(!window.timer2().isActive());
    QCOMPARE(f.state.markerMovePending + f.state.dropRemovesMarker, 0);
    QCOMPARE(f.state.pendingGreenPlacement + f.state.pendingYellowPlacement, 0);
    for (int m = 1; m <= markers; ++m)
        QVERIFY(f.board()->marker(m)->isVisible());
}

void TestMainWindowDrops::refusedDropCarriesOn_data() {
    QTest::addColumn<Start>("start");
    QTest::addColumn<QPointF>("at");
    // Column 2 (from 7600) holds persons 20 to 24: rows 5 and 6 there are no one.
    QTest::newRow("duty on person 26") << Start::Yellow << QPointF(8000, 2210);
    QTest::newRow("marker on person 25") << Start::Marker1 << QPointF(8000, 1900);
}

void TestMainWindowDrops::refusedDropCarriesOn() {
    QFETCH(Start, start);
    QFETCH(QPointF, at);
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    startCarry(f, start, Qt::LeftButton);
    const bool marker = start == Start::Marker1;
    QVERIFY(at.y() < trashZoneStart(window.layout()));

    window.dropCarried(at);
    QCOMPARE(f.job(), kJob);
    QCOMPARE(f.platform.store.saves, 0);
    QVERIFY(f.platform.errors.isEmpty());
    QVERIFY(f.carried()->isVisible());
    QVERIFY(window.timer2().isActive());
    QCOMPARE(window.timer1().isActive(), marker);
    QCOMPARE(f.state.markerMovePending, marker ? 1 : 0);
    QCOMPARE(f.state.pendingYellowPlacement, marker ? 0 : 1);

    // The user can drop again.
    f.dropAt(f.tagCentre(0));
    QCOMPARE(f.platform.store.saves, 1);
    QVERIFY(f.job() != kJob);
}

void TestMainWindowDrops::hundredFirstMarkerIsRefused() {
    QByteArray full = " 100\r\n";
    for (int m = 0; m < 100; ++m)
        full += " 1  " + QByteArray::number(m % 20) + "  0\r\n";
    BoardFixture f(full);
    MainWindow& window = f.open();
    QCOMPARE(f.board()->shownMarkers(), 100);
    f.pick(DutyColour::Green, 0);
    f.dropAt(f.tagCentre(21));
    QCOMPARE(f.job(), full);
    QCOMPARE(f.platform.store.saves, 0);
    QCOMPARE(f.platform.errors.size(), 1);
    QVERIFY(!f.carried()->isVisible());
    QVERIFY(!window.timer2().isActive());
    QCOMPARE(f.state.pendingGreenPlacement, 0);
}

void TestMainWindowDrops::backgroundPressFreezes() {
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    f.pickUp(2);
    QVERIFY(window.timer2().isActive());
    // Name tags and the trash can take presses without acting.
    QTest::mousePress(f.board()->tag(5), Qt::LeftButton);
    QTest::mousePress(f.board()->trashCan(), Qt::LeftButton);
    QVERIFY(window.timer2().isActive());
    // A row frame is drawn on the background: a press on one freezes the carried marker.
    const QPoint onFrame =
        BoardFixture::pixels(BoardFixture::centre(window.layout().frames[7])) + QPoint(100, 0);
    QCOMPARE(f.board()->childAt(onFrame), nullptr);
    QTest::mousePress(f.board(), Qt::LeftButton, {}, onFrame);
    QVERIFY(!window.timer2().isActive());
    QVERIFY(window.timer1().isActive());
    QVERIFY(f.carried()->isVisible());
    QCOMPARE(f.state.markerMovePending, 1);
    // The frozen marker still drops where it is pressed.
    f.dropAt(f.tagCentre(7));
    QCOMPARE(f.job(), QByteArray(" 3\r\n 105  3  0\r\n 2  7  0\r\n 1  3  1200\r\n"));
}

void TestMainWindowDrops::failedSaveKeepsTheFile_data() {
    QTest::addColumn<Start>("start");
    QTest::addColumn<int>("target");
    QTest::newRow("new marker") << Start::Green << 12;
    QTest::newRow("move") << Start::Marker1 << 12;
    QTest::newRow("removal") << Start::Marker1 << kTrash;
}

void TestMainWindowDrops::failedSaveKeepsTheFile() {
    QFETCH(Start, start);
    QFETCH(int, target);
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    startCarry(f, start, Qt::LeftButton);
    f.platform.store.failAfterBytes = 5;
    f.writePersons(26);
    window.dropCarried(target == kTrash ? f.trashPoint() : f.tagCentre(target));

    QCOMPARE(f.platform.errors.size(), 1);
    QVERIFY(f.platform.errors[0].contains(kJobFile));
    QCOMPARE(f.job(), kJob);
    // Reloaded: the board shows what the file holds.
    QCOMPARE(f.board()->shownTags(), 26);
    QCOMPARE(f.state.markerCount, 3);
    QCOMPARE(f.state.markerPerson[1], 3);
    for (int m = 1; m <= 3; ++m)
        QVERIFY(f.board()->marker(m)->isVisible());
    QCOMPARE(f.state.dropRemovesMarker + f.state.markerMovePending, 0);

    // The next move of another marker does not remove anything.
    f.platform.store.failAfterBytes = -1;
    f.pickUp(2);
    f.dropAt(f.tagCentre(12));
    QCOMPARE(f.job(), kJob);
    QCOMPARE(f.platform.errors.size(), 1);
}

void TestMainWindowDrops::reloadEndsACarry() {
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    f.pickUp(1);
    QVERIFY(f.board()->trashCan()->isVisible());
    window.reload();
    QCOMPARE(f.state.markerMovePending, 0);
    QCOMPARE(f.state.movingMarkerIndex, 0);
    QVERIFY(!f.carried()->isVisible());
    QVERIFY(!f.board()->trashCan()->isVisible());
    QVERIFY(!window.timer1().isActive());
    QVERIFY(!window.timer2().isActive());
    QVERIFY(f.board()->marker(1)->isVisible());
    // A duty picked afterwards and cancelled in the trash removes no marker.
    f.pick(DutyColour::Yellow, 0);
    f.dropAt(f.trashPoint());
    QCOMPARE(f.job(), kJob);
    QCOMPARE(f.platform.store.saves, 0);
}

void TestMainWindowDrops::trackingFollowsThePointer() {
    BoardFixture f(kJob);
    MainWindow& window = f.open();
    f.pick(DutyColour::Green, 0);
    // Window 11750 x 4760 (column pitch 3800); the carried marker is 82 x 22 pixels.
    auto trackTo = [&](QPoint boardPixels) {
        f.platform.pointer = f.board()->mapToGlobal(boardPixels);
        window.trackPointer();
        return f.carried()->pos();
    };
    QCOMPARE(trackTo({300, 100}), QPoint(259, 89));  // centred on the pointer
    QCOMPARE(trackTo({10, -50}), QPoint(80, 0));     // tag width + 200, the board's top
    QCOMPARE(trackTo({800, 900}), QPoint(665, 247)); // width - 1230 - 550, height - 1050
}

QTEST_MAIN(TestMainWindowDrops)
#include "tst_mainwindow_drops.moc"

#include "board/BoardRules.h"

#include <QTest>

using namespace zel;

// Where board presses land and where the carried marker may go, in board twips.
class TestBoardRules : public QObject {
    Q_OBJECT

  private slots:
    void personAtPoint_data();
    void personAtPoint();
    void trashZone_data();
    void trashZone();
    void trackingBounds_data();
    void trackingBounds();
};

namespace {
// 25 persons, 10 a column, tags 1000 wide, six characters of markers: column pitch 3200.
BoardLayout board(int tagHeight = 300, int persons = 25, double namesPerColumn = 10) {
    RosterState s;
    s.personCount = persons;
    s.namesPerColumn = namesPerColumn;
    s.tagHeight = tagHeight;
    s.tagWidth = 1000;
    s.maxPersonMarkerWidth = 6;
    return computeBoardLayout(s);
}
} // namespace

void TestBoardRules::personAtPoint_data() {
    QTest::addColumn<double>("namesPerColumn");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("person"); // -1: refused

    // Row 0 starts at y 40; rows are 360 apart, columns 3200.
    QTest::newRow("person 12's tag") << 10.0 << QPointF(3300, 770) << 12;
    QTest::newRow("one twip left is column 0") << 10.0 << QPointF(3199, 770) << 2;
    QTest::newRow("person 26 does not exist") << 10.0 << QPointF(6500, 2210) << -1;
    QTest::newRow("last person of the short column") << 10.0 << QPointF(6500, 1800) << 24;
    QTest::newRow("the row under it is empty") << 10.0 << QPointF(6500, 1840) << -1;
    QTest::newRow("row 0 starts at 40") << 10.0 << QPointF(100, 40) << 0;
    QTest::newRow("above the first row is row 0") << 10.0 << QPointF(3300, 39) << 10;
    QTest::newRow("far above is still row 0") << 10.0 << QPointF(3300, -600) << 10;
    QTest::newRow("last row of a column") << 10.0 << QPointF(100, 3639) << 9;
    QTest::newRow("below it is no one, not the next column") << 10.0 << QPointF(100, 3640) << -1;
    QTest::newRow("left of the board") << 10.0 << QPointF(-1, 770) << -1;
    QTest::newRow("right of the last column") << 10.0 << QPointF(9600, 100) << -1;
    QTest::newRow("10.5 a column counts 10 rows") << 10.5 << QPointF(3300, 400) << 11;
}

void TestBoardRules::personAtPoint() {
    QFETCH(double, namesPerColumn);
    QFETCH(QPointF, point);
    QFETCH(int, person);
    const BoardLayout layout = board(300, 25, namesPerColumn);
    QCOMPARE(layout.grid.columnPitch, 3200);
    QCOMPARE(personAt(layout.grid, 25, point).value_or(-1), person);
}

void TestBoardRules::trashZone_data() {
    QTest::addColumn<int>("tagHeight");
    QTest::addColumn<double>("zoneStart");
    // One row pitch and 780 above the window's bottom edge, but never on the last tag row:
    // 300 as the board always had it, 600 kept below the tags, 100 still reachable.
    QTest::newRow("tags 300") << 300 << 3620.0;
    QTest::newRow("tags 600") << 600 << 7200.0;
    QTest::newRow("tags 100") << 100 << 1420.0;
}

void TestBoardRules::trashZone() {
    QFETCH(int, tagHeight);
    QFETCH(double, zoneStart);
    const BoardLayout layout = board(tagHeight);
    QCOMPARE(trashZoneStart(layout), zoneStart);
    // The last tag of every column lies above the zone.
    for (int person : {9, 19})
        QVERIFY(layout.tags[person].bottom() <= zoneStart);
    // A marker pushed against the bottom bound has its centre in the zone.
    const QSizeF carried(1230, tagHeight * 1.2 - 25);
    const QPointF lowest = trackedMarkerTopLeft(layout, 1000, {5000, 1e6}, carried);
    QVERIFY(lowest.y() + carried.height() / 2 >= zoneStart);
}

void TestBoardRules::trackingBounds_data() {
    QTest::addColumn<int>("persons");
    QTest::addColumn<int>("tagHeight");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPointF>("topLeft");

    // Window 9950 x 4760; the carried marker is 1230 x 335, so its centre sits on the pointer.
    QTest::newRow("free") << 25 << 300 << QPointF(5000, 2000) << QPointF(4385, 1832.5);
    QTest::newRow("left bound: tag width + 200")
        << 25 << 300 << QPointF(1000, 2000) << QPointF(1200, 1832.5);
    QTest::newRow("right bound not reached at 500")
        << 25 << 300 << QPointF(8835, 2000) << QPointF(8220, 1832.5);
    QTest::newRow("past it the marker goes to 550")
        << 25 << 300 << QPointF(8836, 2000) << QPointF(8170, 1832.5);
    QTest::newRow("top bound") << 25 << 300 << QPointF(5000, 100) << QPointF(4385, 0);
    QTest::newRow("bottom bound: height - 1050")
        << 25 << 300 << QPointF(5000, 9000) << QPointF(4385, 3710);
    // Tags 100: window 2320 high, zone at 1420, marker 95 high: the zone decides.
    QTest::newRow("bottom bound reaches the zone")
        << 25 << 100 << QPointF(5000, 9000) << QPointF(4385, 1372.5);
    // No persons: 2050 wide, so the right bound (270) wins over the left one (1200).
    QTest::newRow("right bound wins over left")
        << 0 << 300 << QPointF(100, 200) << QPointF(270, 32.5);
}

void TestBoardRules::trackingBounds() {
    QFETCH(int, persons);
    QFETCH(int, tagHeight);
    QFETCH(QPointF, pointer);
    QFETCH(QPointF, topLeft);
    const QSizeF carried(1230, tagHeight * 1.2 - 25);
    QCOMPARE(trackedMarkerTopLeft(board(tagHeight, persons), 1000, pointer, carried), topLeft);
}

QTEST_APPLESS_MAIN(TestBoardRules)
#include "tst_boardrules.moc"

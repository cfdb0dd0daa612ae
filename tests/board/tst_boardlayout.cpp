// The board's numbers and the rules on them: where a press lands, where the trash zone starts,
// where the carried marker may go. Each table row holds the inputs, then the expected numbers.

#include "board/BoardRules.h"
#include "units/TwipScale.h"

#include <QTest>

using namespace zel;

namespace {
// Tags 1000 wide; markers of six green and four yellow characters.
RosterState roster(int persons, double namesPerColumn = 10, int chars = 6, int tagHeight = 300) {
    RosterState s;
    s.personCount = persons;
    s.namesPerColumn = namesPerColumn;
    s.tagHeight = tagHeight;
    s.tagWidth = 1000;
    s.maxPersonMarkerWidth = chars;
    s.greenMarkerWidth = 6;
    s.yellowMarkerWidth = 4;
    return s;
}
using Row = QList<double>;

// Persons, names a column and marker characters; the board's numbers they give.
struct Sizes {
    int persons;
    double perColumn;
    int chars;
    double columnPitch, width, height, buttonsTop;
};
// Marker 2's record, the tag height and the longest name; the marker's rectangle.
struct Marker {
    int code, person, offset, tagHeight, chars;
    TwipRect rect;
};
} // namespace
Q_DECLARE_METATYPE(Sizes)
Q_DECLARE_METATYPE(Marker)

class TestBoardLayout : public QObject {
    Q_OBJECT
    static Row list(const TwipRect& r) { return {r.left, r.top, r.width, r.height}; }
    static void row(const char* name, const Row& values) { QTest::newRow(name) << values; }
  private slots:
    void sizes_data() {
        QTest::addColumn<Sizes>("s");
        auto row = [](const char* name, Sizes sizes) { QTest::newRow(name) << sizes; };
        // persons, a column, characters; column pitch, width, height, buttons' top
        row("worked example", {25, 10, 6, 3200, 9950, 4760, 3685});
        row("no persons", {0, 10, 0, 2500, 2050, 1160, 85});
        row("20 persons, two columns", {20, 10, 0, 2500, 5350, 4760, 3685});
        row("4 persons, 4 rows; 3 characters", {4, 10, 3, 2500, 2850, 2600, 1525});
        row("4 characters widen the pitch", {4, 10, 4, 2600, 2950, 2600, 1525});
        row("10.5 a column is 10", {21, 10.5, 0, 2500, 7850, 4760, 3685});
        row("11.5 a column is 12", {24, 11.5, 0, 2500, 5350, 5480, 4405});
        row("a tiny fraction needs a column", {1, 2000, 0, 2500, 2850, 1520, 445});
        row("widths past 16 bits", {25, 10, 120, 37400, 112550, 4760, 3685});
    }
    void sizes() {
        QFETCH(Sizes, s);
        const BoardLayout l = computeBoardLayout(roster(s.persons, s.perColumn, s.chars));
        QCOMPARE((Row{double(l.grid.columnPitch), l.windowWidth, l.windowHeight, l.grid.rowPitch}),
                 (Row{s.columnPitch, s.width, s.height, 360}));
        QCOMPARE((QList<size_t>{l.tags.size(), l.frames.size()}),
                 QList<size_t>(2, size_t(s.persons)));
        const double top = s.buttonsTop, eraseLeft = s.width - 450;
        QCOMPARE(list(l.yellowButton) + list(l.greenButton) + list(l.eraseButton),
                 (Row{0, top, 500, 350, 500, top, 500, 350, eraseLeft, top, 300, 350}));
    }

    // Names a column, person; left and top of the tag (1000 x 300) and frame (3200 x 360).
    void tagsAndFrames_data() {
        QTest::addColumn<Row>("row");
        row("person 12", {10, 12, 3300, 780, 3200, 750});
        // One rounded count for column and row: person 10 must not land on person 0.
        row("10.5: person 10", {10.5, 10, 3300, 60, 3200, 30});
        row("10.5: person 21", {10.5, 21, 6500, 420, 6400, 390});
    }
    void tagsAndFrames() {
        QFETCH(Row, row);
        const BoardLayout l = computeBoardLayout(roster(25, row[0]));
        QCOMPARE(list(l.tags.at(int(row[1]))) + list(l.frames.at(int(row[1]))),
                 (Row{row[2], row[3], 1000, 300, row[4], row[5], 3200, 360}));
    }

    // Marker 2 on a board of 25 persons, and the rectangle it gets.
    void markers_data() {
        QTest::addColumn<Marker>("m");
        auto row = [](const char* name, Marker marker) { QTest::newRow(name) << marker; };
        // code, person, offset, tag height, characters; the rectangle
        row("worked example, yellow", {7, 12, 600, 300, 6, {5000, 760, 1230, 335}});
        row("green", {112, 0, 0, 300, 6, {1200, 40, 1830, 335}});
        row("person without a tag", {100, 35, 0, 300, 6, {10800, 1840, 1830, 335}});
        row("offset past 16 bits", {100, 12, 33000, 300, 120, {71600, 760, 1830, 335}});
        row("tiny tags clamp the height", {3, 0, 0, 10, 6, {1200, -18, 1230, 0}});
    }
    void markers() {
        QFETCH(Marker, m);
        RosterState s = roster(25, 10, m.chars, m.tagHeight);
        s.markerCount = 2;
        s.markerDuty[2] = m.code;
        s.markerPerson[2] = m.person;
        s.markerOffset[2] = m.offset;
        const BoardLayout l = computeBoardLayout(s);
        QCOMPARE(l.markers.size(), size_t(2));
        QCOMPARE(l.markers[1], m.rect);
    }

    void pixels() {
        const TwipScale s{15, 15};
        QCOMPARE(s.x(337.5), 22); // 22.5 pixels: ties go to the even neighbour
        QCOMPARE(s.y(352.5), 24); // 23.5
        QCOMPARE(s.x(-337.5), -22);
        QCOMPARE(s.rect({3300, 780, 1000, 300}), QRect(220, 52, 67, 20));
        QCOMPARE(s.width(-100), 0);
        QCOMPARE(s.width(112550 * 10), 32767); // X11 ends at 32767 pixels
    }

    // Names a column, a point; the person there or -1. Row 0 starts at y 40, columns at 3200.
    void personAtPoint_data() {
        QTest::addColumn<Row>("row");
        row("person 12's tag", {10, 3300, 770, 12});
        row("one twip left is column 0", {10, 3199, 770, 2});
        row("last person of the short column", {10, 6500, 1800, 24});
        row("the row under it is empty", {10, 6500, 1840, -1});
        row("above the first row is row 0", {10, 3300, 39, 10});
        row("last row of a column", {10, 100, 3639, 9});
        row("below it is no one, not the next column", {10, 100, 3640, -1});
        row("left of the board", {10, -1, 770, -1});
        row("10.5 a column: row 0 ends at 400", {10.5, 3300, 399, 10});
        row("10.5 a column: row 1 starts at 400", {10.5, 3300, 400, 11});
    }
    void personAtPoint() {
        QFETCH(Row, row);
        const BoardLayout l = computeBoardLayout(roster(25, row[0]));
        QCOMPARE(personAt(l.grid, 25, {row[1], row[2]}).value_or(-1), int(row[3]));
    }

    // Tag height; zone start: a row pitch and 780 above the bottom, never on the last tag row.
    void trashZone_data() {
        QTest::addColumn<Row>("row");
        row("tags 300, as the board always had it", {300, 3620});
        row("tags 600 keep it below the tags", {600, 7200});
        row("tags 100 keep it reachable", {100, 1420});
    }
    void trashZone() {
        QFETCH(Row, row);
        QCOMPARE(trashZoneStart(computeBoardLayout(roster(25, 10, 6, int(row[0])))), row[1]);
    }

    // Persons, tag height, pointer; top-left of the 1230 x 335 marker. Window 9950 x 4760.
    void trackingBounds_data() {
        QTest::addColumn<Row>("row");
        row("free", {25, 300, 5000, 2000, 4385, 1832.5});
        row("left: tag width + 200", {25, 300, 1000, 2000, 1200, 1832.5});
        row("right: not reached at 500", {25, 300, 8835, 2000, 8220, 1832.5});
        row("right: past it at 550", {25, 300, 8836, 2000, 8170, 1832.5});
        row("top", {25, 300, 5000, 100, 4385, 0});
        row("bottom: height - 1050", {25, 300, 5000, 9000, 4385, 3710});
        // Tags 100 (the smallest the options allow): window 2320 high, zone at 1420, marker 95
        // high: it can stand wholly in the zone, over the trash can (1350 to 1830).
        row("bottom: tags 100 reach the zone", {25, 100, 5000, 9000, 4385, 1420});
        // Tags 200: zone at 2520, below height - 1050 (2490).
        row("bottom: tags 200 reach the zone", {25, 200, 5000, 9000, 4385, 2520});
        // No persons: 2050 wide, so the right bound (270) wins over the left one (1200).
        row("right wins over left", {0, 300, 100, 200, 270, 32.5});
    }
    void trackingBounds() {
        QFETCH(Row, row);
        const BoardLayout l = computeBoardLayout(roster(int(row[0]), 10, 6, int(row[1])));
        const QSizeF carried(1230, row[1] * 1.2 - 25);
        QCOMPARE(trackedMarkerTopLeft(l, 1000, {row[2], row[3]}, carried), QPointF(row[4], row[5]));
    }
};

QTEST_APPLESS_MAIN(TestBoardLayout)
#include "tst_boardlayout.moc"

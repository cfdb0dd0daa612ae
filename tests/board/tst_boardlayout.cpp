#include "board/BoardLayout.h"
#include "board/TwipScale.h"

#include <QTest>

using namespace zel;

namespace zel {
// Readable failures for QCOMPARE.
char* toString(const TwipRect& r) {
    return QTest::toString(
        QStringLiteral("(%1, %2) %3 x %4").arg(r.left).arg(r.top).arg(r.width).arg(r.height));
}
} // namespace zel

// The board's numbers: window size, column pitch, tags, row frames, buttons and markers.
class TestBoardLayout : public QObject {
    Q_OBJECT

  private slots:
    void sizes_data();
    void sizes();
    void tagsAndFrames_data();
    void tagsAndFrames();
    void markers_data();
    void markers();
    void pixels();
};

namespace {
RosterState roster(int persons, double namesPerColumn, int tagHeight, int maxMarkerWidth) {
    RosterState s;
    s.personCount = persons;
    s.namesPerColumn = namesPerColumn;
    s.tagHeight = tagHeight;
    s.tagWidth = 1000;
    s.maxPersonMarkerWidth = maxMarkerWidth;
    s.greenMarkerWidth = 6;
    s.yellowMarkerWidth = 4;
    return s;
}
} // namespace

void TestBoardLayout::sizes_data() {
    QTest::addColumn<int>("persons");
    QTest::addColumn<double>("namesPerColumn");
    QTest::addColumn<int>("tagHeight");
    QTest::addColumn<int>("maxMarkerWidth");
    // rowPitch, columnPitch, window width, window height, button top
    QTest::addColumn<QList<double>>("expected");

    QTest::newRow("worked example")
        << 25 << 10.0 << 300 << 6 << QList<double>{360, 3200, 9950, 4760, 3685};
    QTest::newRow("no persons") << 0 << 10.0 << 300 << 0
                                << QList<double>{360, 2500, 2050, 1160, 85};
    QTest::newRow("20 persons, two columns")
        << 20 << 10.0 << 300 << 0 << QList<double>{360, 2500, 5350, 4760, 3685};
    QTest::newRow("21 persons, three columns")
        << 21 << 10.0 << 300 << 0 << QList<double>{360, 2500, 7850, 4760, 3685};
    QTest::newRow("4 persons count 4 rows")
        << 4 << 10.0 << 300 << 0 << QList<double>{360, 2500, 2850, 2600, 1525};
    QTest::newRow("3 characters stay at the minimum pitch")
        << 4 << 10.0 << 300 << 3 << QList<double>{360, 2500, 2850, 2600, 1525};
    QTest::newRow("4 characters widen the pitch")
        << 4 << 10.0 << 300 << 4 << QList<double>{360, 2600, 2950, 2600, 1525};
    QTest::newRow("10.5 per column is 10")
        << 21 << 10.5 << 300 << 0 << QList<double>{360, 2500, 7850, 4760, 3685};
    QTest::newRow("11.5 per column is 12")
        << 24 << 11.5 << 300 << 0 << QList<double>{360, 2500, 5350, 5480, 4405};
    QTest::newRow("tiny fraction still needs a column")
        << 1 << 2000.0 << 300 << 0 << QList<double>{360, 2500, 2850, 1520, 445};
    QTest::newRow("more than 109 characters of markers")
        << 25 << 10.0 << 300 << 120 << QList<double>{360, 37400, 112550, 4760, 3685};
    QTest::newRow("tiny tags") << 1 << 10.0 << 10 << 0 << QList<double>{12, 2500, 2850, 1114, 39};
}

void TestBoardLayout::sizes() {
    QFETCH(int, persons);
    QFETCH(double, namesPerColumn);
    QFETCH(int, tagHeight);
    QFETCH(int, maxMarkerWidth);
    QFETCH(QList<double>, expected);

    const BoardLayout l =
        computeBoardLayout(roster(persons, namesPerColumn, tagHeight, maxMarkerWidth));
    QCOMPARE((QList<double>{l.grid.rowPitch, double(l.grid.columnPitch), l.windowWidth,
                            l.windowHeight, l.yellowButton.top}),
             expected);
    QCOMPARE(int(l.tags.size()), persons);
    QCOMPARE(int(l.frames.size()), persons);
    QCOMPARE(l.boardWidth(), l.windowWidth - 120);
    QCOMPARE(l.boardHeight(), l.windowHeight - 690);
    const double top = expected[4];
    QCOMPARE(l.yellowButton, (TwipRect{0, top, 500, 350}));
    QCOMPARE(l.greenButton, (TwipRect{500, top, 500, 350}));
    QCOMPARE(l.eraseButton, (TwipRect{l.windowWidth - 450, top, 300, 350}));
}

void TestBoardLayout::tagsAndFrames_data() {
    QTest::addColumn<double>("namesPerColumn");
    QTest::addColumn<int>("person");
    QTest::addColumn<TwipRect>("tag");
    QTest::addColumn<TwipRect>("frame");

    // 25 persons, tag 1000 x 300, six characters of markers: column pitch 3200.
    QTest::newRow("person 0") << 10.0 << 0 << TwipRect{100, 60, 1000, 300}
                              << TwipRect{0, 30, 3200, 360};
    QTest::newRow("person 12") << 10.0 << 12 << TwipRect{3300, 780, 1000, 300}
                               << TwipRect{3200, 750, 3200, 360};
    QTest::newRow("person 24") << 10.0 << 24 << TwipRect{6500, 1500, 1000, 300}
                               << TwipRect{6400, 1470, 3200, 360};
    // One rounded count for column and row: person 10 must not land on person 0.
    QTest::newRow("10.5: person 10")
        << 10.5 << 10 << TwipRect{3300, 60, 1000, 300} << TwipRect{3200, 30, 3200, 360};
    QTest::newRow("10.5: person 21")
        << 10.5 << 21 << TwipRect{6500, 420, 1000, 300} << TwipRect{6400, 390, 3200, 360};
}

void TestBoardLayout::tagsAndFrames() {
    QFETCH(double, namesPerColumn);
    QFETCH(int, person);
    QFETCH(TwipRect, tag);
    QFETCH(TwipRect, frame);
    const BoardLayout l = computeBoardLayout(roster(25, namesPerColumn, 300, 6));
    QCOMPARE(l.tags.at(person), tag);
    QCOMPARE(l.frames.at(person), frame);
}

void TestBoardLayout::markers_data() {
    QTest::addColumn<int>("duty");
    QTest::addColumn<int>("person");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("tagHeight");
    QTest::addColumn<int>("maxMarkerWidth");
    QTest::addColumn<TwipRect>("rect");

    QTest::newRow("worked example, yellow")
        << 7 << 12 << 600 << 300 << 6 << TwipRect{5000, 760, 1230, 335};
    QTest::newRow("green") << 112 << 0 << 0 << 300 << 6 << TwipRect{1200, 40, 1830, 335};
    QTest::newRow("person without a tag")
        << 100 << 35 << 0 << 300 << 6 << TwipRect{10800, 1840, 1830, 335};
    QTest::newRow("offset past 16 bits")
        << 100 << 12 << 33000 << 300 << 120 << TwipRect{71600, 760, 1830, 335};
    QTest::newRow("tiny tags clamp the height")
        << 3 << 0 << 0 << 10 << 6 << TwipRect{1200, -18, 1230, 0};
}

void TestBoardLayout::markers() {
    QFETCH(int, duty);
    QFETCH(int, person);
    QFETCH(int, offset);
    QFETCH(int, tagHeight);
    QFETCH(int, maxMarkerWidth);
    QFETCH(TwipRect, rect);

    RosterState s = roster(25, 10, tagHeight, maxMarkerWidth);
    s.markerCount = 2;
    s.markerDuty[2] = duty;
    s.markerPerson[2] = person;
    s.markerOffset[2] = offset;
    const BoardLayout l = computeBoardLayout(s);
    QCOMPARE(int(l.markers.size()), 2);
    QCOMPARE(l.markers[1], rect);
}

void TestBoardLayout::pixels() {
    const TwipScale s{15, 15};
    QCOMPARE(s.x(337.5), 22); // 22.5 pixels: ties go to the even neighbour
    QCOMPARE(s.y(352.5), 24); // 23.5
    QCOMPARE(s.x(-337.5), -22);
    QCOMPARE(s.rect({3300, 780, 1000, 300}), QRect(220, 52, 67, 20));
    QCOMPARE(s.width(-100), 0);
    QCOMPARE(s.width(112550 * 10), 32767); // X11 ends at 32767 pixels
}

QTEST_APPLESS_MAIN(TestBoardLayout)
#include "tst_boardlayout.moc"

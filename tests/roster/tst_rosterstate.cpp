#include "roster/RosterState.h"

#include <QTest>

using namespace zel;

// The roster operations: running widths per person, repacked offsets and the widest row.
class TestRosterState : public QObject {
    Q_OBJECT

  private slots:
    void repack_data();
    void repack();
    void accumulateResetsEverySlot();
    void longestName();
};

namespace {
// Markers written "duty/person" separated by blanks, numbered from 1.
void setMarkers(RosterState& s, const QString& markers) {
    const QStringList items = markers.split(u' ', Qt::SkipEmptyParts);
    s.markerCount = int(items.size());
    for (int m = 1; m <= s.markerCount; ++m) {
        const QStringList parts = items[m - 1].split(u'/');
        s.markerDuty[m] = parts[0].toInt();
        s.markerPerson[m] = parts[1].toInt();
        s.markerOffset[m] = 12345; // stale, as a job file edited by hand may hold
    }
}
} // namespace

void TestRosterState::repack_data() {
    QTest::addColumn<QString>("markers");
    QTest::addColumn<int>("greenWidth");
    QTest::addColumn<int>("yellowWidth");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<QList<int>>("offsets");      // of markers 1 .. markerCount
    QTest::addColumn<QList<int>>("personWidths"); // of persons 0 .. 3
    QTest::addColumn<int>("maxWidth");            // over persons 0 .. 2 (personCount 3)

    QTest::newRow("two persons interleaved")
        << "100/0 3/1 101/0 4/0 5/1" << 6 << 4 << 0 << QList<int>{0, 0, 1800, 3600, 1200}
        << QList<int>{16, 8, 0, 0} << 16;
    QTest::newRow("empty yellow list does not advance")
        << "3/2 100/2 4/2" << 2 << 0 << 0 << QList<int>{0, 0, 600} << QList<int>{0, 0, 2, 0} << 2;
    QTest::newRow("first marker removed")
        << "100/1 101/1" << 6 << 4 << 1 << QList<int>{12345, 0} << QList<int>{0, 6, 0, 0} << 6;
    QTest::newRow("person beyond the arrays keeps offset 0")
        << "100/150 100/-1 100/1" << 6 << 4 << 0 << QList<int>{0, 0, 0} << QList<int>{0, 6, 0, 0}
        << 6;
    QTest::newRow("person beyond personCount counts, not in maximum")
        << "100/3 100/3 3/0" << 6 << 4 << 0 << QList<int>{0, 1800, 0} << QList<int>{4, 0, 0, 12}
        << 4;
    QTest::newRow("beyond 109 characters, offset past 16 bits")
        << "100/0 100/0 100/0 100/0" << 40 << 0 << 0 << QList<int>{0, 12000, 24000, 36000}
        << QList<int>{160, 0, 0, 0} << 160;
}

void TestRosterState::repack() {
    QFETCH(QString, markers);
    QFETCH(int, greenWidth);
    QFETCH(int, yellowWidth);
    QFETCH(int, leftOut);
    QFETCH(QList<int>, offsets);
    QFETCH(QList<int>, personWidths);
    QFETCH(int, maxWidth);

    RosterState s;
    s.personCount = 3;
    s.greenMarkerWidth = greenWidth;
    s.yellowMarkerWidth = yellowWidth;
    setMarkers(s, markers);

    s.repackOffsets(leftOut);
    QList<int> gotOffsets;
    for (int m = 1; m <= s.markerCount; ++m)
        gotOffsets << s.markerOffset[m];
    QCOMPARE(gotOffsets, offsets);
    s.updateMaxPersonWidth();
    QCOMPARE(s.maxPersonMarkerWidth, maxWidth);
    const QList<int> repackedWidths(s.personMarkerWidth.begin(), s.personMarkerWidth.begin() + 4);
    if (leftOut == 0) {
        // A load walks the same markers and must arrive at the same widths.
        s.personMarkerWidth.fill(-7);
        s.accumulatePersonWidths();
        QCOMPARE(QList<int>(s.personMarkerWidth.begin(), s.personMarkerWidth.begin() + 4),
                 personWidths);
    }
    QCOMPARE(repackedWidths, personWidths);
}

void TestRosterState::accumulateResetsEverySlot() {
    // A marker of a removed person (index 100, personCount 3) must not grow at every reload.
    RosterState s;
    s.personCount = 3;
    s.greenMarkerWidth = 5;
    setMarkers(s, QStringLiteral("100/100 100/100"));
    for (int round = 0; round < 3; ++round) {
        s.repackOffsets();
        s.accumulatePersonWidths();
    }
    QCOMPARE(s.personMarkerWidth[100], 10);
    QCOMPARE(s.markerOffset[2], 1500);
}

void TestRosterState::longestName() {
    std::array<QString, kSlots> names{};
    names[0] = QStringLiteral("掃除");
    names[1] = QStringLiteral("ゴミ出し当番");
    names[2] = QStringLiteral("\U0001F600"); // two UTF-16 code units
    names[3] = QStringLiteral("ずっと長い名前だけれど数えない");
    QCOMPARE(longestNameLength(names, 0), 0);
    QCOMPARE(longestNameLength(names, 1), 2);
    QCOMPARE(longestNameLength(names, 3), 6);
    names[1].clear();
    QCOMPARE(longestNameLength(names, 3), 2);
    QCOMPARE(longestNameLength(names, 4), 15);
    QCOMPARE(longestNameLength(names, 500), 15); // a count past the slots stops at slot 100
}

QTEST_APPLESS_MAIN(TestRosterState)
#include "tst_rosterstate.moc"

#include "pickers/PickerConfig.h"
#include "pickers/PickerGeometry.h"

#include <QTest>

using namespace zel;

namespace {
RosterState pickerState(int count, int nameLength, int perColumn = 5, int tagHeight = 300) {
    RosterState state;
    state.tagHeight = tagHeight;
    state.dutiesPerColumn = perColumn;
    state.greenDutyCount = count;
    state.yellowDutyCount = count;
    for (int k = 0; k < count; ++k) {
        state.greenDutyNames[k] = QString(nameLength, QChar(0x5F53));
        state.yellowDutyNames[k] = state.greenDutyNames[k];
    }
    state.greenMarkerWidth = count > 0 ? nameLength : 0;
    state.yellowMarkerWidth = count > 0 ? nameLength : 0;
    return state;
}
} // namespace

class PickerGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void sevenDutiesInBothColours_data() {
        QTest::addColumn<int>("colour");
        QTest::newRow("green") << int(DutyColour::Green);
        QTest::newRow("yellow") << int(DutyColour::Yellow);
    }
    void sevenDutiesInBothColours() {
        QFETCH(int, colour);
        const PickerGeometry g = computePickerGeometry(pickerState(7, 4), DutyColour(colour));
        QCOMPARE(g.windowWidth, 2600.0);
        QCOMPARE(g.windowHeight, 1960.0);
        QCOMPARE(g.border(), (TwipRect{10, 10, 2590, 1950}));
        QCOMPARE(g.frame(6), (TwipRect{1300, 445, 1200, 280}));
        QCOMPARE(g.label(6), (TwipRect{1300, 490, 1200, 360}));
        QCOMPARE(g.picturePixels(7, TwipScale{15, 15}), QRect(87, 53, 81, 22));
    }

    void windowSizes_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("three duties") << 3 << 1400.0 << 1240.0;
        QTest::newRow("five fill one column") << 5 << 1400.0 << 1960.0;
        QTest::newRow("six need two") << 6 << 2600.0 << 1960.0;
        QTest::newRow("empty list") << 0 << 200.0 << 160.0;
    }
    void windowSizes() {
        QFETCH(int, count);
        QFETCH(double, width);
        QFETCH(double, height);
        const PickerGeometry g = computePickerGeometry(pickerState(count, 4), DutyColour::Green);
        QCOMPARE(g.windowWidth, count == 0 ? 200.0 : width);
        QCOMPARE(g.windowHeight, height);
    }

    // A 20th yellow column of six-character names lies beyond 16 bits (34300 twips).
    void yellowColumnsBeyondSixteenBits() {
        const PickerGeometry g = computePickerGeometry(pickerState(96, 6), DutyColour::Yellow);
        QCOMPARE(g.columns, 20);
        QCOMPARE(g.frame(95).left, 34300.0);
        QCOMPARE(g.entryAt(34300 + 10, 85 + 10, PickerConfig::yellow().pickableEntries), 95);
    }

    void hitTest_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("expected"); // -1: nothing picked
        // Seven duties, W 1200, P 360: entry 6 is column 1, row 1.
        QTest::newRow("label top of entry 6") << 1500.0 << 500.0 << 6;
        QTest::newRow("frame of entry 6") << 1500.0 << 450.0 << 6;
        QTest::newRow("right edge of column 1 stays in it") << 2450.0 << 200.0 << 5;
        QTest::newRow("gap midpoint belongs below") << 200.0 << 405.0 << 1;
        QTest::newRow("just above the midpoint") << 200.0 << 404.0 << 0;
        QTest::newRow("left margin") << 99.0 << 200.0 << -1;
        QTest::newRow("top margin") << 200.0 << 44.0 << -1;
        QTest::newRow("past the last duty") << 1500.0 << 1200.0 << -1;
        QTest::newRow("bottom margin is not the next column") << 200.0 << 1900.0 << -1;
        QTest::newRow("right margin") << 2550.0 << 200.0 << -1;
    }
    void hitTest() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, expected);
        const PickerGeometry g = computePickerGeometry(pickerState(7, 4), DutyColour::Green);
        const auto k = g.entryAt(x, y, PickerConfig::green().pickableEntries);
        QCOMPARE(k.value_or(-1), expected);
    }

    // Yellow index 100 would be stored as code 100, which reads back as green duty 0.
    void hundredFirstYellowEntryIsNotPickable() {
        RosterState state = pickerState(101, 2, 10);
        const PickerGeometry g = computePickerGeometry(state, DutyColour::Yellow);
        const TwipRect last = g.frame(100);
        const double x = last.left + 10, y = last.top + 10;
        QCOMPARE(g.entryAt(x, y, PickerConfig::yellow().pickableEntries), std::nullopt);
        QCOMPARE(g.entryAt(x, y, PickerConfig::green().pickableEntries), 100);
    }

    void nothingToPickWithEmptyNames() {
        RosterState state = pickerState(3, 0);
        const PickerGeometry g = computePickerGeometry(state, DutyColour::Green);
        QCOMPARE(g.entryAt(150, 200, 101), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(PickerGeometryTest)
#include "tst_pickergeometry.moc"

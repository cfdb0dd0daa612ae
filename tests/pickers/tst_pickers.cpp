// The duty pickers: where the window, frames, labels and entry pictures lie, which entry a press
// picks, and entry pictures drawn once while nothing that changes them changes.
#include "pickers/PickerConfig.h"
#include "pickers/PickerGeometry.h"
#include "pickers/PickerPainter.h"
#include "pickers/PickerPlacement.h"
#include "ui/Appearance.h"

#include <QPainter>

#include <QTest>

using namespace zel;

namespace {
// `count` duties named "緑当番k", `width` characters wide, in both colours.
RosterState roster(int count, int width, int perColumn = 5) {
    RosterState state;
    state.tagHeight = 300;
    state.dutiesPerColumn = perColumn;
    state.fontSize = 9;
    state.greenDutyCount = state.yellowDutyCount = count;
    state.greenMarkerWidth = state.yellowMarkerWidth = width;
    for (int k = 0; k < count; ++k)
        state.greenDutyNames[k] = state.yellowDutyNames[k] = QStringLiteral("緑当番%1").arg(k);
    return state;
}

PickerGeometry picker(int count, int width, DutyColour colour = DutyColour::Green,
                      int perColumn = 5) {
    return computePickerGeometry(roster(count, width, perColumn), colour);
}

// What the board draws an entry picture from, and the cache it keeps entry pictures in.
struct Inputs {
    RosterState state = roster(7, 4);
    TwipScale scale;
    double dpr = 1;
    EntryPictureCache cache{PickerConfig::green()};
};
using Change = void (*)(Inputs&);

// One board load that shows entry 3, or no entry.
QPixmap load(EntryPictureCache& cache, const Inputs& in, bool showsEntry = true) {
    cache.beginLoad(in.state, in.scale, in.dpr);
    if (showsEntry)
        cache.use(3);
    cache.endLoad();
    return showsEntry ? cache.picture(3) : QPixmap();
}
} // namespace

class PickersTest : public QObject {
    Q_OBJECT

  private slots:
    // A picker 300 x 200 on a screen whose available area is 1000 x 1000 from (0, 0), under
    // or beside a window (outer frame) of 400 x 300.
    void placement_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("room below: under the window, left edges aligned")
            << QRect(100, 100, 400, 300) << QSize(300, 200) << QPoint(100, 400);
        QTest::newRow("exactly fits below")
            << QRect(100, 500, 400, 300) << QSize(300, 200) << QPoint(100, 800);
        QTest::newRow("one pixel short below: above the window")
            << QRect(100, 501, 400, 300) << QSize(300, 200) << QPoint(100, 301);
        QTest::newRow("window low on the screen: above")
            << QRect(100, 690, 400, 300) << QSize(300, 200) << QPoint(100, 490);
        QTest::newRow("neither way: the bottom of the available area")
            << QRect(100, 150, 400, 700) << QSize(300, 200) << QPoint(100, 800);
        QTest::newRow("taller than the screen: its top on the screen")
            << QRect(100, 150, 400, 700) << QSize(300, 1200) << QPoint(100, 0);
        QTest::newRow("sticking out right: moved left")
            << QRect(900, 100, 400, 300) << QSize(300, 200) << QPoint(700, 400);
        QTest::newRow("partly off the left: kept as it is")
            << QRect(-50, 100, 400, 300) << QSize(300, 200) << QPoint(-50, 400);
    }
    void placement() {
        QFETCH(QRect, window);
        QFETCH(QSize, size);
        QFETCH(QPoint, topLeft);
        QCOMPARE(pickerTopLeft(window, size, QRect(0, 0, 1000, 1000)), topLeft);
    }
    // A panel 40 high at the top and one 60 high at the bottom leave 40 to 939.
    void placementBesidePanels() {
        const QRect available(0, 40, 1000, 900);
        QCOMPARE(pickerTopLeft({100, 200, 400, 540}, {300, 200}, available), QPoint(100, 740));
        QCOMPARE(pickerTopLeft({100, 241, 400, 540}, {300, 200}, available), QPoint(100, 41));
        QCOMPARE(pickerTopLeft({100, 240, 400, 540}, {300, 200}, available), QPoint(100, 40));
        QCOMPARE(pickerTopLeft({100, 239, 400, 540}, {300, 200}, available), QPoint(100, 740));
    }

    void layout() {
        const PickerGeometry g = picker(7, 4); // W 1200, P 360, two columns
        QCOMPARE(QSizeF(g.windowWidth, g.windowHeight), QSizeF(2600, 1960));
        QCOMPARE(g.border(), (TwipRect{10, 10, 2590, 1950}));
        QCOMPARE(g.frame(6), (TwipRect{1300, 445, 1200, 280}));
        QCOMPARE(g.label(6), (TwipRect{1300, 490, 1200, 360}));
        QCOMPARE(g.picturePixels(7, TwipScale{15, 15}), QRect(87, 53, 81, 22));
        QCOMPARE(QSizeF(picker(3, 4).windowWidth, picker(3, 4).windowHeight), QSizeF(1400, 1240));
        QCOMPARE(picker(5, 4).windowWidth, 1400.0); // five fill one column
        QCOMPARE(picker(6, 4).windowWidth, 2600.0); // six need two
        QCOMPARE(QSizeF(picker(0, 0).windowWidth, picker(0, 0).windowHeight), QSizeF(200, 160));
    }

    void hitTest_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("expected"); // -1: nothing picked
        // Seven duties, W 1200, P 360: entry 6 is column 1, row 1.
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
        QCOMPARE(picker(7, 4).entryAt(x, y, PickerConfig::green().pickableEntries).value_or(-1),
                 expected);
    }

    void hitTestEdgeCases() {
        const int yellow = PickerConfig::yellow().pickableEntries;
        // A 20th yellow column of six-character names lies beyond 16 bits (34300 twips).
        QCOMPARE(picker(96, 6, DutyColour::Yellow).frame(95).left, 34300.0);
        QCOMPARE(picker(96, 6, DutyColour::Yellow).entryAt(34300 + 10, 85 + 10, yellow), 95);
        // Yellow index 100 would be stored as code 100, which reads back as green duty 0.
        const TwipRect last = picker(101, 2, DutyColour::Yellow, 10).frame(100);
        QCOMPARE(picker(101, 2, DutyColour::Yellow, 10).entryAt(last.left, last.top, 101), 100);
        QVERIFY(!picker(101, 2, DutyColour::Yellow, 10).entryAt(last.left, last.top, yellow));
        // Names of no width leave nothing to pick.
        QVERIFY(!picker(3, 0).entryAt(150, 200, 101));
    }

    // An entry's picture is drawn on its own, from only the labels that can reach it; it must
    // show exactly the pixels of the same place in the whole picker.
    void entryPictureIsCropOfPicker_data() {
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<int>("tagHeight");
        QTest::addColumn<int>("width"); // characters, and the names' length
        QTest::addColumn<double>("dpr");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("perColumn");
        const auto row = [](const char* name, int fontSize, int tagHeight, int width, double dpr,
                            int count = 7, int perColumn = 3) {
            QTest::newRow(name) << fontSize << tagHeight << width << dpr << count << perColumn;
        };
        row("defaults", 9, 300, 4, 1.0);
        row("high-resolution screen", 9, 300, 4, 2.0);
        row("names fill their column", 9, 300, 1, 1.0);
        row("the label above reaches down into the picture", 24, 300, 4, 1.0);
        row("text wider than its column, into the next", 30, 600, 2, 1.0);
        row("low tags, large font, both ways", 20, 150, 2, 2.0);
        row("rows lower than a label's offset", 6, 40, 4, 1.0, 20, 8);
        row("a long list", 9, 300, 4, 1.0, 40, 6);
    }

    void entryPictureIsCropOfPicker() {
        QFETCH(int, fontSize);
        QFETCH(int, tagHeight);
        QFETCH(int, width);
        QFETCH(double, dpr);
        QFETCH(int, count);
        QFETCH(int, perColumn);
        RosterState state = roster(count, width, perColumn);
        state.fontSize = fontSize;
        state.tagHeight = tagHeight;
        const QStringList words =
            QStringLiteral("掃除当番,日直,黒板,給食,花の水や,ごみ出し,窓閉め").split(u',');
        QStringList names;
        for (int k = 0; k < count; ++k)
            names << words[k % words.size()].left(width);
        const TwipScale scale{15, 15};
        const PickerGeometry geometry = computePickerGeometry(state, DutyColour::Green);
        const PickerPainter painter(PickerConfig::green(), geometry, names, fontSize, scale);
        QImage whole = painter.render(dpr);
        whole.setDevicePixelRatio(1); // copied pixel for pixel
        for (int k = 0; k < geometry.count; ++k) {
            const QRect crop = geometry.picturePixels(k, scale);
            QImage expected(crop.size() * dpr, QImage::Format_RGB32);
            expected.fill(look::kWindowBackground);
            QPainter copy(&expected);
            copy.drawImage(QPoint(0, 0), whole, QRect(crop.topLeft() * dpr, crop.size() * dpr));
            copy.end();
            QImage drawn =
                painter.entryPicture(k, dpr).toImage().convertToFormat(QImage::Format_RGB32);
            drawn.setDevicePixelRatio(1);
            QVERIFY2(drawn == expected, qPrintable(QStringLiteral("entry %1").arg(k)));
        }
    }

    void pictureCache_data() {
        QTest::addColumn<bool>("redrawn");
        QTest::addColumn<Change>("change"); // between two loads
        const auto row = [](const char* name, bool redrawn, Change change) {
            QTest::newRow(name) << redrawn << change;
        };
        row("nothing: kept from the load before", false, [](Inputs&) {});
        row("a load that does not show it drops it", true,
            [](Inputs& i) { load(i.cache, i, false); });
        row("its own name", true, [](Inputs& i) { i.state.greenDutyNames[3] = "黄当番3"; });
        row("the name above, whose label reaches into it", true,
            [](Inputs& i) { i.state.greenDutyNames[2] = "緑当番X"; });
        row("font size", true, [](Inputs& i) { i.state.fontSize = 14; });
        row("tag height", true, [](Inputs& i) { i.state.tagHeight = 400; });
        row("twips per pixel", true, [](Inputs& i) { i.scale = {12, 12}; });
        row("device pixel ratio", true, [](Inputs& i) { i.dpr = 2; });
    }

    void pictureCache() {
        QFETCH(Change, change);
        Inputs in;
        const QPixmap before = load(in.cache, in);
        change(in);
        const QPixmap after = load(in.cache, in);
        QTEST(after.cacheKey() != before.cacheKey(), "redrawn");
        EntryPictureCache fresh(PickerConfig::green()); // what the board gets without a cache
        QCOMPARE(after.toImage(), load(fresh, in).toImage());
    }
};

QTEST_MAIN(PickersTest)
#include "tst_pickers.moc"

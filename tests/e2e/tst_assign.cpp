// Carries duties and markers with the real pointer on a real X server (xdotool): picks from the
// pickers, picks up board markers, drops them on persons and in the trash zone, and checks the
// job file's bytes and the board drawn after each drop. The placement rules themselves are
// tested on the widgets (tests/board); here the real pointer, window manager and screen are.
#include "e2e/E2eSupport.h"

using namespace zel::e2e;

namespace {

const Layout kStart;

// Places on the start board, in twips from its top-left. The command buttons stand under the
// tag area; the picker buttons at its left.
QRectF pickerButton(bool green) {
    return {green ? 500.0 : 0.0, Layout::tagAreaBottom() + 25, 500, 350};
}

// A pointer place in person p's row (or in an empty place of the grid) where a carried marker
// of the given width sits centred on the pointer, clear of the tags.
QPointF rowPoint(int p, double carriedWidth) {
    return {(p / Layout::kPerColumn) * kStart.columnPitch() + kStart.tagWidth + 350 +
                carriedWidth / 2,
            (p % Layout::kPerColumn) * Layout::kRowPitch + 40 + Layout::kRowPitch / 2};
}

// A pointer place in the trash zone that the carried marker can still reach: the zone starts
// one row pitch and 780 twips above the bottom, the marker stops 1050 above it.
QPointF trashPoint(double carriedHeight) {
    const double zone = std::max(Layout::height() - Layout::kRowPitch - 780,
                                 Layout::kPerColumn * Layout::kRowPitch);
    const double lowest =
        std::max(Layout::height() - 1050, zone - carriedHeight / 2) + carriedHeight / 2;
    return {kStart.width() / 2 - 60, (zone + lowest) / 2};
}

// The trash can shown while a board marker is carried; empty board otherwise.
QRectF trashCan() {
    return {kStart.tagWidth + (kStart.width() - kStart.tagWidth - 200) / 2,
            Layout::height() - Layout::kRowPitch - 850, 480, 480};
}

// Entry k's frame in a picker of three entries a column, from the picker's top-left.
QRectF pickerEntry(int k, int chars) {
    const double w = 300.0 * chars;
    return {(k / 3) * w + 100, (k % 3) * Layout::kRowPitch + 85, w, Layout::kRowPitch - 80};
}

} // namespace

class AssignEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void carryAndDrop_data();
    void carryAndDrop();
    void quitWhileCarrying();

  private:
    QPoint board(QPointF twips) const { return s.origin + QPoint(px(twips.x()), px(twips.y())); }
    bool pick(bool green, int k);
    bool pickUp(int marker);
    bool carryTo(QPointF twips, bool green);
    std::optional<QPoint> quitItem();

    Session s;
};

void AssignEndToEndTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");
    STEP(s.prepare());
}

void AssignEndToEndTest::init() {
    STEP(s.start(startRoster()) && s.placeWindow({160, 120}) && s.boardShows(kStart, "start"));
}

void AssignEndToEndTest::cleanup() {
    Session::stop(s.program.get());
}

// Presses a picker button: the picker stands directly under the window. A press on entry k
// closes it and puts the pointer in the middle of the board, 300 twips above the buttons.
bool AssignEndToEndTest::pick(bool green, int k) {
    clickAt(board(pickerButton(green).center()));
    QRect entry;
    const bool shown = eventually(
        [&] {
            const QStringList all = s.windows();
            const QRect main = windowInfo(s.window).outer();
            const WindowInfo picker = windowInfo(all.value(all.indexOf(s.window) == 0 ? 1 : 0));
            entry = onScreen(picker.client.topLeft(), pickerEntry(k, kStart.chars(green)));
            const auto shot = grab();
            return all.size() == 2 &&
                   picker.outer().topLeft() == main.bottomLeft() + QPoint(0, 1) && shot &&
                   share(*shot, entry.adjusted(1, 1, -1, -1), green ? kGreenFill : kYellowFill) >
                       0.3;
        },
        10000);
    if (!shown)
        return s.fail("no picker with entry " + QString::number(k) + " under the window");
    clickAt(entry.center());
    if (!eventually([&] { return s.windows() == QStringList{s.window}; }, 10000))
        return s.fail("the picker did not close after the pick");
    const QPoint warp = board({kStart.width() / 2 - 60, Layout::height() - 930});
    return eventually([&] { return (pointer() - warp).manhattanLength() <= 2; }, 5000) ||
           s.fail("after the pick the pointer did not go onto the board");
}

// Presses a board marker: the trash can appears.
bool AssignEndToEndTest::pickUp(int marker) {
    const QRect can = onScreen(s.origin, trashCan());
    auto canShown = [&] {
        const auto shot = grab();
        return shot && share(*shot, can, kBackground) < 0.9;
    };
    if (canShown())
        return s.fail("the trash can's place is not empty before the pick-up");
    clickAt(board(kStart.marker(kStart.marks[marker]).center()));
    return eventually(canShown, 5000) || s.fail("no trash can appeared at the pick-up");
}

// Moves the pointer; the carried marker follows until its fill is centred on the pointer.
bool AssignEndToEndTest::carryTo(QPointF twips, bool green) {
    const QPoint target = board(twips);
    const QSize size = onScreen({}, QRectF(QPointF(), kStart.markerSize(green))).size();
    moveTo(target);
    QPoint off;
    const bool centred = eventually(
        [&] {
            const auto shot = grab();
            // The fill's bounding box where the marker stands when it is off by under 4 pixels.
            QRect fill;
            const QRect around =
                QRect(QPoint(), size + QSize(6, 6))
                    .translated(target - QPoint(size.width() / 2 + 3, size.height() / 2 + 3));
            for (int y = around.top(); shot && y <= around.bottom(); ++y)
                for (int x = around.left(); x <= around.right(); ++x)
                    if (shot->pixel(x, y) == (green ? kGreenFill : kYellowFill))
                        fill |= QRect(x, y, 1, 1);
            off = fill.isEmpty() ? QPoint(99, 99) : fill.center() - target;
            return std::abs(off.x()) <= 3 && std::abs(off.y()) <= 3;
        },
        5000);
    return centred || s.fail(QStringLiteral("the carried marker's centre is (%1, %2) pixels off "
                                            "the pointer")
                                 .arg(off.x())
                                 .arg(off.y()));
}

// The second item of the menu bar, 終了: the second group of dark text pixels in the strip
// between the window's top and the board.
std::optional<QPoint> AssignEndToEndTest::quitItem() {
    const QRect client = windowInfo(s.window).client;
    const auto shot = grab();
    if (client.isEmpty() || !shot)
        return std::nullopt;
    std::vector<std::pair<int, int>> groups;
    int gap = 1000;
    for (int x = client.left(); x <= client.right(); ++x) {
        bool ink = false;
        for (int y = client.top(); y < s.origin.y() && !ink; ++y)
            ink = qGray(shot->pixel(x, y)) < 110;
        if (ink && gap > 8)
            groups.push_back({x, x});
        if (ink)
            groups.back().second = x;
        gap = ink ? 0 : gap + 1;
    }
    if (groups.size() != 2)
        return std::nullopt;
    return QPoint((groups[1].first + groups[1].second) / 2, (client.top() + s.origin.y()) / 2);
}

void AssignEndToEndTest::carryAndDrop_data() {
    QTest::addColumn<QString>("source"); // "green k" or "yellow k": a picker entry; "marker i"
    QTest::addColumn<int>("person");     // -1: the trash zone
    QTest::addColumn<QByteArray>("job");
    QTest::newRow("green 掃除当番 to 高橋")
        << "green 0" << 2
        << QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 100  2  0\r\n");
    QTest::newRow("yellow 書記 to 山本, column 1")
        << "yellow 1" << 6
        << QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 1  6  0\r\n");
    // The moved marker keeps its record; 佐藤's row closes the gap.
    QTest::newRow("佐藤's yellow marker to 田中")
        << "marker 1" << 3 << QByteArray(" 3\r\n 100  0  0\r\n 1  3  0\r\n 102  5  0\r\n");
    QTest::newRow("渡辺's green marker into the trash")
        << "marker 2" << -1 << QByteArray(" 2\r\n 100  0  0\r\n 1  0  1200\r\n");
}

void AssignEndToEndTest::carryAndDrop() {
    QFETCH(QString, source);
    QFETCH(int, person);
    QFETCH(QByteArray, job);
    const int index = source.section(' ', 1).toInt();
    const bool fromBoard = source.startsWith("marker");
    const bool green = fromBoard ? kStart.marks[index].green() : source.startsWith("green");
    STEP(fromBoard ? pickUp(index) : pick(green, index));
    const QSizeF size = kStart.markerSize(green);
    STEP(carryTo(person < 0 ? trashPoint(size.height()) : rowPoint(person, size.width()), green));
    QCOMPARE(s.folder->read("zeljob.dat"), kStartJob); // nothing is stored before the drop
    click();
    STEP(s.filesAre({{"zeljob.dat", job}}, "drop"));
    Layout after;
    after.marks = Layout::marksOf(job);
    STEP(s.boardShows(after, "after the drop"));
}

// 終了 in the menu bar ends the program normally, writing nothing and leaving no other file.
void AssignEndToEndTest::quitWhileCarrying() {
    STEP(pick(true, 0));
    STEP(carryTo(rowPoint(2, kStart.markerSize(true).width()), true));
    const auto item = quitItem();
    QVERIFY2(item, "the menu bar does not show two items");
    clickAt(*item);
    QVERIFY2(s.program->waitForFinished(10000), "the program did not end after 終了");
    QCOMPARE(s.program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(s.program->exitCode(), 0);
    STEP(s.filesAre({}, "quit"));
    QStringList files = QDir(s.folder->path()).entryList(QDir::Files);
    QStringList expected = kDataFiles;
    files.sort();
    expected.sort();
    QCOMPARE(files, expected);
}

QTEST_GUILESS_MAIN(AssignEndToEndTest)
#include "tst_assign.moc"

#include "MainWindowFixture.h"

#include <QApplication>
#include <QPushButton>

using namespace zel;
using namespace zel::test;

// The picker buttons, a pick of each colour, and the marker pictures taken from the pickers.
class TestMainWindowPickers : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void buttonsFollowTheStateTable_data();
    void buttonsFollowTheStateTable();
    void pick_data();
    void pick();
    void pressOnThePicker_data();
    void pressOnThePicker();
    void pickEndsABoardMarkerCarry();
    void markerPicturesAreCropsOfTheirEntries_data();
    void markerPicturesAreCropsOfTheirEntries();
    void longYellowList();
    void reloadRedrawsChangedPictures_data();
    void reloadRedrawsChangedPictures();
};

namespace {
QImage rgb(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// The picker of a colour drawn whole, cropped at entry k: what an uncovered picker shows there.
QImage renderedEntry(const RosterState& state, DutyColour colour, int k, int dpr = 1) {
    const TwipScale scale{15, 15};
    const auto painter = makePickerPainter(PickerConfig::of(colour), state, scale);
    const QRect crop = computePickerGeometry(state, colour).picturePixels(k, scale);
    return painter->render(dpr)
        .copy(QRect(crop.topLeft() * dpr, crop.size() * dpr))
        .convertToFormat(QImage::Format_RGB32);
}

bool allPixelsAre(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour)
                return false;
    return true;
}
} // namespace

void TestMainWindowPickers::buttonsFollowTheStateTable_data() {
    QTest::addColumn<QString>("before"); // buttons pressed to reach the starting state
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("greenOpen");
    QTest::addColumn<int>("yellowOpen");

    QTest::newRow("0 0, Command1") << ""
                                   << "Command1" << 1 << 0;
    QTest::newRow("1 0, Command1") << "Command1"
                                   << "Command1" << 0 << 0;
    QTest::newRow("0 1, Command1") << "Command2"
                                   << "Command1" << 1 << 0;
    QTest::newRow("0 0, Command2") << ""
                                   << "Command2" << 0 << 1;
    QTest::newRow("0 1, Command2") << "Command2"
                                   << "Command2" << 0 << 0;
    QTest::newRow("1 0, Command2") << "Command1"
                                   << "Command2" << 0 << 1;
}

void TestMainWindowPickers::buttonsFollowTheStateTable() {
    QFETCH(QString, before);
    QFETCH(QString, press);
    QFETCH(int, greenOpen);
    QFETCH(int, yellowOpen);

    BoardFixture f;
    MainWindow& window = f.open();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto click = [&](const QString& name) {
        auto* button = f.board()->findChild<QPushButton*>(name);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    if (!before.isEmpty())
        click(before);
    click(press);

    QCOMPARE(f.state.greenPickerOpen, greenOpen);
    QCOMPARE(f.state.yellowPickerOpen, yellowOpen);
    QCOMPARE(window.isPickerShown(DutyColour::Green), greenOpen == 1);
    QCOMPARE(window.isPickerShown(DutyColour::Yellow), yellowOpen == 1);
    // An open picker stands directly under the window and leaves it the focus.
    if (DutyPicker* shown = window.picker(greenOpen ? DutyColour::Green : DutyColour::Yellow);
        shown && shown->isVisible())
        QCOMPARE(shown->frameGeometry().topLeft(),
                 QPoint(window.frameGeometry().left(), window.frameGeometry().bottom() + 1));
    QApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &window);
}

void TestMainWindowPickers::pick_data() {
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("k");
    QTest::addColumn<QRect>("carried"); // board pixels
    // After each step of the pick: carried marker shown, picker shown, pointer moved, own open
    // flag, Timer2 running, own pending flag.
    QTest::addColumn<QStringList>("steps");

    // Tags 300, four characters: W 1200, P 360; the window is 4760 twips high.
    QTest::newRow("green") << int(DutyColour::Green) << 6 << QRect(67, 248, 82, 22)
                           << QStringList{"ClosePicker 100100",    "FocusBoard 100100",
                                          "MovePointer 101100",    "ClearOpenFlag 101000",
                                          "EnableTracking 101010", "SetPendingFlag 101011"};
    QTest::newRow("yellow") << int(DutyColour::Yellow) << 7 << QRect(33, 248, 82, 23)
                            << QStringList{"MovePointer 111100",    "ClearOpenFlag 111000",
                                           "EnableTracking 111010", "SetPendingFlag 111011",
                                           "FocusBoard 111011",     "ClosePicker 101011"};
}

void TestMainWindowPickers::pick() {
    QFETCH(int, colour);
    QFETCH(int, k);
    QFETCH(QRect, carried);
    QFETCH(QStringList, steps);
    const auto own = DutyColour(colour);
    const auto other = own == DutyColour::Green ? DutyColour::Yellow : DutyColour::Green;
    const bool green = own == DutyColour::Green;

    BoardFixture f;
    MainWindow& window = f.open();
    // A placement of the other colour is under way: this pick replaces it.
    f.pick(other, 1);
    QCOMPARE((green ? f.state.pendingYellowPlacement : f.state.pendingGreenPlacement), 1);
    // The middle of the board, 300 twips above the window's bottom edge (7850 x 4760).
    const QPoint target = f.board()->mapToGlobal(QPoint(258, 255));
    f.platform.pointer = QPoint(-1, -1);

    QStringList seen;
    window.pickStepObserver = [&](PickStep step) {
        static const char* names[] = {"ClosePicker",   "FocusBoard",     "MovePointer",
                                      "ClearOpenFlag", "EnableTracking", "SetPendingFlag"};
        QString bits;
        for (bool b :
             {f.carried()->isVisible(), window.isPickerShown(own), f.platform.pointer == target,
              (green ? f.state.greenPickerOpen : f.state.yellowPickerOpen) == 1,
              window.timer2().isActive(),
              (green ? f.state.pendingGreenPlacement : f.state.pendingYellowPlacement) == 1})
            bits += b ? u'1' : u'0';
        seen << QStringLiteral("%1 %2").arg(QLatin1String(names[int(step)]), bits);
    };
    f.pick(own, k);

    QCOMPARE(seen, steps); // the last step shows the flags, the timer and the pointer after it
    QCOMPARE(f.state.pendingDutyIndex, k);
    QCOMPARE(f.state.greenPickerOpen + f.state.yellowPickerOpen, 0);
    QCOMPARE(f.state.pendingGreenPlacement + f.state.pendingYellowPlacement, 1);
    QCOMPARE(f.carried()->geometry(), carried);
    QCOMPARE(rgb(f.carried()->picture()), renderedEntry(f.state, own, k));
}

void TestMainWindowPickers::pressOnThePicker_data() {
    QTest::addColumn<QPoint>("at");  // picker pixels
    QTest::addColumn<int>("picked"); // -1: the press does nothing

    // Seven green duties, W 1200, P 360, five a column. Entry 6 is column 1, row 1.
    QTest::newRow("top of entry 6's label") << QPoint(100, 33) << 6;
    QTest::newRow("right end of entry 5's label") << QPoint(163, 13) << 5;
    QTest::newRow("left margin") << QPoint(6, 10) << -1;
    QTest::newRow("under the last entry") << QPoint(100, 100) << -1;
}

void TestMainWindowPickers::pressOnThePicker() {
    QFETCH(QPoint, at);
    QFETCH(int, picked);
    BoardFixture f;
    MainWindow& window = f.open();
    window.toggleGreenPicker();
    // The main window moved since: the entry is found in the picker all the same.
    window.move(window.pos() + QPoint(40, 0));
    f.state.pendingDutyIndex = -1;
    QTest::mousePress(window.picker(DutyColour::Green), Qt::RightButton, {}, at);
    QCOMPARE(f.state.pendingDutyIndex, picked);
    QCOMPARE(f.state.pendingGreenPlacement, picked >= 0 ? 1 : 0);
    QCOMPARE(window.isPickerShown(DutyColour::Green), picked < 0);
}

void TestMainWindowPickers::pickEndsABoardMarkerCarry() {
    BoardFixture f(" 1\r\n 2  3  0\r\n");
    MainWindow& window = f.open();
    f.pickUp(1);
    QCOMPARE(f.state.markerMovePending, 1);
    QVERIFY(!f.board()->marker(1)->isVisible());
    f.pick(DutyColour::Green, 2);
    QCOMPARE(f.state.markerMovePending, 0);
    QVERIFY(f.board()->marker(1)->isVisible());
    QVERIFY(!f.board()->trashCan()->isVisible());
    QVERIFY(!window.timer1().isActive());
    QCOMPARE(f.state.pendingGreenPlacement, 1);
}

void TestMainWindowPickers::markerPicturesAreCropsOfTheirEntries_data() {
    QTest::addColumn<int>("dpr"); // device pixels per pixel
    QTest::newRow("96 dpi") << 1;
    QTest::newRow("twice as dense") << 2;
}

void TestMainWindowPickers::markerPicturesAreCropsOfTheirEntries() {
    QFETCH(int, dpr);
    // Yellow 7 and green 12 (code 112) lie in column 1 and 2, row 2 of their pickers; green 50
    // and yellow -3 name no duty; the marker of person 150 stands beyond every tag.
    BoardFixture f(" 5\r\n 7  0  0\r\n 112  0  1200\r\n 150  1  0\r\n-3  2  0\r\n 6  150  0\r\n",
                   25, 300, 13);
    f.platform.dpr = dpr;
    f.open();
    QCOMPARE(f.board()->shownMarkers(), 5);
    const TwipScale scale{15, 15};
    QCOMPARE(computePickerGeometry(f.state, DutyColour::Yellow).picturePixels(7, scale),
             QRect(87, 53, 81, 22));

    const QImage yellow7 = renderedEntry(f.state, DutyColour::Yellow, 7, dpr);
    const QImage green12 = renderedEntry(f.state, DutyColour::Green, 12, dpr);
    QVERIFY(yellow7.pixelColor(5, 5) == QColor(255, 255, 0)); // the entry's fill, not blank
    QVERIFY(green12.pixelColor(5, 5) == QColor(128, 255, 128));
    QCOMPARE(rgb(f.board()->marker(1)->picture()), yellow7);
    QCOMPARE(rgb(f.board()->marker(2)->picture()), green12);
    // The board shows them as they are: a marker is one pixel wider than its picture.
    if (dpr == 1)
        QCOMPARE(f.board()
                     ->marker(1)
                     ->grab()
                     .toImage()
                     .convertToFormat(QImage::Format_RGB32)
                     .copy(yellow7.rect()),
                 yellow7);
    const QRgb background = qRgb(0, 0, 64);
    for (int m : {3, 4}) {
        QCOMPARE(f.board()->marker(m)->picture().deviceIndependentSize(), QSizeF(81, 22));
        QVERIFY2(allPixelsAre(rgb(f.board()->marker(m)->picture()), background),
                 qPrintable(QString::number(m)));
    }
    QCOMPARE(f.board()->marker(5)->geometry(),
             scale.rect(markerRect(f.state, f.window->layout().grid, 5)));
    // Nothing remains open after the layout's use of the pickers.
    QVERIFY(!f.window->isPickerShown(DutyColour::Green));
    QVERIFY(!f.window->isPickerShown(DutyColour::Yellow));

    // Markers of no duty or of no person are saved as they were.
    const QByteArray job = f.job();
    f.pickUp(1);
    f.dropAt(f.tagCentre(0));
    QCOMPARE(f.platform.store.saves, 1);
    QCOMPARE(f.job(), job);
}

// 101 yellow duties of six characters: the 20th column starts past 16 bits (34300 twips), and
// entry 100 would be stored as code 100, which reads back as green duty 0.
void TestMainWindowPickers::longYellowList() {
    BoardFixture f(" 1\r\n 95  0  0\r\n");
    f.writeDuties(DutyColour::Yellow, 101, 6);
    MainWindow& window = f.open();
    QCOMPARE(f.state.yellowMarkerWidth, 6);
    QCOMPARE(rgb(f.board()->marker(1)->picture()), renderedEntry(f.state, DutyColour::Yellow, 95));
    QVERIFY(rgb(f.board()->marker(1)->picture()).pixelColor(5, 5) == QColor(255, 255, 0));

    window.toggleYellowPicker();
    DutyPicker* picker = window.picker(DutyColour::Yellow);
    QCOMPARE(picker->geometry().frame(95).left, 34300.0);
    QCOMPARE(picker->width(), 2533); // 21 columns of 1800 and 200 twips
    f.pick(DutyColour::Yellow, 100);
    QVERIFY(picker->isVisible());
    QCOMPARE(f.state.pendingYellowPlacement, 0);
    f.pick(DutyColour::Yellow, 95);
    QCOMPARE(f.state.pendingDutyIndex, 95);
    QCOMPARE(f.state.pendingYellowPlacement, 1);
    QCOMPARE(f.carried()->width(), 122); // 1830 twips
}

void TestMainWindowPickers::reloadRedrawsChangedPictures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("the duty's name")
        << kYellowListFile
        << QStringList{"8", "黄A", "黄B", "黄C", "改名当番", "黄E", "黄F", "黄G", "黄H"};
    QTest::newRow("font size") << kParameterFile << QStringList{"10", "5", "1000", "300", "12"};
    QTest::newRow("duties a column")
        << kParameterFile << QStringList{"10", "4", "1000", "300", "9"};
    QTest::newRow("tag height") << kParameterFile << QStringList{"10", "5", "1000", "400", "9"};
}

// Every load shows each marker as its entry looks now.
void TestMainWindowPickers::reloadRedrawsChangedPictures() {
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    // At four a column, yellow 3 has entry 7 beside it, whose frame its picture reaches into.
    BoardFixture f(" 2\r\n 3  0  0\r\n 103  1  0\r\n");
    MainWindow& window = f.open();
    const QImage before = rgb(f.board()->marker(1)->picture());
    f.folder.writeLines(file, lines);
    window.reload();
    QCOMPARE(rgb(f.board()->marker(1)->picture()), renderedEntry(f.state, DutyColour::Yellow, 3));
    QVERIFY(rgb(f.board()->marker(1)->picture()) != before);
    QCOMPARE(rgb(f.board()->marker(2)->picture()), renderedEntry(f.state, DutyColour::Green, 3));
}

QTEST_MAIN(TestMainWindowPickers)
#include "tst_mainwindow_pickers.moc"

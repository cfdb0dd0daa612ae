// The main window as the user drives it: picker buttons, picks, carrying and dropping duties and
// markers, what ends a carry, the marker pictures, clearing the board, the blinking caption.

#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "pickers/DutyPicker.h"
#include "support/BoardWindow.h"
#include "support/TableRow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QWindow>

using namespace zel;
using namespace zel::test;

namespace {
constexpr DutyColour kGreen = DutyColour::Green, kYellow = DutyColour::Yellow;
constexpr int kTrash = -1, kReload = -2;
// Green 5 and yellow 1 on person 3, yellow 2 on person 12: column pitch 3800, window 11750 wide.
const QByteArray kJob(" 3\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n");

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}
// Entry k cropped from its whole picker: what an uncovered picker shows there.
QImage entry(const RosterState& state, DutyColour colour, int k) {
    const TwipScale scale{15, 15};
    return rgb(makePickerPainter(PickerConfig::of(colour), state, scale)
                   ->render(1)
                   .copy(computePickerGeometry(state, colour).picturePixels(k, scale)));
}

// Collects the regions a widget paints.
struct PaintRecorder : QObject {
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// The window over 25 persons, 7 green duties unless told (see BoardWindow::openTwentyFive).
struct Board : BoardWindow {
    explicit Board(const QByteArray& job = kJob, int greenDuties = 7) {
        openTwentyFive(job, greenDuties);
    }
    BoardView* board() const { return window->board(); }
    MarkerView* carried() const { return board()->carriedMarker(); }
    QImage picture(int m) const { return rgb(board()->markerPicture(m).toImage()); }

    // The numbers of the board markers, "-" for one that is hidden.
    QString markers() const {
        QStringList out;
        for (int m = 1; m <= board()->shownMarkers(); ++m)
            out << (board()->isMarkerShown(m) ? QString::number(m) : QStringLiteral("-"));
        return out.join(u' ');
    }
    // What of a carry is under way, in words; empty when nothing is.
    QString carry() const {
        const Carry& c = window->carry();
        const auto placing = c.placing();
        const bool on[] = {carried()->isVisible(),
                           board()->trashCan()->isVisible(),
                           window->timer1().isActive(),
                           window->timer2().isActive(),
                           c.movingMarker().has_value(),
                           c.isFrozen(),
                           placing && placing->colour == kGreen,
                           placing && placing->colour == kYellow};
        const QStringList names =
            u"carried trash timer1 timer2 move frozen green yellow"_qs.split(' ');
        QStringList out;
        for (int i = 0; i < 8; ++i)
            if (on[i])
                out << names[i];
        return out.join(u' ');
    }

    // Presses entry k of a colour's picker, opening the picker first.
    void pick(DutyColour colour, int k, Qt::MouseButton button = Qt::LeftButton) {
        if (!window->isPickerShown(colour))
            colour == kGreen ? window->toggleGreenPicker() : window->toggleYellowPicker();
        const TwipRect r = window->picker(colour)->geometry().frame(k);
        QTest::mousePress(window->picker(colour), button, {},
                          (QPointF(r.left + r.width / 2, r.top + r.height / 2) / 15).toPoint());
    }
    // "marker m" presses board marker m where it stands; "green" or "yellow" picks entry 4.
    void start(const QString& what, Qt::MouseButton button = Qt::LeftButton) {
        if (what.startsWith("marker")) {
            const QRect m = board()->markerRect(what.back().digitValue());
            QTest::mousePress(board(), button, {}, m.center());
        } else {
            pick(what == "green" ? kGreen : kYellow, 4, button);
        }
    }
    // Presses the carried marker with its centre on person p's tag place, or in the trash zone.
    void dropAt(int p, Qt::MouseButton button = Qt::LeftButton) {
        const BoardLayout& l = window->layout();
        const QPointF twips = p == kTrash
                                  ? QPointF(l.boardWidth() / 2, trashZoneStart(l) + 60)
                                  : QPointF(p / 10 * l.grid.columnPitch + 600, p % 10 * 360 + 210);
        const QPoint at = (twips / 15).toPoint();
        carried()->move(at - carried()->rect().center());
        QTest::mousePress(carried(), button, {}, at - carried()->pos());
    }
};

struct Drop {
    QString start;
    int target; // a person, or kTrash
    Qt::MouseButton button;
    QString markers, carry; // afterwards
    QByteArray job;         // stored; empty: untouched, not reloaded
};
} // namespace
Q_DECLARE_METATYPE(Drop)

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // "open": the green and yellow flags afterwards; an open picker stands right under the window.
    void stateTable_data() {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QString>("open");
        row("0 0, Command1", "Command1", "10");
        row("1 0, Command1", "Command1 Command1", "00");
        row("0 1, Command1", "Command2 Command1", "10");
        row("0 0, Command2", "Command2", "01");
        row("0 1, Command2", "Command2 Command2", "00");
        row("1 0, Command2", "Command1 Command2", "01");
    }
    void stateTable() {
        QFETCH(QString, presses);
        QFETCH(QString, open);
        Board f;
        MainWindow& window = *f.window;
        for (const QString& name : presses.split(u' '))
            QTest::mouseClick(f.board()->findChild<QPushButton*>(name), Qt::LeftButton);
        QCOMPARE(QStringLiteral("%1%2").arg(f.state.greenPickerOpen).arg(f.state.yellowPickerOpen),
                 open);
        for (DutyColour c : {kGreen, kYellow}) {
            QCOMPARE(window.isPickerShown(c), open[c == kGreen ? 0 : 1] == u'1');
            if (window.isPickerShown(c))
                QCOMPARE(window.picker(c)->frameGeometry().topLeft(),
                         window.frameGeometry().bottomLeft() + QPoint(0, 1));
        }
        QTRY_COMPARE(QApplication::activeWindow(), &window); // the picker leaves it the focus
    }

    // A pick ends a board-marker carry and replaces a placement of the other colour; the pointer
    // goes 300 twips above the middle of the bottom edge. The window moved since the picker
    // opened: the press is found in the picker all the same.
    void pick_data() {
        QTest::addColumn<bool>("green");
        QTest::addColumn<QRect>("carried"); // board pixels
        row("green", true, QRect(67, 248, 82, 22));
        row("yellow", false, QRect(33, 248, 82, 23));
    }
    void pick() {
        QFETCH(bool, green);
        QFETCH(QRect, carried);
        const DutyColour own = green ? kGreen : kYellow;
        Board f;
        MainWindow& window = *f.window;
        f.start("marker 1");
        f.pick(green ? kYellow : kGreen, 1);
        QCOMPARE(f.markers(), "1 2 3");
        green ? window.toggleGreenPicker() : window.toggleYellowPicker();
        window.move(window.pos() + QPoint(40, 0));
        f.platform.pointer = QPoint(-1, -1);
        f.pick(own, 6);
        QCOMPARE(f.carry(), green ? "carried timer2 green" : "carried timer2 yellow");
        QCOMPARE(window.carry().placing()->dutyIndex, 6);
        QVERIFY(!window.isPickerShown(own) && !f.state.greenPickerOpen &&
                !f.state.yellowPickerOpen);
        QCOMPARE(f.platform.pointer, f.board()->mapToGlobal(QPoint(388, 255)));
        QCOMPARE(f.carried()->geometry(), carried);
        QCOMPARE(rgb(f.carried()->picture().toImage()), entry(f.state, own, 6));
    }

    // Each marker shows its entry as the picker draws it: yellow 7, green 12 (code 112). Green
    // 50 and yellow -3 name no duty: they show blank.
    void markerPictures() {
        Board f(" 4\r\n 7  0  0\r\n 112  0  1200\r\n 150  1  0\r\n-3  2  0\r\n", 13);
        QCOMPARE(f.picture(1), entry(f.state, kYellow, 7));
        QCOMPARE(f.picture(2), entry(f.state, kGreen, 12));
        QCOMPARE(f.picture(1).pixelColor(5, 5), QColor(255, 255, 0)); // the entries' fills
        QCOMPARE(f.picture(2).pixelColor(5, 5), QColor(128, 255, 128));
        QImage blank(81, 22, QImage::Format_RGB32);
        blank.fill(qRgb(0, 0, 64));
        QCOMPARE(f.picture(3), blank);
        QCOMPARE(f.picture(4), blank);

        // The board shows each picture where its marker stands, over the row frames, beside tags
        // that fill their own background (the frame's left edge, the gap, then the tag).
        const QImage shown = rgb(f.board()->grab().toImage());
        const QRect at = f.board()->markerRect(2);
        QCOMPARE(shown.copy(QRect(at.topLeft(), f.picture(2).size())), f.picture(2));
        const QRect frame = TwipScale{15, 15}.rect(f.window->layout().frames[1]);
        const QRect tag = f.board()->tagRect(1);
        const QColor edge(255, 192, 192);
        QCOMPARE(shown.pixelColor(frame.left(), frame.center().y()), edge);
        QCOMPARE(shown.pixelColor(frame.right(), frame.center().y()), edge);
        QCOMPARE(shown.pixelColor(frame.right() - 3, frame.top()), edge);
        QCOMPARE(shown.pixelColor(frame.right() - 3, frame.bottom()), edge);
        QCOMPARE(shown.pixelColor(frame.right() - 3, frame.top() + 2), QColor(0, 0, 64));
        QCOMPARE(shown.pixelColor(frame.left() + 2, frame.center().y()), QColor(0, 0, 64));
        QCOMPARE(shown.pixelColor(tag.left() + 1, tag.bottom() - 1), QColor(0, 255, 255));
    }

    // A drop that stores reloads: the person added behind the board's back shows. Where no one
    // stands nothing is stored and the carry goes on.
    // A reload repaints what changed on the board and leaves the rest: a renamed duty its
    // markers, a renamed person their tag (the screen keeps what it showed before).
    void reloadRepaintsWhatChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("repainted"); // of marker 1, marker 2 and tag 3
        row("nothing", "", "");
        row("the duty of marker 1", "duty", "marker 1");
        row("the person of marker 1", "person", "tag 3");
    }
    void reloadRepaintsWhatChanged() {
        QFETCH(QString, change);
        Board f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCoreApplication::processEvents();
        PaintRecorder recorder;
        f.board()->installEventFilter(&recorder);
        if (change == "duty") {
            QStringList greens = BoardWindow::numbered(u"緑当番"_qs, 7);
            greens[6] = u"緑当番X"_qs; // entry 5, marker 1's duty
            f.folder.writeLines(kGreenListFile, greens);
        } else if (change == "person") {
            QStringList persons = BoardWindow::numbered("P", 25, 2, 10);
            persons[4] = "Q03";
            f.folder.writeLines(kPersonFile, persons);
        }
        f.window->reload();
        QTest::qWait(50);
        QStringList repainted;
        if (recorder.painted.intersects(f.board()->markerRect(1)))
            repainted << "marker 1";
        if (recorder.painted.intersects(f.board()->markerRect(2)))
            repainted << "marker 2";
        if (recorder.painted.intersects(f.board()->tagRect(3)))
            repainted << "tag 3";
        QTEST(repainted.join(", "), "repainted");
    }

    void drop_data() {
        QTest::addColumn<Drop>("d");
        row("green duty on person 12",
            Drop("green", 12, Qt::LeftButton, "1 2 3 4", "",
                 " 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 104  12  1200\r\n"));
        row("yellow duty on person 0, right button",
            Drop("yellow", 0, Qt::RightButton, "1 2 3 4", "",
                 " 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 4  0  0\r\n"));
        // Marker 1 keeps its number: it now stands before marker 2, and person 3's gap closes.
        row("marker 1 to person 12", Drop("marker 1", 12, Qt::MiddleButton, "1 2 3", "",
                                          " 3\r\n 105  12  0\r\n 2  12  1200\r\n 1  3  0\r\n"));
        row("marker 1 in the trash",
            Drop("marker 1", kTrash, Qt::LeftButton, "1 2", "", " 2\r\n 2  12  0\r\n 1  3  0\r\n"));
        row("placement cancelled in the trash",
            Drop("green", kTrash, Qt::LeftButton, "1 2 3", "", ""));
        row("marker on person 25",
            Drop("marker 1", 25, Qt::LeftButton, "- 2 3", "carried trash timer1 timer2 move", ""));
    }
    void drop() {
        QFETCH(Drop, d);
        Board f;
        f.start(d.start, d.button);
        QVERIFY(f.carried()->isVisible());
        f.writePersons(26);
        f.dropAt(d.target, d.button);
        QCOMPARE(f.job(), d.job.isEmpty() ? kJob : d.job);
        QCOMPARE(f.platform.store.saves, d.job.isEmpty() ? 0 : 1);
        QCOMPARE(f.board()->shownTags(), d.job.isEmpty() ? 25 : 26);
        QCOMPARE(f.markers(), d.markers);
        QCOMPARE(f.platform.errors, QStringList());
        QCOMPARE(f.carry(), d.carry);
    }

    void hundredFirstMarkerIsRefused() {
        QByteArray full = " 100\r\n";
        for (int m = 0; m < 100; ++m)
            full += " 1  " + QByteArray::number(m % 20) + "  0\r\n";
        Board f(full);
        f.pick(kGreen, 0);
        f.dropAt(21);
        QCOMPARE(f.job(), full);
        QCOMPARE(f.platform.errors,
                 QStringList{"ゼルトミル|当番マークは 100 個までです。\n"
                             "いらないマークをごみ箱に捨ててから置いてください。"});
        QCOMPARE(f.carry(), "");
    }

    // A failed save reports, keeps the file and reloads it; a reload, as every load, ends a carry
    // and closes the pickers. No flag is left to make the next move remove a marker.
    void whatEndsACarry_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("failingDrop"); // a person, kTrash, or kReload for a reload instead
        row("new marker, failed save", "green", 12);
        row("move, failed save", "marker 1", 12);
        row("removal, failed save", "marker 1", kTrash);
        row("marker, reload", "marker 1", kReload);
        row("duty, reload", "yellow", kReload);
    }
    void whatEndsACarry() {
        QFETCH(QString, start);
        QFETCH(int, failingDrop);
        Board f;
        f.start(start);
        f.window->toggleGreenPicker();
        f.platform.store.failAfterBytes = 5;
        failingDrop == kReload ? f.window->reload() : f.dropAt(failingDrop);
        QCOMPARE(f.platform.errors.size(), failingDrop == kReload ? 0 : 1);
        QCOMPARE(f.platform.errors.filter(kJobFile).size(), f.platform.errors.size());
        QCOMPARE(f.job(), kJob);
        QCOMPARE(f.carry(), "");
        QCOMPARE(f.markers(), "1 2 3");
        QCOMPARE(QList<int>({f.state.markerCount, f.state.markerPerson[1],
                             f.window->carry().movingMarker().value_or(0)}),
                 QList<int>({3, 3, 0}));
        QVERIFY(!f.window->isPickerShown(kGreen) && f.state.greenPickerOpen == 0);
        f.platform.store.failAfterBytes = -1;
        f.start("marker 2");
        f.dropAt(12);
        QCOMPARE(f.job(), kJob);
    }

    // Clearing asks, then writes before it reloads: after a failed write the board shows what
    // the file still holds. Cancel leaves the board alone.
    void clearAll_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("failAfterBytes");
        QTest::addColumn<QByteArray>("job");
        row("OK", true, -1, QByteArray(" 0\r\n"));
        row("Cancel", false, -1, kJob);
        row("OK, the write fails", true, 2, kJob);
    }
    void clearAll() {
        QFETCH(bool, answer);
        QFETCH(int, failAfterBytes);
        QFETCH(QByteArray, job);
        Board f;
        f.platform.answers.push_back(answer);
        f.platform.store.failAfterBytes = failAfterBytes;
        f.writePersons(26);
        QTest::mouseClick(f.board()->eraseButton(), Qt::LeftButton);
        QCOMPARE(f.platform.confirmations,
                 QStringList{"当番マークの消去|すべてのマークを消します\n　よろしいですか？"});
        QCOMPARE(f.job(), job);
        QCOMPARE(f.platform.errors.size(), failAfterBytes < 0 ? 0 : 1);
        QCOMPARE(f.markers(), job == kJob ? "1 2 3" : "");
        QCOMPARE(f.board()->shownTags(), answer ? 26 : 25);
    }

    // The timers run while the carried board marker has somewhere to go. Timer2 moving the
    // marker a frame after the last refresh refreshes the markers it passed over at once
    // (within a frame Timer1 does it later); Timer1 stops at the first tick that finds
    // nothing left to refresh. Timer2 stops at a tick that leaves the marker where it was
    // while the window hears the pointer (it is over the window), and the window's next
    // pointer move starts it again; elsewhere Timer2 goes on asking where the pointer is. A
    // freeze stops Timer2 and leaves Timer1 as it is.
    void timersRestWithTheMarker() {
        Board f;
        MainWindow& w = *f.window;
        const auto tick = [](QTimer& timer) { QMetaObject::invokeMethod(&timer, "timeout"); };
        const auto pointTo = [&f](QPoint onBoard) {
            f.platform.pointer = f.board()->mapToGlobal(onBoard);
            QWindow* window = f.window->windowHandle(); // what the window hears of it
            QTest::mouseMove(window, window->mapFromGlobal(f.platform.pointer));
        };
        f.start("marker 1");
        QCOMPARE(f.carry(), "carried trash timer1 timer2 move");
        tick(w.timer1()); // the pick-up's refresh
        QVERIFY(w.timer1().isActive());
        tick(w.timer1()); // nothing moved since
        QCOMPARE(f.carry(), "carried trash timer2 move");

        QThread::msleep(20); // a frame after the last refresh
        pointTo({350, 100});
        tick(w.timer2()); // to the pointer, refreshing at once
        const QPoint at = f.carried()->pos();
        QCOMPARE(f.carry(), "carried trash timer2 move");
        tick(w.timer2()); // the pointer rests, and so does the marker
        QCOMPARE(f.carried()->pos(), at);
        QCOMPARE(f.carry(), "carried trash move");

        QThread::msleep(20);
        pointTo({380, 100});
        QCOMPARE(f.carry(), "carried trash timer2 move");
        tick(w.timer2());
        QCOMPARE(f.carried()->pos(), at + QPoint(30, 0));
        QCOMPARE(f.carry(), "carried trash timer2 move");

        // The pointer goes over another window: only asking tells where it is now.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w.windowHandle(), &leave);
        f.platform.pointer += QPoint(0, 30);
        QThread::msleep(20);
        tick(w.timer2());
        QCOMPARE(f.carried()->pos(), at + QPoint(30, 30));
        tick(w.timer2());
        QCOMPARE(f.carry(), "carried trash timer2 move");

        QTest::mousePress(f.board(), Qt::LeftButton, {}, QPoint(2, 2)); // the background
        QCOMPARE(f.carry(), "carried trash move frozen");
        pointTo({410, 100});
        QTest::qWait(120);
        QCOMPARE(f.carried()->pos(), at + QPoint(30, 30));
        QCOMPARE(f.carry(), "carried trash move frozen");
    }

    // With the event loop running, a carried marker at rest under a pointer at rest over the
    // window leaves both timers all but silent (Timer1 asked for a tick every millisecond).
    void restingCarryBarelyTicks() {
        Board f;
        f.start("marker 2");
        f.platform.pointer = f.board()->mapToGlobal(QPoint(350, 100));
        QWindow* window = f.window->windowHandle();
        QTest::mouseMove(window, window->mapFromGlobal(f.platform.pointer));
        int ticks = 0;
        for (QTimer* timer : {&f.window->timer1(), &f.window->timer2()})
            connect(timer, &QTimer::timeout, [&ticks] { ++ticks; });
        QTest::qWait(300);
        QVERIFY2(ticks <= 10, qPrintable(QString::number(ticks)));
        QCOMPARE(f.carry(), "carried trash move");
        QVERIFY((f.carried()->geometry().center() - QPoint(350, 100)).manhattanLength() <= 2);
    }

    // The menu bar's captions are drawn in its own font, one made for Japanese: the characters
    // need no search for another font that has them.
    void menuBarFontIsJapanese() {
        Board f;
        const QMenuBar* bar = f.window->menuBar();
        QStringList captions;
        for (const QAction* action : bar->actions())
            captions << action->text();
        QCOMPARE(captions, (QStringList{"おしながき", "終了"}));
        const QString family = QFontInfo(bar->font()).family();
        QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(family),
                 qPrintable(family));
    }

    // A reload shows the first caption but keeps the blink state: it stays one more tick.
    void captionBlinksAcrossReloads() {
        Board f;
        MainWindow& window = *f.window;
        QVERIFY(window.timer3().isActive() && window.timer3().interval() == 1000);
        QStringList captions{window.windowTitle()};
        for (const bool tick : {true, false, true, true}) {
            tick ? void(QMetaObject::invokeMethod(&window.timer3(), "timeout")) : window.reload();
            captions << window.windowTitle();
        }
        QCOMPARE(captions, (QStringList{"ゼルトミル", "ぜるとみる", "ゼルトミル", "ゼルトミル",
                                        "ぜるとみる"}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

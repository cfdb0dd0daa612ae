// The board driven by keys alone: assigning, moving and removing markers writes what the same
// drop by the pointer writes; Escape ends every kind of carry writing nothing; the focus frame
// and the picker's focus; the focus after the reload; the names a screen reader is given.

#include "board/BoardView.h"
#include "pickers/DutyPicker.h"
#include "support/BoardWindow.h"
#include "support/TableRow.h"

#include <QAccessible>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
// Green 5 and yellow 1 on person 3, yellow 2 on person 12.
const QByteArray kJob(" 3\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n");

// The window over 25 persons P00.., 7 green duties and 8 yellow (BoardWindow::openTwentyFive).
struct Board : BoardWindow {
    Board() { openTwentyFive(kJob); }
    BoardView* board() const { return window->board(); }

    // "down", "enter", "g", "shift+tab"...: each a key press on the board, as a person types.
    void keys(const QString& words) {
        static const QMap<QString, Qt::Key> names{
            {"up", Qt::Key_Up},       {"down", Qt::Key_Down},    {"left", Qt::Key_Left},
            {"right", Qt::Key_Right}, {"home", Qt::Key_Home},    {"end", Qt::Key_End},
            {"tab", Qt::Key_Tab},     {"enter", Qt::Key_Return}, {"del", Qt::Key_Delete},
            {"esc", Qt::Key_Escape},  {"g", Qt::Key_G},          {"y", Qt::Key_Y}};
        for (const QString& word : words.split(' ', Qt::SkipEmptyParts)) {
            if (word == "shift+tab")
                QTest::keyClick(board(), Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(board(), names.value(word));
        }
    }
    // What the focus frame surrounds: "tag p", "marker m", "carried" or "none".
    QString framed() const {
        const QWidget* frame = board()->findChild<QWidget*>("focusFrame");
        if (!frame || !frame->isVisible())
            return "none";
        const QRect inside = frame->geometry().adjusted(3, 3, -3, -3);
        for (int p = 0; p < board()->shownTags(); ++p)
            if (board()->tagRect(p) == inside)
                return QStringLiteral("tag %1").arg(p);
        for (int m = 1; m <= board()->shownMarkers(); ++m)
            if (board()->isMarkerShown(m) && board()->markerRect(m) == inside)
                return QStringLiteral("marker %1").arg(m);
        if (board()->carriedMarker()->geometry() == inside)
            return "carried";
        return "elsewhere";
    }
};
} // namespace

class BoardKeysTest : public QObject {
    Q_OBJECT

  private slots:
    // Keys; the job file afterwards (the same bytes a pointer drop writes); the framed widget.
    void saves_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<QString>("framed");
        row("green 緑当番1 to P02", "home down down g down enter",
            QByteArray(" 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 101  2  0\r\n"), "tag 2");
        row("yellow 黄当番6, a column on, to P13", "home right down down down y down right enter",
            QByteArray(" 4\r\n 105  3  0\r\n 2  12  0\r\n 1  3  1200\r\n 6  13  0\r\n"), "tag 13");
        // The moved record keeps its number; P03's yellow marker closes up to the left.
        row("P03's green marker to P14", "home down down down tab enter right down enter",
            QByteArray(" 3\r\n 105  14  0\r\n 2  12  0\r\n 1  3  0\r\n"), "marker 1");
        row("P03's yellow marker removed", "home down down down tab tab del",
            QByteArray(" 2\r\n 105  3  0\r\n 2  12  0\r\n"), "marker 1");
        row("the carried marker removed with Delete", "home right down down tab enter del",
            QByteArray(" 2\r\n 105  3  0\r\n 1  3  1200\r\n"), "tag 12");
    }
    void saves() {
        QFETCH(QString, keys);
        QFETCH(QByteArray, job);
        QFETCH(QString, framed);
        Board b;
        b.keys(keys);
        QCOMPARE(b.job(), job);
        QCOMPARE(b.platform.store.saves, 1);
        QCOMPARE(b.framed(), framed);
        QVERIFY(b.window->carry().isIdle());
        QVERIFY(!b.window->isPickerShown(DutyColour::Green) &&
                !b.window->isPickerShown(DutyColour::Yellow));
    }

    // The focus moves, the frame follows; the picker shows its focused entry.
    void focusShown() {
        Board b;
        QCOMPARE(b.framed(), "none"); // nothing before the first key
        b.keys("down");
        QCOMPARE(b.framed(), "tag 0");
        b.keys("down down down tab");
        QCOMPARE(b.framed(), "marker 1");
        b.keys("tab");
        QCOMPARE(b.framed(), "marker 3");
        b.keys("shift+tab shift+tab");
        QCOMPARE(b.framed(), "tag 3");
        b.keys("g right");
        QVERIFY(b.window->isPickerShown(DutyColour::Green));
        QCOMPARE(b.window->picker(DutyColour::Green)->focusedEntry(), std::optional<int>(5));
        b.keys("y");
        QVERIFY(!b.window->isPickerShown(DutyColour::Green));
        QCOMPARE(b.window->picker(DutyColour::Yellow)->focusedEntry(), std::optional<int>(0));
        b.keys("esc");
        QVERIFY(!b.window->isPickerShown(DutyColour::Yellow));
        QCOMPARE(b.state.yellowPickerOpen, 0);
        QCOMPARE(b.job(), kJob);
        // A keyboard carry stands beside the focused tag, framed, and goes where the focus goes.
        b.keys("tab enter");
        QCOMPARE(b.framed(), "carried");
        QVERIFY(!b.board()->isMarkerShown(1));
        const int y = b.board()->carriedMarker()->y();
        b.keys("down");
        QCOMPARE(b.board()->carriedMarker()->y(), y + 24); // one row pitch, 360 twips
        QCOMPARE(b.framed(), "carried");
    }

    // Escape ends a carry of each kind: the carried marker disappears, a moved one returns, and
    // nothing is written.
    void escapeCancels_data() {
        QTest::addColumn<QString>("carry");
        row("keyboard move", "keys");
        row("pointer placement", "pick");
        row("pointer move", "press");
        row("pointer move, frozen", "press freeze");
    }
    void escapeCancels() {
        QFETCH(QString, carry);
        Board b;
        if (carry == "keys") {
            b.keys("home down down down tab enter down");
        } else if (carry == "pick") {
            b.window->toggleGreenPicker();
            const TwipRect r = b.window->picker(DutyColour::Green)->geometry().frame(2);
            QTest::mousePress(b.window->picker(DutyColour::Green), Qt::LeftButton, {},
                              (QPointF(r.left + r.width / 2, r.top + r.height / 2) / 15).toPoint());
        } else {
            QTest::mousePress(b.board(), Qt::LeftButton, {}, b.board()->markerRect(1).center());
            if (carry.endsWith("freeze"))
                QTest::mousePress(b.board(), Qt::LeftButton, {}, QPoint(2, 2));
        }
        QVERIFY(!b.window->carry().isIdle());
        QVERIFY(b.board()->carriedMarker()->isVisible());
        QTest::keyClick(b.board(), Qt::Key_Escape);
        QVERIFY(b.window->carry().isIdle());
        QVERIFY(!b.board()->carriedMarker()->isVisible());
        QVERIFY(!b.board()->trashCan()->isVisible());
        QVERIFY(!b.window->timer1().isActive() && !b.window->timer2().isActive());
        for (int m = 1; m <= 3; ++m)
            QVERIFY(b.board()->isMarkerShown(m));
        QCOMPARE(b.job(), kJob);
        QCOMPARE(b.platform.store.saves, 0);
    }

    // Ctrl+G is the menu's: it opens the editor, not the picker.
    void menuKeysStayTheMenus() {
        Board b;
        b.keys("home");
        QTest::keyClick(b.board(), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!b.window->isPickerShown(DutyColour::Green));
        QVERIFY(!b.window->keyboardRoute().picker());
    }

    // A failed save: nothing changes, the board shows the file, the focus stays.
    void failedSaveKeepsFocus() {
        Board b;
        b.platform.store.failAfterBytes = 0;
        b.keys("home down down down tab tab del");
        QCOMPARE(b.job(), kJob);
        QCOMPARE(b.platform.errors.size(), 1);
        QCOMPARE(b.framed(), "marker 3");
    }

    // What a screen reader finds on the board: each tag and marker an object of its own, named,
    // where it is drawn, and the one the keys stand on.
    void spokenNames() {
        Board b;
        b.window->show();
        b.window->activateWindow();
        b.board()->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(b.board());
        QVERIFY(board);
        const int tags = b.board()->shownTags();
        QCOMPARE(tags, 25);
        QAccessibleInterface* tag3 = board->child(3);
        QAccessibleInterface* marker1 = board->child(tags);
        QCOMPARE(tag3->role(), QAccessible::StaticText);
        QCOMPARE(tag3->text(QAccessible::Name), u"P03"_qs);
        QCOMPARE(tag3->text(QAccessible::Description), u"緑当番5、黄当番1"_qs);
        QCOMPARE(board->child(4)->text(QAccessible::Description), u"当番なし"_qs);
        QCOMPARE(marker1->text(QAccessible::Name), u"緑当番5（P03）"_qs);
        QCOMPARE(board->child(tags + 1)->text(QAccessible::Name), u"黄当番2（P12）"_qs);
        // The board's own controls follow its pieces.
        QAccessibleInterface* last = board->child(board->childCount() - 1);
        QVERIFY(last && last->object());
        QCOMPARE(board->indexOfChild(last), board->childCount() - 1);
        QCOMPARE(board->indexOfChild(marker1), tags);
        for (QAccessibleInterface* piece : {tag3, marker1}) {
            QCOMPARE(piece->parent(), board);
            const QPoint centre = piece->rect().center();
            QCOMPARE(board->childAt(centre.x(), centre.y()), piece);
        }
        QCOMPARE(marker1->rect().size(), b.board()->markerRect(1).size());
        // The keys' place is the focused child; the focus frame around it is not in the way
        // of a reader's look at the point.
        b.keys("home down down down");
        QCOMPARE(board->focusChild(), tag3);
        QVERIFY(tag3->state().focused);
        QCOMPARE(board->childAt(tag3->rect().center().x(), tag3->rect().center().y()), tag3);
        b.keys("tab");
        QCOMPARE(board->focusChild(), marker1);
        QVERIFY(!tag3->state().focused);
        QCOMPARE(board->childAt(marker1->rect().center().x(), marker1->rect().center().y()),
                 marker1);
        // Picked up, the marker leaves its place: hidden there, the carried one takes the focus.
        b.keys("enter");
        QVERIFY(marker1->state().invisible);
        QCOMPARE(board->focusChild()->object(), b.board()->carriedMarker());
        // The caption blinks; the name a screen reader hears does not.
        b.window->timer3().setInterval(1);
        QTRY_VERIFY(b.window->windowTitle() != u"ゼルトミル"_qs);
        QCOMPARE(b.window->accessibleName(), u"ゼルトミル"_qs);
    }

    // The picker as assistive technology sees it: a list of the duty names.
    void pickerIsAList() {
        Board b;
        b.window->toggleYellowPicker();
        QAccessibleInterface* list =
            QAccessible::queryAccessibleInterface(b.window->picker(DutyColour::Yellow));
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 8);
        QStringList names;
        for (int k = 0; k < list->childCount(); ++k) {
            QCOMPARE(list->child(k)->role(), QAccessible::ListItem);
            QCOMPARE(list->indexOfChild(list->child(k)), k);
            names << list->child(k)->text(QAccessible::Name);
        }
        QCOMPARE(names.first(), u"黄当番0"_qs);
        QCOMPARE(names.last(), u"黄当番7"_qs);
        const QRect r = list->child(6)->rect();
        QCOMPARE(list->childAt(r.center().x(), r.center().y()), list->child(6));
    }
};

QTEST_MAIN(BoardKeysTest)
#include "tst_boardkeys.moc"

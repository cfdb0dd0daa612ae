// The keyboard route without widgets: where the focus goes for each key, what each key asks
// the window to do, and where the focus stands after the reload that follows a save.
#include "board/KeyboardRoute.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using zel::test::row;

namespace {
// Seven persons, four a column (column 1 holds persons 4 to 6): markers 1 and 2 on person 0,
// marker 3 on person 5. A picker opened by the keyboard has 5 entries, 3 a column.
RouteBoard board() {
    RouteBoard b;
    b.namesPerColumn = 4;
    b.markersOf = {{1, 2}, {}, {}, {}, {}, {3}, {}};
    return b;
}

QString describe(const RouteCommand& c) {
    const QString colour = c.colour == DutyColour::Green ? "green" : "yellow";
    switch (c.kind) {
    case RouteCommand::Kind::None:
        return "none";
    case RouteCommand::Kind::Redraw:
        return "redraw";
    case RouteCommand::Kind::OpenPicker:
        return "open " + colour;
    case RouteCommand::Kind::ClosePicker:
        return "close " + colour;
    case RouteCommand::Kind::Assign:
        return QStringLiteral("assign %1 %2 to %3").arg(colour).arg(c.entry).arg(c.person);
    case RouteCommand::Kind::PickUp:
        return QStringLiteral("pick up %1").arg(c.marker);
    case RouteCommand::Kind::Drop:
        return QStringLiteral("drop %1 on %2").arg(c.marker).arg(c.person);
    case RouteCommand::Kind::Remove:
        return QStringLiteral("remove %1").arg(c.marker);
    case RouteCommand::Kind::Cancel:
        return "cancel";
    }
    return "?";
}

const QMap<QString, RouteKey> kKeys{
    {"up", RouteKey::Up},       {"down", RouteKey::Down},       {"left", RouteKey::Left},
    {"right", RouteKey::Right}, {"home", RouteKey::Home},       {"end", RouteKey::End},
    {"tab", RouteKey::Tab},     {"backtab", RouteKey::BackTab}, {"enter", RouteKey::Enter},
    {"del", RouteKey::Delete},  {"esc", RouteKey::Escape},      {"g", RouteKey::G},
    {"y", RouteKey::Y}};

// Presses the keys as the window would answer them: an opened picker is shown with 5 entries,
// a pick-up makes the marker the carried one.
RouteCommand pressAll(KeyboardRoute& route, RouteBoard& b, const QString& keys) {
    RouteCommand last;
    for (const QString& word : keys.split(' ', Qt::SkipEmptyParts)) {
        last = route.press(kKeys.value(word), b);
        if (last.kind == RouteCommand::Kind::OpenPicker) {
            route.pickerOpened(last.colour, 5, 3);
            b.pickerShown = true;
        } else if (last.kind == RouteCommand::Kind::PickUp) {
            b.carriedMarker = last.marker;
        }
    }
    return last;
}

QString focusOf(const KeyboardRoute& route) {
    QString out = route.person() ? QString::number(*route.person()) : "-";
    if (route.markerPlace())
        out += QStringLiteral(" marker %1").arg(*route.markerPlace());
    if (route.picker())
        out += QStringLiteral(" entry %1").arg(route.picker()->entry);
    if (route.carried())
        out += QStringLiteral(" carrying %1").arg(*route.carried());
    return out;
}
} // namespace

class KeyboardRouteTest : public QObject {
    Q_OBJECT

  private slots:
    void keys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("focus"); // person, then the marker place, entry or carry
        QTest::addColumn<QString>("last");  // what the last key asks for
        row("the first key only shows the focus", "end", "0", "redraw");
        row("down the column", "down down down", "2", "redraw");
        row("down stops at the column's end", "down down down down down", "3", "redraw");
        row("up stops at row 0", "down up up", "0", "redraw");
        row("right keeps the row", "down down right", "5", "redraw");
        row("right into a shorter column: its last person", "end home down down down right", "6",
            "redraw");
        row("right past the last column stays", "down right right", "4", "redraw");
        row("left back", "down right left", "0", "redraw");
        row("end and home", "down end", "6", "redraw");
        row("tab to the first marker", "home tab", "0 marker 0", "redraw");
        row("tab on, then back to the tag", "home tab tab tab", "0", "redraw");
        row("shift+tab from the tag: the last marker", "home backtab", "0 marker 1", "redraw");
        row("tab without markers does nothing", "home down tab", "1", "none");
        row("an arrow leaves the marker", "home tab down", "1", "redraw");
        row("delete without a marker does nothing", "home del", "0", "none");
        row("delete the second marker", "home tab tab del", "0 marker 1", "remove 2");
        row("enter picks the marker up", "home tab enter", "0 carrying 1", "pick up 1");
        row("arrows carry it, enter drops it", "home tab enter down right", "5 carrying 1",
            "redraw");
        row("drop on the focused person", "home tab enter down right enter", "5", "drop 1 on 5");
        row("tab does nothing while carrying", "home tab enter tab", "0 carrying 1", "none");
        row("delete removes the carried marker", "home tab tab enter down del", "1", "remove 2");
        row("escape cancels the carry", "home tab enter down esc", "1", "cancel");
        row("escape with nothing carried still cancels", "esc", "-", "cancel");
        row("g opens the green picker on entry 0", "home down g", "1 entry 0", "open green");
        row("picker: down the column, then across", "home g down down down", "0 entry 3", "redraw");
        row("picker: right moves a column", "home g down right", "0 entry 4", "redraw");
        row("picker: no entry there", "home g down right right", "0 entry 4", "redraw");
        row("picker: up stops at entry 0", "home g up left", "0 entry 0", "redraw");
        row("picker: end", "home g end", "0 entry 4", "redraw");
        row("picker: enter assigns to the focused person", "home down down y down enter", "2",
            "assign yellow 1 to 2");
        row("picker: escape closes it", "home g down esc", "0", "close green");
        row("picker: its own letter closes it", "home g g", "0", "close green");
        row("picker: the other letter opens the other", "home g y", "0 entry 0", "open yellow");
        row("picker: a pick ends a keyboard carry", "home tab enter g enter", "0",
            "assign green 0 to 0");
        row("picker: tab means nothing", "home g tab", "0 entry 0", "none");
    }
    void keys() {
        QFETCH(QString, keys);
        QFETCH(QString, focus);
        QFETCH(QString, last);
        KeyboardRoute route;
        RouteBoard b = board();
        QCOMPARE(describe(pressAll(route, b, keys)), last);
        QCOMPARE(focusOf(route), focus);
    }

    // What the pointer did meanwhile: it closed the picker or ended the carry.
    void pointerInBetween() {
        KeyboardRoute route;
        RouteBoard b = board();
        pressAll(route, b, "home g down");
        b.pickerShown = false; // its button closed it
        QCOMPARE(describe(route.press(RouteKey::Down, b)), "redraw");
        QCOMPARE(focusOf(route), "1");

        pressAll(route, b, "up tab enter");
        b.carriedMarker = 3; // the pointer picked up another marker: Enter drops nothing
        QCOMPARE(describe(route.press(RouteKey::Enter, b)), "none");
        QCOMPARE(focusOf(route), "0");
    }

    void noPersons() {
        KeyboardRoute route;
        RouteBoard b;
        QCOMPARE(describe(route.press(RouteKey::Down, b)), "none");
        QCOMPARE(describe(route.press(RouteKey::G, b)), "none");
        QCOMPARE(describe(route.press(RouteKey::Escape, b)), "cancel");
        QCOMPARE(focusOf(route), "-");
    }

    // The reload after a save: keys, then the board as the files hold it now.
    void afterLoad_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("rows"); // markers per person after the save, "1 2|||..."
        QTest::addColumn<QString>("focus");
        row("a removal: the next marker takes the place", "home tab del", "1|||||2|", "0 marker 0");
        row("the last marker removed: the next one to the left", "home tab tab del", "1|||||2|",
            "0 marker 0");
        row("the only marker removed: the tag", "home tab del", "||||||", "0");
        row("a drop: the dropped marker, in its new row", "home tab enter down right enter",
            "2|||||1 3|", "5 marker 0");
        row("an assignment keeps the person", "home end g enter", "1 2|||||3|4", "6");
        row("fewer persons: the last one", "home end", "1 2|||", "3");
    }
    void afterLoad() {
        QFETCH(QString, keys);
        QFETCH(QString, rows);
        QFETCH(QString, focus);
        KeyboardRoute route;
        RouteBoard b = board();
        pressAll(route, b, keys);
        RouteBoard loaded;
        loaded.namesPerColumn = 4;
        for (const QString& row : rows.split('|')) {
            loaded.markersOf.emplace_back();
            for (const QString& m : row.split(' ', Qt::SkipEmptyParts))
                loaded.markersOf.back().push_back(m.toInt());
        }
        route.boardLoaded(loaded);
        QCOMPARE(focusOf(route), focus);
    }

    void boardFromRecords() {
        RosterState state;
        state.personCount = 3;
        state.markerCount = 4;
        state.markerPerson[1] = 0;
        state.markerPerson[2] = 2;
        state.markerPerson[3] = 0;
        state.markerPerson[4] = 7; // no such person
        BoardGrid grid;
        grid.namesPerColumn = 2;
        const RouteBoard b = routeBoardOf(state, grid);
        QCOMPARE(b.namesPerColumn, 2);
        QCOMPARE(b.markersOf, (std::vector<std::vector<int>>{{1, 3}, {}, {2}}));
    }
};

QTEST_APPLESS_MAIN(KeyboardRouteTest)
#include "tst_keyboardroute.moc"

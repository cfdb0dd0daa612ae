// The carry without widgets: what each press decides in every state, and which events start,
// change and end a carry.

#include "board/Carry.h"
#include "layout/BoardLayout.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using zel::test::row;
using Outcome = DropDecision::Outcome;
using Kind = MarkerEdit::Kind;

namespace {
// 25 persons, 10 a column, tags 1000 x 300: rows 360 twips apart, columns 2500 apart, the
// window 4760 high, so the trash zone starts at y 3620 (row 9 ends at 3640). Markers: green 5
// and yellow 1 on person 3, yellow 2 on person 12.
RosterState roster(int markerCount = 3) {
    RosterState s;
    s.personCount = 25;
    s.namesPerColumn = 10;
    s.tagWidth = 1000;
    s.tagHeight = 300;
    s.markerCount = markerCount;
    for (int m = 1; m <= markerCount; ++m) {
        s.markerDuty[m] = m == 1 ? 105 : m == 2 ? 2 : 1;
        s.markerPerson[m] = m == 2 ? 12 : 3;
    }
    return s;
}

// "green 4", "yellow 2", "marker 1", "frozen green 4", "frozen marker 1" or "idle".
Carry carrying(const QString& what) {
    Carry c;
    const QStringList words = what.split(u' ');
    const int n = words.last().toInt();
    if (what.contains(u"green"))
        c.pick(DutyColour::Green, n);
    else if (what.contains(u"yellow"))
        c.pick(DutyColour::Yellow, n);
    else if (what.contains(u"marker"))
        c.pickUp(n, 100);
    if (what.startsWith(u"frozen"))
        c.freeze();
    return c;
}

// The carry in words: what is carried and whether the timers run.
QString describe(const Carry& c) {
    QStringList out;
    if (const auto p = c.placing())
        out << QStringLiteral("%1 %2")
                   .arg(p->colour == DutyColour::Green ? "green" : "yellow")
                   .arg(p->dutyIndex);
    if (const auto m = c.movingMarker())
        out << QStringLiteral("marker %1").arg(*m);
    if (c.isFrozen())
        out << QStringLiteral("frozen");
    if (c.tracksPointer())
        out << QStringLiteral("tracks");
    if (c.refreshesMarkers())
        out << QStringLiteral("refreshes");
    return out.isEmpty() ? QStringLiteral("idle") : out.join(u", ");
}

const QPointF kPerson12(2500 + 600, 2 * 360 + 200);
const QPointF kPerson0(600, 0); // above the first row counts as row 0
const QPointF kTrashEdge(600, 3620);
const QPointF kJustAboveTrash(600, 3619.9); // row 9 of column 0: person 9
const QPointF kNoOne(2 * 2500 + 600, 1900); // row 5 of column 2: person 25, beyond the list
} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(std::optional<MarkerEdit>)

class TestCarry : public QObject {
    Q_OBJECT
  private slots:
    void drop_data() {
        QTest::addColumn<QString>("carried");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<int>("markerCount");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<std::optional<MarkerEdit>>("edit");
        QTest::addColumn<QString>("after");
        const std::optional<MarkerEdit> none;
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

        row("green duty on person 12")
            << "green 4" << kPerson12 << 3 << Outcome::Store
            << std::optional(MarkerEdit{Kind::Add, 0, 104, 12}) << "idle";
        row("yellow duty on person 0") << "yellow 2" << kPerson0 << 3 << Outcome::Store
                                       << std::optional(MarkerEdit{Kind::Add, 0, 2, 0}) << "idle";
        row("frozen duty, dropped") << "frozen green 4" << kPerson12 << 3 << Outcome::Store
                                    << std::optional(MarkerEdit{Kind::Add, 0, 104, 12}) << "idle";
        row("duty just above the trash zone")
            << "green 4" << kJustAboveTrash << 3 << Outcome::Store
            << std::optional(MarkerEdit{Kind::Add, 0, 104, 9}) << "idle";
        row("duty on the trash zone's first line")
            << "green 4" << kTrashEdge << 3 << Outcome::EndCarry << none << "idle";
        row("duty where no one stands")
            << "yellow 2" << kNoOne << 3 << Outcome::KeepCarrying << none << "yellow 2, tracks";
        row("frozen duty where no one stands")
            << "frozen yellow 2" << kNoOne << 3 << Outcome::KeepCarrying << none
            << "yellow 2, frozen";
        row("the 101st marker") << "green 4" << kPerson12 << 100 << Outcome::Refuse << none
                                << "idle";
        row("the 100th marker") << "green 4" << kPerson12 << 99 << Outcome::Store
                                << std::optional(MarkerEdit{Kind::Add, 0, 104, 12}) << "idle";

        row("marker 1 to person 12") << "marker 1" << kPerson12 << 3 << Outcome::Store
                                     << std::optional(MarkerEdit{Kind::Move, 1, 105, 12}) << "idle";
        row("marker 1 just above the trash zone")
            << "marker 1" << kJustAboveTrash << 3 << Outcome::Store
            << std::optional(MarkerEdit{Kind::Move, 1, 105, 9}) << "idle";
        row("marker 1 on the trash zone's first line")
            << "marker 1" << kTrashEdge << 3 << Outcome::Store
            << std::optional(MarkerEdit{Kind::Remove, 1, 105, 3}) << "idle";
        row("frozen marker 2 in the trash")
            << "frozen marker 2" << kTrashEdge << 3 << Outcome::Store
            << std::optional(MarkerEdit{Kind::Remove, 2, 2, 12}) << "idle";
        row("marker 1 where no one stands") << "marker 1" << kNoOne << 3 << Outcome::KeepCarrying
                                            << none << "marker 1, tracks, refreshes";
        row("marker 3 the records no longer hold")
            << "marker 3" << kPerson12 << 2 << Outcome::EndCarry << none << "idle";
        row("nothing carried") << "idle" << kPerson12 << 3 << Outcome::EndCarry << none << "idle";
    }
    void drop() {
        QFETCH(QString, carried);
        QFETCH(QPointF, at);
        QFETCH(int, markerCount);
        QFETCH(Outcome, outcome);
        QFETCH(std::optional<MarkerEdit>, edit);
        QFETCH(QString, after);
        const RosterState state = roster(markerCount);
        const BoardLayout layout = computeBoardLayout(state);
        Carry c = carrying(carried);
        const DropDecision decision = c.drop(at, layout, state);
        QCOMPARE(decision.outcome, outcome);
        QVERIFY(decision.edit == edit);
        QCOMPARE(decision.message.isEmpty(), outcome != Outcome::Refuse);
        QCOMPARE(describe(c), after);
    }

    // Events in turn, and the carry after them. A load ends every kind of carry.
    void events_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("after");
        row("a pick", "green 4", "green 4, tracks");
        row("a pick-up", "marker 2", "marker 2, tracks, refreshes");
        row("a pick replaces a move", "marker 2;yellow 7", "yellow 7, tracks");
        row("a pick-up replaces a placement", "green 4;marker 1", "marker 1, tracks, refreshes");
        row("a pick replaces a frozen one", "green 4;freeze;yellow 1", "yellow 1, tracks");
        row("freeze a placement", "yellow 3;freeze", "yellow 3, frozen");
        row("freeze a move", "marker 1;freeze;freeze", "marker 1, frozen, refreshes");
        row("freeze nothing", "freeze", "idle");
        row("marker 101 is no marker", "marker 101", "idle");
        row("marker 0 is no marker", "green 4;marker 0", "green 4, tracks");
        row("load while placing", "green 4;end", "idle");
        row("load while moving", "marker 1;end", "idle");
        row("load while frozen", "marker 1;freeze;end", "idle");
        row("load while idle", "end", "idle");
    }
    void events() {
        QFETCH(QString, events);
        QFETCH(QString, after);
        Carry c;
        for (const QString& event : events.split(u';')) {
            const int n = event.split(u' ').last().toInt();
            if (event.startsWith(u"green"))
                c.pick(DutyColour::Green, n);
            else if (event.startsWith(u"yellow"))
                c.pick(DutyColour::Yellow, n);
            else if (event.startsWith(u"marker"))
                QCOMPARE(c.pickUp(n, 100), n >= 1 && n <= 100);
            else if (event == u"freeze")
                c.freeze();
            else
                c.end();
        }
        QCOMPARE(describe(c), after);
    }

    // An edit goes into the records; a removal is left out by the save, not here.
    void applyEdit() {
        RosterState s = roster();
        QCOMPARE(applyMarkerEdit(s, {Kind::Add, 0, 104, 12}), 0);
        QCOMPARE(s.markerCount, 4);
        QCOMPARE(QList<int>({s.markerDuty[4], s.markerPerson[4], int(s.markerOffset[4])}),
                 QList<int>({104, 12, 0}));
        QCOMPARE(applyMarkerEdit(s, {Kind::Move, 2, 2, 3}), 0);
        QCOMPARE(s.markerPerson[2], 3);
        QCOMPARE(applyMarkerEdit(s, {Kind::Remove, 1, 105, 3}), 1);
        QCOMPARE(s.markerCount, 4);
    }
};

QTEST_APPLESS_MAIN(TestCarry)
#include "tst_carry.moc"

// Passing the duties on: which markers change person, forward and back, and the job file the
// rotation saves (records in their order, offsets repacked).
#include "roster/RosterFiles.h"
#include "roster/Rotation.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using zel::test::row;
using namespace Qt::StringLiterals;

namespace {
// Markers from "duty/person" items; green duties are 2 characters wide, yellow ones 3.
RosterState roster(int persons, const QString& markers) {
    RosterState s;
    s.personCount = persons;
    s.greenMarkerWidth = 2;
    s.yellowMarkerWidth = 3;
    const QStringList items = markers.split(u' ', Qt::SkipEmptyParts);
    s.markerCount = int(items.size());
    for (int m = 1; m <= s.markerCount; ++m) {
        s.markerDuty[m] = items[m - 1].section(u'/', 0, 0).toInt();
        s.markerPerson[m] = items[m - 1].section(u'/', 1).toInt();
    }
    return s;
}
QString persons(const RosterState& s) {
    QStringList out;
    for (int m = 1; m <= s.markerCount; ++m)
        out << QString::number(s.markerPerson[m]);
    return out.join(u' ');
}
} // namespace

class TestRotation : public QObject {
    Q_OBJECT

  private slots:
    void rotates_data() {
        QTest::addColumn<int>("personCount");
        QTest::addColumn<QString>("markers");
        QTest::addColumn<QString>("next");     // persons after 当番を次の人へ
        QTest::addColumn<QString>("previous"); // persons after 当番を前の人へ
        row("three persons, the last wraps", 3, "100/0 1/0 101/2 2/1", "1 1 0 2", "2 2 1 0");
        // Persons at or beyond the count, and negative ones, are nobody's: they stay.
        row("persons beyond the list stay", 4, "100/3 100/4 1/100 2/-1 1/0", "0 4 100 -1 1",
            "2 4 100 -1 3");
        row("one person keeps everything", 1, "100/0 1/0 2/5", "0 0 5", "0 0 5");
        row("empty list: nothing moves", 0, "100/0 1/2", "0 2", "0 2");
        row("no markers", 5, "", "", "");
        row("the full list", kMaxPersons, "1/100 1/0 1/50", "0 1 51", "99 100 49");
    }

    void rotates() {
        QFETCH(int, personCount);
        QFETCH(QString, markers);
        QFETCH(QString, next);
        QFETCH(QString, previous);
        const RosterState start = roster(personCount, markers);
        RosterState forward = start, back = start;
        rotateMarkers(forward, RotateDirection::Next);
        rotateMarkers(back, RotateDirection::Previous);
        QCOMPARE(persons(forward), next);
        QCOMPARE(persons(back), previous);
        // There and back again is where it started.
        rotateMarkers(forward, RotateDirection::Previous);
        QCOMPARE(persons(forward), persons(start));
        QCOMPARE(forward.markerDuty, start.markerDuty);
        QCOMPARE(canRotate(start), personCount > 0 && !markers.isEmpty());
    }

    // The save that follows keeps the records' order and packs each row from the left in that
    // order: person 0's markers move to person 1 behind nothing, person 1's to person 2.
    void savedJobFile() {
        zel::test::DataFolder folder;
        FileStore store;
        RosterFiles files(store, folder.path());
        RosterState s = roster(3, "100/0 1/0 101/1 2/2 1/7");
        rotateMarkers(s, RotateDirection::Next);
        QVERIFY(files.saveJobFile(s).ok);
        QCOMPARE(folder.read(kJobFile), " 5\r\n 100  1  0\r\n 1  1  600\r\n 101  2  0\r\n"
                                        " 2  0  0\r\n 1  7  0\r\n"_ba);
    }
};

QTEST_GUILESS_MAIN(TestRotation)
#include "tst_rotation.moc"

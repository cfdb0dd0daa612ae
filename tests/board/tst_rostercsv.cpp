// The roster as a spreadsheet table: the bytes written for names and duties that need quoting,
// the board's order of each person's duties, and markers the board cannot name.

#include "board/RosterCsv.h"

#include <QTest>

using namespace zel;

namespace {
struct Marker {
    int code; // green duties from 100
    int person;
    int offset;
};

RosterState roster(const QStringList& persons, const QList<Marker>& markers) {
    RosterState s;
    s.personCount = int(persons.size());
    for (int i = 0; i < persons.size(); ++i)
        s.personNames[i] = persons[i];
    const QStringList green{"掃除", "日直, 朝", " 黒板"}, yellow{"司会", "書記\"長\""};
    s.greenDutyCount = int(green.size());
    s.yellowDutyCount = int(yellow.size());
    for (int k = 0; k < green.size(); ++k)
        s.greenDutyNames[k] = green[k];
    for (int k = 0; k < yellow.size(); ++k)
        s.yellowDutyNames[k] = yellow[k];
    s.markerCount = int(markers.size());
    for (int m = 1; m <= markers.size(); ++m) {
        s.markerDuty[m] = markers[m - 1].code;
        s.markerPerson[m] = markers[m - 1].person;
        s.markerOffset[m] = markers[m - 1].offset;
    }
    return s;
}

const QByteArray kBom("\xEF\xBB\xBF");
} // namespace

Q_DECLARE_METATYPE(QList<Marker>)

class TestRosterCsv : public QObject {
    Q_OBJECT
  private slots:
    void bytes_data() {
        QTest::addColumn<QStringList>("persons");
        QTest::addColumn<QList<Marker>>("markers");
        QTest::addColumn<QByteArray>("expected"); // UTF-8 after the byte-order mark

        QTest::newRow("no persons") << QStringList{} << QList<Marker>{} << QByteArray("名前\r\n");
        QTest::newRow("no duties, names as they are")
            << QStringList{"佐藤 花子", "鈴木　一郎"} << QList<Marker>{}
            << QByteArray("名前\r\n佐藤 花子\r\n鈴木　一郎\r\n");
        QTest::newRow("commas, quotes and blanks")
            << QStringList{"山田, 太郎", "say \"hi\"", " 前に空白",           "後に空白 ",
                           "",           "\"引用\"",   "全角の空白で始まる　"}
            << QList<Marker>{{100, 0, 0}}
            << QByteArray("名前,当番1\r\n\"山田, 太郎\",緑:掃除\r\n\"say \"\"hi\"\"\",\r\n"
                          "\" 前に空白\",\r\n\"後に空白 \",\r\n\"\",\r\n\"\"\"引用\"\"\",\r\n"
                          "\"全角の空白で始まる　\",\r\n");
        QTest::newRow("duty names quoted too")
            << QStringList{"A"} << QList<Marker>{{101, 0, 0}, {1, 0, 900}, {102, 0, 1800}}
            << QByteArray("名前,当番1,当番2,当番3\r\nA,\"緑:日直, 朝\",\"黄:書記\"\"長\"\"\",緑: "
                          "黒板\r\n");
        // Left to right as the board shows them: by offset, then in file order.
        QTest::newRow("board order and padding")
            << QStringList{"A", "B", "C"}
            << QList<Marker>{{0, 1, 1800}, {100, 1, 0}, {1, 1, 900}, {101, 2, 0}, {0, 2, 0}}
            << QByteArray(
                   "名前,当番1,当番2,当番3\r\nA,,,\r\n"
                   "B,緑:掃除,\"黄:書記\"\"長\"\"\",黄:司会\r\nC,\"緑:日直, 朝\",黄:司会,\r\n");
        // A marker of a person past the list has no line; one past its duty list no name.
        QTest::newRow("markers the board cannot name")
            << QStringList{"A"} << QList<Marker>{{0, 5, 0}, {105, 0, 0}, {7, 0, 900}, {-3, 0, 1800}}
            << QByteArray("名前,当番1,当番2,当番3\r\nA,緑:,黄:,黄:\r\n");
    }
    void bytes() {
        QFETCH(QStringList, persons);
        QFETCH(QList<Marker>, markers);
        QFETCH(QByteArray, expected);
        QCOMPARE(rosterCsv(roster(persons, markers)), kBom + expected);
    }
};

QTEST_MAIN(TestRosterCsv)
#include "tst_rostercsv.moc"

#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QTest>

using namespace zel;
using zel::test::cp932Lines;
using zel::test::DataFolder;

// Loading the six data files into the roster, and every save.
class TestRosterFiles : public QObject {
    Q_OBJECT

  private slots:
    void loadPersonsAndMarkers_data();
    void loadPersonsAndMarkers();
    void options_data();
    void options();
    void dataFolder_data();
    void dataFolder();
    void saveJobFile();
    void savesWriteExactBytes();
};

namespace {
// The duty lists every load test uses: green "掃除係" (3 characters), yellow "花", "ゴミ" (2).
void writeDutyLists(const DataFolder& dir) {
    dir.write(kGreenListFile, QByteArray(" 2\r\n\x91\x7c\x8f\x9c\x8c\x57\r\n\x93\x96\x94\xd4\r\n"));
    dir.write(kYellowListFile, QByteArray(" 2\r\n\x89\xd4\r\n\x83\x53\x83\x7e\r\n"));
}

// A roster as an earlier load left it: 9 persons, markers 1 to 5 set.
RosterState previousState() {
    RosterState s;
    s.personCount = 9;
    for (int i = 0; i < 9; ++i)
        s.personNames[i] = QStringLiteral("old%1").arg(i);
    for (int m = 1; m <= 5; ++m) {
        s.markerDuty[m] = 77;
        s.markerPerson[m] = 8;
    }
    s.markerCount = 5;
    return s;
}

QStringList numbered(const QString& pattern, int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << pattern.arg(i);
    return lines;
}

QStringList markersOf(const RosterState& s) {
    QStringList out;
    for (int m = 1; m <= s.markerCount; ++m)
        out << QStringLiteral("%1/%2/%3")
                   .arg(s.markerDuty[m])
                   .arg(s.markerPerson[m])
                   .arg(s.markerOffset[m]);
    return out;
}
} // namespace

void TestRosterFiles::loadPersonsAndMarkers_data() {
    QTest::addColumn<QByteArray>("persons"); // empty: no file
    QTest::addColumn<QByteArray>("jobs");
    QTest::addColumn<int>("personCount");
    QTest::addColumn<QStringList>("firstNames"); // persons 0 .. 3
    QTest::addColumn<QStringList>("markers");    // "duty/person/offset"
    QTest::addColumn<QList<int>>("widths");      // personMarkerWidth of persons 0 .. 2, then max

    const QStringList old{"old0", "old1", "old2", "old3"};
    QTest::newRow("as written on Windows")
        << QByteArray(" 3\r\n\x8e\x52\x93\x63\r\n\x8d\xb2\x93\xa1\r\n\x97\xe9\x96\xd8\r\n")
        << QByteArray(" 3\r\n 100  0  0\r\n 1  0  900\r\n 100  2  0\r\n") << 3
        << QStringList{"山田", "佐藤", "鈴木", "old3"}
        << QStringList{"100/0/0", "1/0/900", "100/2/0"} << QList<int>{5, 0, 3, 5};
    QTest::newRow("LF only, no leading blanks")
        << QByteArray("2\nA\nB\n") << QByteArray("1\n3 1 0\n") << 2
        << QStringList{"A", "B", "old2", "old3"} << QStringList{"3/1/0"} << QList<int>{0, 2, 0, 2};
    QTest::newRow("negative counts") << QByteArray("-2\r\n") << QByteArray("-1\r\n 100 0 0\r\n")
                                     << 0 << old << QStringList{} << QList<int>{0, 0, 0, 0};
    QTest::newRow("ghost records")
        << QByteArray() << QByteArray(" 5\r\n 100 1 0\r\n 1 1 900\r\n") << 9 << old
        << QStringList{"100/1/0", "1/1/900"} << QList<int>{0, 5, 0, 5};
    QTest::newRow("record cut short")
        << QByteArray() << QByteArray(" 2\r\n 100 1 0\r\n 1 1\r\n") << 9 << old
        << QStringList{"100/1/0"} << QList<int>{0, 3, 0, 3};
    QTest::newRow("surplus lines ignored")
        << cp932Lines({" 2", "a", "b", "c"}) << cp932Lines({" 1", " 1 0 0", " 1 0 300"}) << 2
        << QStringList{"a", "b", "old2", "old3"} << QStringList{"1/0/0"} << QList<int>{2, 0, 0, 2};
    QTest::newRow("short person file keeps old names")
        << cp932Lines({" 4", "新"}) << QByteArray(" 0\r\n") << 4
        << QStringList{"新", "old1", "old2", "old3"} << QStringList{} << QList<int>{0, 0, 0, 0};
    QTest::newRow("person above 100 counts for nobody")
        << QByteArray() << QByteArray(" 2\r\n 100 150 0\r\n 100 -3 0\r\n") << 9 << old
        << QStringList{"100/150/0", "100/-3/0"} << QList<int>{0, 0, 0, 0};
    QTest::newRow("no files") << QByteArray() << QByteArray() << 9 << old << QStringList{}
                              << QList<int>{0, 0, 0, 0};

    QStringList records;
    for (int m = 1; m <= 120; ++m)
        records << QStringLiteral(" 1 %1 0").arg(m % 3);
    QTest::newRow("counts past the arrays")
        << cp932Lines(QStringList{" 150"} + numbered(QStringLiteral("p%1"), 150))
        << cp932Lines(QStringList{" 120"} + records) << 101 << QStringList{"p0", "p1", "p2", "p3"}
        << QStringList() << QList<int>{66, 68, 66, 68};
}

void TestRosterFiles::loadPersonsAndMarkers() {
    QFETCH(QByteArray, persons);
    QFETCH(QByteArray, jobs);
    QFETCH(int, personCount);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, markers);
    QFETCH(QList<int>, widths);

    DataFolder dir;
    writeDutyLists(dir);
    if (!persons.isEmpty())
        dir.write(kPersonFile, persons);
    if (!jobs.isEmpty())
        dir.write(kJobFile, jobs);
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState s = previousState();
    files.loadAll(s);

    QCOMPARE(s.greenMarkerWidth, 3.0);
    QCOMPARE(s.yellowMarkerWidth, 2);
    QCOMPARE(s.personCount, personCount);
    QCOMPARE(QStringList(s.personNames.begin(), s.personNames.begin() + 4), firstNames);
    if (QTest::currentDataTag() == QByteArray("counts past the arrays")) {
        QCOMPARE(s.personNames[100], QStringLiteral("p100"));
        QCOMPARE(s.markerCount, kMaxMarkers);
    } else {
        QCOMPARE(markersOf(s), markers);
    }
    QCOMPARE((QList<int>{s.personMarkerWidth[0], s.personMarkerWidth[1], s.personMarkerWidth[2],
                         s.maxPersonMarkerWidth}),
             widths);
}

void TestRosterFiles::options_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no parameter file
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QList<double>>("after");

    const QList<double> zero{0, 0, 0, 0, 0};
    const QList<double> earlier{7, 3, 1500, 450, 11};
    const QList<double> fallback{10, 5, 1000, 300, 9};
    QTest::newRow("fraction kept") << QByteArray(" 10.5\r\n 4\r\n 1200\r\n 400\r\n 12\r\n") << zero
                                   << QList<double>{10.5, 4, 1200, 400, 12};
    QTest::newRow("first start, no file") << QByteArray() << zero << fallback;
    QTest::newRow("no file keeps earlier sizes")
        << QByteArray() << earlier << QList<double>{10, 5, 1500, 450, 11};
    QTest::newRow("zeros") << QByteArray(" 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n") << earlier << fallback;
    QTest::newRow("negatives") << QByteArray("-3\r\n-1\r\n-500\r\n-300\r\n-9\r\n") << earlier
                               << fallback;
    QTest::newRow("0.4 names rounds to none")
        << QByteArray("0.4,2,800,200,8\r\n") << zero << QList<double>{10, 2, 800, 200, 8};
    QTest::newRow("short file") << QByteArray(" 8\r\n") << earlier
                                << QList<double>{8, 5, 1500, 450, 11};
}

void TestRosterFiles::options() {
    QFETCH(QByteArray, file);
    QFETCH(QList<double>, before);
    QFETCH(QList<double>, after);

    DataFolder dir;
    if (!file.isEmpty())
        dir.write(kParameterFile, file);
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState s;
    s.namesPerColumn = before[0];
    s.dutiesPerColumn = int(before[1]);
    s.tagWidth = before[2];
    s.tagHeight = int(before[3]);
    s.fontSize = int(before[4]);
    files.loadAll(s);
    QCOMPARE((QList<double>{s.namesPerColumn, double(s.dutiesPerColumn), s.tagWidth,
                            double(s.tagHeight), double(s.fontSize)}),
             after);
    QCOMPARE(dir.read(kParameterFile), file); // fallbacks live in memory only
}

void TestRosterFiles::dataFolder_data() {
    QTest::addColumn<QByteArray>("folderFile"); // empty: no folder file
    QTest::addColumn<QString>("expected");      // "@" stands for the temporary folder
    QTest::newRow("no separator") << QByteArray("sub\r\n") << "sub/";
    QTest::newRow("with separator") << QByteArray("sub/\r\n") << "sub/";
    QTest::newRow("absolute, no separator") << QByteArray("@/sub\r\n") << "@/sub/";
    QTest::newRow("cut at a comma") << QByteArray("sub,x\r\n") << "sub/";
    QTest::newRow("missing") << QByteArray() << "";
}

void TestRosterFiles::dataFolder() {
    QFETCH(QByteArray, folderFile);
    QFETCH(QString, expected);

    DataFolder dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    dir.writeLines(QStringLiteral("sub/") + kPersonFile, {" 1", "中"});
    dir.writeLines(kPersonFile, {" 1", "外"});
    folderFile.replace('@', QFile::encodeName(dir.path()));
    if (!folderFile.isEmpty())
        dir.write(kFolderFile, folderFile);
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState s;
    files.loadAll(s);
    QCOMPARE(s.dataFolder, QString(expected).replace(u'@', dir.path()));
    QCOMPARE(s.personNames[0], expected.isEmpty() ? QStringLiteral("外") : QStringLiteral("中"));
    QCOMPARE(dir.read(kFolderFile), folderFile); // the file keeps what the user wrote
}

void TestRosterFiles::saveJobFile() {
    DataFolder dir;
    dir.write(kJobFile, " 0\r\n");
    test::FailingFileStore store;
    RosterFiles files(store, dir.path());
    RosterState s;
    s.personCount = 2;
    s.greenMarkerWidth = 6;
    s.yellowMarkerWidth = 4;
    s.markerCount = 4;
    const int duty[] = {0, 100, 3, 101, 2};
    const int person[] = {0, 1, 1, 150, 1};
    const int offset[] = {0, 0, 1800, 900, 3000};
    for (int m = 1; m <= 4; ++m) {
        s.markerDuty[m] = duty[m];
        s.markerPerson[m] = person[m];
        s.markerOffset[m] = offset[m];
    }
    const RosterState before = s;

    // A write that stops midway changes neither the file nor the state.
    store.failAfterBytes = 5;
    const SaveResult failed = files.saveJobFile(s, 1);
    QVERIFY(!failed.ok);
    QCOMPARE(failed.fileName, kJobFile);
    QCOMPARE(dir.read(kJobFile), QByteArray(" 0\r\n"));
    QCOMPARE(s.markerOffset, before.markerOffset);
    QCOMPARE(s.personMarkerWidth, before.personMarkerWidth);

    // Marker 1 removed: the rest of person 1's row moves up; person 150 is written with 0.
    store.failAfterBytes = -1;
    QVERIFY(files.saveJobFile(s, 1).ok);
    QCOMPARE(dir.read(kJobFile), QByteArray(" 3\r\n 3  1  0\r\n 101  150  0\r\n 2  1  1200\r\n"));
    QCOMPARE(s.markerCount, 4); // the caller reloads; the save keeps the count
    QCOMPARE(s.markerOffset[4], 1200);
    QVERIFY(files.saveJobFile(s).ok);
    QCOMPARE(dir.read(kJobFile),
             QByteArray(" 4\r\n 100  1  0\r\n 3  1  1800\r\n 101  150  0\r\n 2  1  3000\r\n"));
}

void TestRosterFiles::savesWriteExactBytes() {
    DataFolder dir;
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState s;
    const QStringList names{QStringLiteral("山田"), QStringLiteral("a,b"), QString(),
                            QStringLiteral(" 空白")};
    QVERIFY(files.savePersonFile(s, names).ok);
    QCOMPARE(dir.read(kPersonFile),
             QByteArray(" 4\r\n\x8e\x52\x93\x63\r\n\"a,b\"\r\n\"\"\r\n\" \x8b\xf3\x94\x92\"\r\n"));
    files.loadAll(s);
    QCOMPARE(QStringList(s.personNames.begin(), s.personNames.begin() + s.personCount), names);

    // Refused texts and too many names leave the file as it was.
    const QByteArray kept = dir.read(kPersonFile);
    SaveResult refused = files.savePersonFile(s, {QStringLiteral("波\u301C")});
    QVERIFY(!refused.ok);
    QVERIFY(refused.message().contains(kPersonFile));
    QVERIFY(!files.saveDutyList(s, DutyColour::Green, numbered(QStringLiteral("d%1"), 102)).ok);
    QVERIFY(!files.savePersonFile(s, numbered(QStringLiteral("p%1"), 102)).ok);
    QCOMPARE(dir.read(kPersonFile), kept);
    QVERIFY(!dir.exists(kGreenListFile));

    QVERIFY(files.saveDutyList(s, DutyColour::Yellow, {QStringLiteral("花")}).ok);
    QCOMPARE(dir.read(kYellowListFile), QByteArray(" 1\r\n\x89\xd4\r\n"));
    QVERIFY(files.saveParameterFile({10.5, 5, 1000, 300, 9}).ok);
    QCOMPARE(dir.read(kParameterFile), QByteArray(" 10.5\r\n 5\r\n 1000\r\n 300\r\n 9\r\n"));
    QVERIFY(files.clearJobFile(s).ok);
    QCOMPARE(dir.read(kJobFile), QByteArray(" 0\r\n"));
    QVERIFY(files.saveFolderFile(QStringLiteral("sub/")).ok);
    QCOMPARE(dir.read(kFolderFile), QByteArray("sub/\r\n"));
}

QTEST_APPLESS_MAIN(TestRosterFiles)
#include "tst_rosterfiles.moc"

#include "editors/EditorFixture.h"
#include "editors/ListWriter.h"

#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
// Green width 4, yellow width 3; markers (p0, green), (p1, green), (p0, yellow), (p0, green),
// stored with offsets that are all 0.
void writeRoster(const DataFolder& folder) {
    folder.writeLines(kPersonFile, {" 2", "太郎", "花子"});
    folder.writeLines(kGreenListFile, {" 2", "掃除当番", "配膳"});
    folder.writeLines(kYellowListFile, {" 1", "日直係"});
    folder.writeLines(kJobFile, {" 4", " 100  0  0", " 101  1  0", " 0  0  0", " 100  0  0"});
}

QList<int> offsets(const RosterState& state) {
    QList<int> out;
    for (int m = 1; m <= state.markerCount; ++m)
        out << state.markerOffset[m];
    return out;
}
} // namespace

class TestListWriter : public QObject {
    Q_OBJECT
  private slots:
    void repacksOffsets_data();
    void repacksOffsets();
    void stateFollowsOnlyWhatWasWritten();
};

void TestListWriter::repacksOffsets_data() {
    QTest::addColumn<bool>("green");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<double>("width");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("unchanged lists")
        << true << QStringList{"掃除当番", "配膳"} << 4.0 << QList<int>{0, 0, 1200, 2100};
    QTest::newRow("green renamed to 6")
        << true << QStringList{"掃除当番です", "配膳"} << 6.0 << QList<int>{0, 0, 1800, 2700};
    QTest::newRow("green emptied") << true << QStringList{} << 0.0 << QList<int>{0, 0, 0, 900};
    QTest::newRow("yellow renamed to 5")
        << false << QStringList{"日直係です"} << 5.0 << QList<int>{0, 0, 1200, 2700};
}

void TestListWriter::repacksOffsets() {
    QFETCH(bool, green);
    QFETCH(QStringList, names);
    QFETCH(double, width);
    QFETCH(QList<int>, expected);

    EditorFixture f;
    writeRoster(f.folder);
    f.load();
    const DutyColour colour = green ? DutyColour::Green : DutyColour::Yellow;
    QVERIFY(writeDutyList(f.state, f.files, colour, names).ok);
    QCOMPARE(f.state.dutyCount(colour), names.size());
    QCOMPARE(f.state.markerWidthOf(colour), width);
    QCOMPARE(offsets(f.state), expected);

    // The board's next load finds the same in the files.
    RosterState reloaded;
    f.files.loadAll(reloaded);
    QCOMPARE(offsets(reloaded), expected);
    QCOMPARE(reloaded.markerWidthOf(colour), width);
}

void TestListWriter::stateFollowsOnlyWhatWasWritten() {
    EditorFixture f;
    writeRoster(f.folder);
    f.load();

    f.platform.store.failAfterBytes = 3; // nothing fits
    ListWriteResult result = writeDutyList(f.state, f.files, DutyColour::Green, {"掃除当番です"});
    QVERIFY(!result.ok && !result.listWritten);
    QCOMPARE(f.platform.store.saves, 1); // the job file is not tried
    QCOMPARE(f.state.greenDutyCount, 2);
    QCOMPARE(f.state.greenMarkerWidth, 4.0);
    result = writePersonList(f.state, f.files, {"一郎"});
    QVERIFY(!result.ok);
    QCOMPARE(f.state.personCount, 2);

    f.platform.store.failAfterBytes = 20; // the short list file fits, the job file does not
    result = writeDutyList(f.state, f.files, DutyColour::Green, {"掃除当番です"});
    QVERIFY(!result.ok && result.listWritten);
    QVERIFY(result.message().contains(kJobFile));
    QCOMPARE(f.state.greenDutyNames[0], QStringLiteral("掃除当番です"));
    QCOMPARE(f.state.greenMarkerWidth, 6.0);
    QCOMPARE(offsets(f.state), (QList<int>{0, 0, 0, 0})); // as loaded, not repacked
}

QTEST_GUILESS_MAIN(TestListWriter)
#include "tst_listwriter.moc"

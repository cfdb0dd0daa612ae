#include "roster/RosterFiles.h"
#include "support/DataFolder.h"

#include <QTest>

using namespace zel;
using zel::test::DataFolder;

// Data files edited by hand while the board runs: a save never writes over a change the
// program has not read; the next load reads it and the same save goes through.
class TestHandEdits : public QObject {
    Q_OBJECT

  private slots:
    void changeSinceLoadIsKept_data();
    void changeSinceLoadIsKept();
    void savesThatOverwriteNothingUnread_data();
    void savesThatOverwriteNothingUnread();
};

namespace {
enum class Save { Persons, GreenList, YellowList, Job, ClearJob, Options, Folder };

const QByteArray kRemoved = "<removed>";
const QByteArray kJob = " 2\r\n 100  0  0\r\n 1  1  0\r\n";

// A roster in the working folder; `without` is left out.
void writeRoster(const DataFolder& dir, const QString& without = {}) {
    const QList<std::pair<QString, QByteArray>> files{
        {kFolderFile, "\"\"\r\n"},
        {kParameterFile, " 5\r\n 4\r\n 1200\r\n 300\r\n 9\r\n"},
        {kPersonFile, " 2\r\nAnn\r\nBob\r\n"},
        {kGreenListFile, " 1\r\nsweep\r\n"},
        {kYellowListFile, " 1\r\nbin\r\n"},
        {kJobFile, kJob}};
    for (const auto& [name, bytes] : files)
        if (name != without)
            dir.write(name, bytes);
}

QString fileOf(Save save) {
    switch (save) {
    case Save::Persons:
        return kPersonFile;
    case Save::GreenList:
        return kGreenListFile;
    case Save::YellowList:
        return kYellowListFile;
    case Save::Job:
    case Save::ClearJob:
        return kJobFile;
    case Save::Options:
        return kParameterFile;
    case Save::Folder:
        return kFolderFile;
    }
    return {};
}

SaveResult perform(Save save, const RosterFiles& files, RosterState& state) {
    switch (save) {
    case Save::Persons:
        return files.savePersonFile(state, {"Ann", "Bob", "Cy"});
    case Save::GreenList:
        return files.saveDutyList(state, DutyColour::Green, {"sweep", "dust"});
    case Save::YellowList:
        return files.saveDutyList(state, DutyColour::Yellow, {"bin", "plant"});
    case Save::Job:
        state.markerCount = 3;
        state.markerDuty[3] = 100;
        state.markerPerson[3] = 1;
        return files.saveJobFile(state);
    case Save::ClearJob:
        return files.clearJobFile(state);
    case Save::Options:
        return files.saveParameterFile({6, 4, 1200, 300, 9});
    case Save::Folder:
        return files.saveFolderFile(QString());
    }
    return {};
}
} // namespace

void TestHandEdits::changeSinceLoadIsKept_data() {
    QTest::addColumn<Save>("save");
    QTest::addColumn<QByteArray>("editedTo");
    QTest::addColumn<bool>("existedAtLoad");
    QTest::newRow("job file rewritten") << Save::Job << QByteArray(" 1\r\n 1  0  0\r\n") << true;
    QTest::newRow("job file removed, then all cleared") << Save::ClearJob << kRemoved << true;
    QTest::newRow("job file created after a load without one")
        << Save::Job << QByteArray(" 0\r\n") << false;
    // Same size, same time stamp resolution: only the bytes tell.
    QTest::newRow("person file, same size")
        << Save::Persons << QByteArray(" 2\r\nAnn\r\nBen\r\n") << true;
    QTest::newRow("green list rewritten") << Save::GreenList << QByteArray(" 0\r\n") << true;
    QTest::newRow("yellow list removed") << Save::YellowList << kRemoved << true;
    QTest::newRow("parameter file rewritten")
        << Save::Options << QByteArray(" 3\r\n 3\r\n 900\r\n 300\r\n 9\r\n") << true;
    QTest::newRow("folder file rewritten") << Save::Folder << QByteArray("elsewhere/\r\n") << true;
}

void TestHandEdits::changeSinceLoadIsKept() {
    QFETCH(Save, save);
    QFETCH(QByteArray, editedTo);
    QFETCH(bool, existedAtLoad);
    const QString name = fileOf(save);
    DataFolder dir;
    writeRoster(dir, existedAtLoad ? QString() : name);
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState state;
    files.loadAll(state);

    if (editedTo == kRemoved)
        QVERIFY(QFile::remove(dir.file(name)));
    else
        dir.write(name, editedTo);
    RosterState before = state;
    const SaveResult refused = perform(save, files, before);
    QVERIFY(!refused.ok);
    QCOMPARE(refused.fileName, name);
    QCOMPARE(refused.reason, RosterFiles::changedOnDiskReason());
    QVERIFY(refused.message().contains(name));
    QCOMPARE(dir.exists(name), editedTo != kRemoved);
    if (editedTo != kRemoved)
        QCOMPARE(dir.read(name), editedTo);

    // The board reloads after a failed save: the change is read, and the user's next try works.
    files.loadAll(state);
    const SaveResult retried = perform(save, files, state);
    QVERIFY2(retried.ok, qPrintable(retried.message()));
    QVERIFY(dir.read(name) != editedTo);
}

void TestHandEdits::savesThatOverwriteNothingUnread_data() {
    QTest::addColumn<bool>("loadFirst");
    QTest::addColumn<bool>("jobFileAtLoad");
    QTest::addColumn<QByteArray>("editedTo"); // empty: not touched
    QTest::newRow("missing at load and still missing") << true << false << QByteArray();
    QTest::newRow("rewritten with the same bytes") << true << true << kJob;
    QTest::newRow("never loaded") << false << true << QByteArray();
}

void TestHandEdits::savesThatOverwriteNothingUnread() {
    QFETCH(bool, loadFirst);
    QFETCH(bool, jobFileAtLoad);
    QFETCH(QByteArray, editedTo);
    DataFolder dir;
    writeRoster(dir, jobFileAtLoad ? QString() : kJobFile);
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState state;
    if (loadFirst)
        files.loadAll(state);
    if (!editedTo.isEmpty())
        dir.write(kJobFile, editedTo);

    // A duty editor saves its list and then the job file, with no load in between; the
    // program's own saves are no change it has missed.
    QVERIFY(files.saveDutyList(state, DutyColour::Green, {"sweep", "dust"}).ok);
    QVERIFY(perform(Save::Job, files, state).ok);
    QVERIFY(files.saveJobFile(state).ok);
    QVERIFY(files.clearJobFile(state).ok);
    QCOMPARE(dir.read(kJobFile), QByteArray(" 0\r\n"));
}

QTEST_APPLESS_MAIN(TestHandEdits)
#include "tst_handedits.moc"

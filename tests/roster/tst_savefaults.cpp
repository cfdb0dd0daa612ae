#include "roster/CodePage.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

using namespace zel;
using zel::test::DataFolder;

// Saves under faults: the user is told which file failed and why, a data file holds either its
// old or its new content byte for byte, and saving works again once the fault is gone. Some
// cases run this program again as a helper: as an unprivileged user, or to be killed.
class TestSaveFaults : public QObject {
    Q_OBJECT

  private slots:
    void dataFolderGone_data();
    void dataFolderGone();
    void readOnlyForAnUnprivilegedUser_data();
    void readOnlyForAnUnprivilegedUser();
    void fullDisk();
    void killedDuringSaves();
};

namespace {
const QByteArray kPersons = " 2\r\nAnn\r\nBob\r\n";
const QByteArray kGreen = " 1\r\nsweep\r\n";
const QByteArray kJob = " 2\r\n 100  0  0\r\n 100  1  0\r\n";

void writeRoster(const QString& folder) {
    const QList<std::pair<QString, QByteArray>> files{
        {kPersonFile, kPersons}, {kGreenListFile, kGreen}, {kJobFile, kJob}};
    for (const auto& [name, bytes] : files) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
}

QStringList entries(const QString& folder) {
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// One more marker: duty 0 for person 0.
SaveResult addMarker(const RosterFiles& files, RosterState& state) {
    state.markerCount += 1;
    state.markerDuty[state.markerCount] = 0;
    state.markerPerson[state.markerCount] = 0;
    return files.saveJobFile(state);
}

// The two rosters a burst of saves alternates between; they differ in length and in every
// line, so a cut or mixed file matches neither.
void setBurstRoster(RosterState& state, int variant) {
    const int markers = variant == 0 ? 2 : 7;
    state.personCount = variant == 0 ? 2 : 40;
    for (int i = 0; i < state.personCount; ++i)
        state.personNames[i] = QStringLiteral("%1-%2").arg(variant ? "Person" : "P").arg(i);
    state.greenMarkerWidth = 5;
    state.markerCount = markers;
    for (int m = 1; m <= markers; ++m) {
        state.markerDuty[m] = 100 + variant;
        state.markerPerson[m] = m % state.personCount;
    }
}

QStringList personNames(const RosterState& state) {
    return QStringList(state.personNames.begin(), state.personNames.begin() + state.personCount);
}

QByteArray burstJobFile(int variant) {
    RosterState state;
    setBurstRoster(state, variant);
    state.repackOffsets();
    return *encodeDataFile(formatJobFile(state, 0));
}

QByteArray burstPersonFile(int variant) {
    RosterState state;
    setBurstRoster(state, variant);
    return *encodeDataFile(formatNameList(personNames(state)));
}

// Helper modes. "save DIR": load DIR, add a marker, print the save's outcome. "burst DIR":
// load DIR, then save the two burst rosters in turn until killed, printing a line per save.
int runHelper(const QString& mode, const QString& folder) {
    FileStore store;
    RosterFiles files(store, folder);
    RosterState state;
    files.loadAll(state);
    if (mode == QLatin1String("save")) {
        const SaveResult result = addMarker(files, state);
        const QString line =
            result.ok
                ? QStringLiteral("ok")
                : QStringLiteral("failed\t%1\t%2").arg(result.fileName, result.reason.simplified());
        std::printf("%s\n", line.toUtf8().constData());
        return 0;
    }
    for (int i = 1;; ++i) {
        setBurstRoster(state, i % 2);
        if (!files.savePersonFile(state, personNames(state)).ok || !files.saveJobFile(state).ok)
            return 1;
        std::printf("saved\n");
        std::fflush(stdout);
    }
}

QString helperCopy(const QString& folder) {
    const QString copy = QDir(folder).filePath(QStringLiteral("helper"));
    QFile::copy(QCoreApplication::applicationFilePath(), copy);
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOther | QFile::ReadOther);
    return copy;
}
} // namespace

void TestSaveFaults::dataFolderGone_data() {
    QTest::addColumn<bool>("existedAtLoad");
    QTest::newRow("data folder missing") << false;
    QTest::newRow("data folder removed while the board runs") << true;
}

void TestSaveFaults::dataFolderGone() {
    QFETCH(bool, existedAtLoad);
    DataFolder dir;
    dir.write(kFolderFile, "roster/\r\n");
    const QString roster = dir.file(QStringLiteral("roster"));
    if (existedAtLoad) {
        QVERIFY(QDir().mkdir(roster));
        writeRoster(roster);
    }
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState state;
    files.loadAll(state);
    if (existedAtLoad)
        QVERIFY(QDir(roster).removeRecursively());
    const QStringList before = entries(dir.path());

    RosterState unchanged = state;
    const QList<SaveResult> failed{addMarker(files, unchanged), files.clearJobFile(state),
                                   files.savePersonFile(state, {"Cy"}),
                                   files.saveDutyList(state, DutyColour::Yellow, {"bin"})};
    const QStringList names{kJobFile, kJobFile, kPersonFile, kYellowListFile};
    for (qsizetype i = 0; i < failed.size(); ++i) {
        QVERIFY(!failed[i].ok);
        QCOMPARE(failed[i].fileName, names[i]);
        QVERIFY2(failed[i].reason.contains(roster), qPrintable(failed[i].reason));
    }
    QCOMPARE(unchanged.markerOffset, state.markerOffset);
    QCOMPARE(entries(dir.path()), before); // the folder is not made up again

    // The folder comes back as it was: saves work again, without a load in between.
    QVERIFY(QDir().mkdir(roster));
    if (existedAtLoad)
        writeRoster(roster);
    const SaveResult saved = addMarker(files, state);
    QVERIFY2(saved.ok, qPrintable(saved.message()));
    files.loadAll(state);
    QCOMPARE(state.markerCount, existedAtLoad ? 3 : 1);
}

void TestSaveFaults::readOnlyForAnUnprivilegedUser_data() {
    QTest::addColumn<bool>("folderReadOnly"); // else only the job file is
    QTest::newRow("read-only data folder") << true;
    QTest::newRow("read-only job file") << false;
}

void TestSaveFaults::readOnlyForAnUnprivilegedUser() {
    QFETCH(bool, folderReadOnly);
    // Root writes into read-only folders: as root, the helper runs as "nobody".
    const bool root = ::geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("setpriv is not installed: cannot run the helper as an unprivileged user");
    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(QFile::setPermissions(base.path(), QFile::Permissions(0x7755)));
    const QString roster = QDir(base.path()).filePath(QStringLiteral("roster"));
    QVERIFY(QDir().mkdir(roster));
    writeRoster(roster);
    const QString helper = helperCopy(base.path());
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther |
                                        QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const QFile::Permissions open =
        readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const QString target = folderReadOnly ? roster : QDir(roster).filePath(kJobFile);
    QVERIFY(QFile::setPermissions(roster, folderReadOnly ? readOnly : open));
    if (!folderReadOnly)
        QVERIFY(
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QStringList before = entries(roster);

    auto runHelperAsUser = [&] {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The leak suppressions may lie where "nobody" cannot read them; leaks of this code
        // are looked for in the test process itself.
        env.remove(QStringLiteral("LSAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        p.setProcessEnvironment(env);
        const QStringList args{QStringLiteral("--helper"), QStringLiteral("save"), roster};
        if (root)
            p.start(QStringLiteral("setpriv"), QStringList{"--reuid=nobody", "--regid=nogroup",
                                                           "--clear-groups", "--", helper} +
                                                   args);
        else
            p.start(helper, args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };

    const QStringList refused = runHelperAsUser().split(u'\t');
    QCOMPARE(refused.value(0), QStringLiteral("failed"));
    QCOMPARE(refused.value(1), kJobFile);
    QVERIFY2(refused.value(2).contains(QStringLiteral("読み取り専用")),
             qPrintable(refused.value(2)));
    QCOMPARE(contents(QDir(roster).filePath(kJobFile)), kJob);
    QCOMPARE(entries(roster), before);

    // Writable again: the same save goes through.
    QVERIFY(QFile::setPermissions(roster, open));
    QVERIFY(QFile::setPermissions(QDir(roster).filePath(kJobFile), open));
    QCOMPARE(runHelperAsUser(), QStringLiteral("ok"));
    QCOMPARE(contents(QDir(roster).filePath(kJobFile)).left(4), QByteArray(" 3\r\n"));
}

void TestSaveFaults::fullDisk() {
    DataFolder dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs to fill (needs root): %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{mountPoint};

    writeRoster(dir.path());
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState state;
    files.loadAll(state);
    {
        QFile filler(dir.file(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    const QStringList before = entries(dir.path());

    RosterState unchanged = state;
    for (const SaveResult& result :
         {addMarker(files, unchanged), files.savePersonFile(state, {"Ann", "Bob", "Cy"})}) {
        QVERIFY2(!result.ok, qPrintable(result.fileName + " saved on a full disk"));
        QCOMPARE(result.reason, QStringLiteral("ディスクに空きがありません。"));
        QVERIFY(result.message().contains(result.fileName));
    }
    QCOMPARE(dir.read(kJobFile), kJob);
    QCOMPARE(dir.read(kPersonFile), kPersons);
    QCOMPARE(entries(dir.path()), before);

    QVERIFY(QFile::remove(dir.file(QStringLiteral("filler"))));
    QVERIFY(addMarker(files, state).ok);
    QVERIFY(files.savePersonFile(state, {"Ann", "Bob", "Cy"}).ok);
    QCOMPARE(dir.read(kPersonFile), QByteArray(" 3\r\nAnn\r\nBob\r\nCy\r\n"));
}

void TestSaveFaults::killedDuringSaves() {
    DataFolder dir;
    writeRoster(dir.path());
    dir.write(kJobFile, burstJobFile(0));
    dir.write(kPersonFile, burstPersonFile(0));
    const QByteArrayList jobs{burstJobFile(0), burstJobFile(1)};
    const QByteArrayList persons{burstPersonFile(0), burstPersonFile(1)};

    int saves = 0;
    for (int run = 0; run < 25; ++run) {
        QProcess helper;
        helper.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--helper"), QStringLiteral("burst"), dir.path()});
        // Killed only once it is saving, at a random moment of the burst.
        QVERIFY(helper.waitForReadyRead(20000));
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        helper.kill();
        QVERIFY(helper.waitForFinished(10000));
        saves += int(helper.readAllStandardOutput().count('\n'));
        QVERIFY2(jobs.contains(dir.read(kJobFile)), qPrintable("run " + QString::number(run)));
        QVERIFY2(persons.contains(dir.read(kPersonFile)),
                 qPrintable("run " + QString::number(run)));
    }
    QVERIFY(saves >= 25);

    // A killed save may leave its temporary file; the roster loads and saves as before.
    FileStore store;
    RosterFiles files(store, dir.path());
    RosterState state;
    files.loadAll(state);
    QVERIFY(jobs.contains(dir.read(kJobFile)));
    QVERIFY(addMarker(files, state).ok);
    files.loadAll(state);
    QVERIFY(state.markerCount == 3 || state.markerCount == 8);
}

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--helper") == 0)
        return runHelper(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    TestSaveFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"

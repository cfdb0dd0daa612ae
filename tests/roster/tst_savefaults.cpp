#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zel;
using namespace Qt::StringLiterals;
using zel::test::DataFolder;

// Saves that cannot or must not go through: the message names the file and why, the file keeps its
// old bytes with nothing beside it, and the same save works once the cause is gone. No save writes
// over another program's change since the last load, nor leaves a cut file when killed midway.

namespace {
enum Fault { None, NoDir, DirGone, ReadOnlyDir, ReadOnlyFile, FullDisk, Edited, Removed };
enum Save { Persons, Green, Job, Clear, Options };

struct Case {
    Fault fault;
    Save save;
    QString reason;     // "@" stands for the data folder
    QByteArray edit{};  // what another program writes, or what fills the disk
    int stopAfter = -1; // bytes a write gets through; -1: all
};

const QString kFileOf[] = {kPersonFile, kGreenListFile, kJobFile, kJobFile, kParameterFile};

// The folder file names "roster" by its absolute path, without a separator; no parameter file.
void writeRoster(const DataFolder& dir) {
    dir.write(kFolderFile, QFile::encodeName(dir.file("roster")) + "\r\n");
    dir.write("roster/" + kPersonFile, " 2\r\nAnn\r\nBob\r\n");
    dir.write("roster/" + kGreenListFile, " 1\r\nsweep\r\n");
    dir.write("roster/" + kJobFile, " 2\r\n 100  0  0\r\n 100  1  0\r\n");
}

QString perform(Save save, const RosterFiles& files, RosterState& state) {
    if (save == Job) { // one more marker: duty 0 for person 0
        state.markerCount += 1;
        state.markerDuty[state.markerCount] = state.markerPerson[state.markerCount] = 0;
    }
    const SaveResult result = save == Persons ? files.savePersonFile(state, {"Ann", "Bob", "Cy"})
                              : save == Green
                                  ? files.saveDutyList(state, DutyColour::Green, {"sweep", "dust"})
                              : save == Job   ? files.saveJobFile(state)
                              : save == Clear ? files.clearJobFile(state)
                                              : files.saveParameterFile({6, 4, 1200, 300, 9});
    return result.ok ? u"ok"_s : result.message();
}

// Every file and folder under `folder`, with the bytes of each file.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        found[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }
    return found;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// The two contents a burst of saves alternates between: a cut or mixed file matches neither.
const QByteArray kBurst[] = {QByteArray(7, 'a'), QByteArray(20000, 'b')};

} // namespace

class TestSaveFaults : public QObject {
    Q_OBJECT

  private slots:
    void failedSaves_data() {
        QTest::addColumn<Case>("c");
        const QString noDir = u"保存先のフォルダ「@」がありません。"_s;
        const QString stopped = u"書き込みが途中で止まりました (%1 / %2 バイト)。"_s;
        const QString changed = RosterFiles::changedOnDiskReason();
        QTest::newRow("data folder missing") << Case{NoDir, Persons, noDir};
        QTest::newRow("data folder moved away while the board runs") << Case{DirGone, Job, noDir};
        QTest::newRow("read-only data folder") << Case{
            ReadOnlyDir, Job,
            u"フォルダ「@」に書き込めません (読み取り専用か、書き込む権限がありません)。"_s};
        QTest::newRow("read-only job file")
            << Case{ReadOnlyFile, Job, u"ファイルが読み取り専用です。"_s};
        QTest::newRow("full disk")
            << Case{FullDisk, Job, u"ディスクに空きがありません。"_s, QByteArray(1 << 16, 'x')};
        QTest::newRow("write stops at once") << Case{None, Job, stopped.arg(0).arg(41), {}, 0};
        QTest::newRow("write stops before the last byte")
            << Case{None, Job, stopped.arg(40).arg(41), {}, 40};
        QTest::newRow("new file, write stops midway")
            << Case{None, Options, stopped.arg(7).arg(25), {}, 7};
        // Changed since the last load; a same-size rewrite shows only in the bytes.
        QTest::newRow("job file rewritten") << Case{Edited, Job, changed, " 1\r\n 1  0  0\r\n"};
        QTest::newRow("job file removed, then all cleared") << Case{Removed, Clear, changed};
        QTest::newRow("person file, same size")
            << Case{Edited, Persons, changed, " 2\r\nAnn\r\nBen\r\n"};
        QTest::newRow("green list rewritten") << Case{Edited, Green, changed, " 0\r\n"};
        QTest::newRow("parameter file made after a load without one")
            << Case{Edited, Options, changed, " 3\r\n 3\r\n 900\r\n 300\r\n 9\r\n"};
    }

    void failedSaves() {
        QFETCH(Case, c);
        // Root writes into read-only folders: it saves as "nobody" there.
        constexpr uid_t nobody = 65534;
        const bool asNobody = (c.fault == ReadOnlyDir || c.fault == ReadOnlyFile) && !::geteuid();
        if (asNobody && (::setresuid(nobody, nobody, 0) != 0 || ::setresuid(0, 0, 0) != 0))
            QSKIP("root cannot save as the unprivileged user \"nobody\" here");
        DataFolder dir;
        const QString roster = dir.file("roster");
        const QString target = dir.file((c.save >= Options ? "" : "roster/") + kFileOf[c.save]);
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(roster), MNT_DETACH); });
        if (c.fault != NoDir)
            QVERIFY(QDir().mkdir(roster) && setMode(dir.path(), 0755));
        if (c.fault == FullDisk &&
            ::mount("tmpfs", QFile::encodeName(roster), "tmpfs", 0, "size=32k"))
            QSKIP(qPrintable("cannot mount a small tmpfs to fill (needs root): " +
                             QString::fromLocal8Bit(std::strerror(errno))));
        writeRoster(dir); // nothing lands in a missing data folder
        test::FailingFileStore store;
        RosterFiles files(store, dir.path());
        RosterState state;
        files.loadAll(state);
        const auto save = [&](RosterState& s) {
            if (asNobody && ::setresuid(nobody, nobody, 0) != 0)
                return u"cannot become nobody"_s;
            const QString outcome = perform(c.save, files, s);
            if (asNobody && ::setresuid(0, 0, 0) != 0)
                qFatal("cannot become root again");
            return outcome;
        };

        QVERIFY(c.fault == DirGone        ? QDir(dir.path()).rename("roster", "moved")
                : c.fault == ReadOnlyDir  ? setMode(roster, 0555)
                : c.fault == ReadOnlyFile ? setMode(roster, 0777) && setMode(target, 0444)
                : c.fault == Removed      ? QFile::remove(target)
                                          : true);
        if (!c.edit.isEmpty()) // as much of the filler as fits
            dir.write(c.fault == FullDisk ? roster + "/filler" : target, c.edit);
        store.failAfterBytes = c.stopAfter;

        const auto before = snapshot(dir.path());
        RosterState tried = state;
        QCOMPARE(
            save(tried),
            u"「%1」を保存できませんでした。\n%2\n\nファイルは変更前のまま残っています。"_s.arg(
                kFileOf[c.save], c.reason.replace(u'@', roster)));
        QVERIFY(snapshot(dir.path()) == before); // the old file as it was, nothing beside it
        QCOMPARE(tried.markerOffset, state.markerOffset);

        // The cause goes away (after another program's change, the board reloads); the same save
        // works.
        QVERIFY(c.fault == NoDir     ? QDir().mkdir(roster)
                : c.fault == DirGone ? QDir(dir.path()).rename("moved", "roster")
                : c.fault == ReadOnlyDir || c.fault == ReadOnlyFile
                    ? setMode(roster, 0777) && setMode(target, 0666)
                : c.fault == FullDisk ? QFile::remove(roster + "/filler")
                                      : true);
        if (c.fault == Edited || c.fault == Removed)
            files.loadAll(state);
        store.failAfterBytes = -1;
        QCOMPARE(save(state), u"ok"_s);
        QVERIFY(snapshot(dir.path()) != before);
    }

    void killedDuringSaves() {
        DataFolder dir;
        const QString path = dir.file(kPersonFile);
        for (int run = 0; run < 25; ++run) {
            dir.write(kPersonFile, "before");
            const pid_t child = ::fork();
            if (child == 0) // saves the two contents in turn until killed
                for (int i = 1;; ++i)
                    FileStore().save(path, kBurst[i % 2]);
            QVERIFY(child > 0);
            { // killed once it is saving, at a random moment of the burst
                const auto stop = qScopeGuard([=] {
                    ::kill(child, SIGKILL);
                    ::waitpid(child, nullptr, 0);
                });
                QTRY_VERIFY_WITH_TIMEOUT(dir.read(kPersonFile) != "before", 20000);
                QThread::usleep(QRandomGenerator::global()->bounded(20000));
            }
            const QByteArray now = dir.read(kPersonFile);
            QVERIFY2(now == kBurst[0] || now == kBurst[1], qPrintable(QString::number(run)));
        }
        // Whatever a killed save left behind, the file is saved as before.
        QVERIFY(FileStore().save(path, "new").ok);
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"

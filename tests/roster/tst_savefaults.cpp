// Saves that cannot or must not go through: the message names the file and why, the file keeps its
// old bytes with nothing beside it, and the same save works once the cause is gone. No save writes
// over another program's change since the last load, nor leaves a cut file when killed midway.
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"
#include "support/TableRow.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zel;
using zel::test::row;
using namespace Qt::StringLiterals;
using zel::test::DataFolder;

namespace {
enum Fault {
    None,
    NoDir,
    DirGone,
    ReadOnlyDir,
    ReadOnlyFile,
    FullDisk,
    Edited,
    Removed,
    NewFile,
    DanglingLink,
    LinkLoop
};

struct Case {
    Fault fault;
    QString reason;     // "@" stands for the data folder
    QByteArray edit{};  // what another program writes to the job file, or what fills the disk
    int stopAfter = -1; // bytes a write gets through; -1: all
};

// Every file and folder under `folder`, with the bytes of each file.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> found;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        found[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }
    return found;
}

bool setMode(const QString& path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}
} // namespace

// Every case saves the job file with one more marker.
class TestSaveFaults : public QObject {
    Q_OBJECT

  private slots:
    void failedSaves_data() {
        QTest::addColumn<Case>("c");
        const QString noDir = u"保存先のフォルダ「@」がありません。"_s;
        const QString stopped = u"書き込みが途中で止まりました (%1 / %2 バイト)。"_s;
        const QString changed = RosterFiles::changedOnDiskReason();
        row("data folder missing", Case{NoDir, noDir});
        row("data folder moved away while the board runs", Case{DirGone, noDir});
        row("read-only data folder",
            Case{ReadOnlyDir,
                 u"フォルダ「@」に書き込めません (読み取り専用か、書き込む権限がありません)。"_s});
        row("read-only job file", Case{ReadOnlyFile, u"ファイルが読み取り専用です。"_s});
        row("full disk",
            Case{FullDisk, u"ディスクに空きがありません。"_s, QByteArray(1 << 16, 'x')});
        row("write stops before the last byte", Case{None, stopped.arg(40).arg(41), {}, 40});
        row("new file, write stops midway", Case{NewFile, stopped.arg(7).arg(14), {}, 7});
        // Changed since the last load; a same-size rewrite shows only in the bytes.
        row("rewritten, same size", Case{Edited, changed, " 2\r\n 100  1  0\r\n 100  0  0\r\n"});
        row("removed", Case{Removed, changed});
        row("made after a load without one", Case{NewFile, changed, " 1\r\n 1  0  0\r\n"});
        // A link is never replaced by a file: a chain that ends nowhere or loops is no target.
        row("link to a link to nothing",
            Case{
                DanglingLink,
                u"シンボリックリンク「@/zeljob.dat」の先のファイル「@/real.dat」がありません。"_s});
        row("links in a loop",
            Case{LinkLoop, u"シンボリックリンク「@/zeljob.dat」は輪になっていて、書き込む"
                           u"ファイルにたどり着けません。"_s});
    }

    void failedSaves() {
        QFETCH(Case, c);
        // Root writes into read-only folders: there it saves as "nobody", then becomes root again.
        const bool asNobody = (c.fault == ReadOnlyDir || c.fault == ReadOnlyFile) && !::geteuid();
        const auto become = [asNobody](uid_t uid) {
            return !asNobody || ::setresuid(uid, uid, 0) == 0;
        };
        if (!become(65534) || !become(0))
            QSKIP("root cannot save as the unprivileged user \"nobody\" here");
        DataFolder dir;
        const QString roster = dir.file("roster"), job = roster + '/' + kJobFile;
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(roster), MNT_DETACH); });
        if (c.fault != NoDir)
            QVERIFY(QDir().mkdir(roster) && setMode(dir.path(), 0755));
        if (c.fault == FullDisk &&
            ::mount("tmpfs", QFile::encodeName(roster), "tmpfs", 0, "size=32k"))
            QSKIP("cannot mount a small tmpfs to fill (needs root)");
        // The folder file names "roster" by its absolute path, without a separator. Green markers
        // are 5 characters wide: the new marker's offset would be 1500.
        dir.write(kFolderFile, QFile::encodeName(roster) + "\r\n");
        dir.write(roster + '/' + kGreenListFile, " 1\r\nsweep\r\n"); // lost in a missing folder
        const bool linked = c.fault == DanglingLink || c.fault == LinkLoop;
        if (c.fault != NewFile && !linked)
            dir.write(job, " 2\r\n 100  0  0\r\n 100  1  0\r\n");
        // zeljob.dat -> current.dat -> real.dat, which is missing or links back to the start.
        if (linked &&
            !(QFile::link("current.dat", job) && QFile::link("real.dat", roster + "/current.dat") &&
              (c.fault == DanglingLink || QFile::link(job, roster + "/real.dat"))))
            QFAIL("cannot make symbolic links");
        test::FailingFileStore store;
        RosterFiles files(store, dir.path());
        RosterState state;
        files.loadAll(state);
        const auto save = [&](RosterState& s) { // duty 0 for person 0
            s.markerCount += 1;
            s.markerDuty[s.markerCount] = s.markerPerson[s.markerCount] = 0;
            const SaveResult result =
                become(65534) ? files.saveJobFile(s) : SaveResult::failure({}, {});
            if (!become(0))
                qFatal("cannot become root again");
            return result.ok ? u"ok"_s : result.message();
        };

        QVERIFY(c.fault == DirGone        ? QDir(dir.path()).rename("roster", "moved")
                : c.fault == ReadOnlyDir  ? setMode(roster, 0555)
                : c.fault == ReadOnlyFile ? setMode(roster, 0777) && setMode(job, 0444)
                : c.fault == Removed      ? QFile::remove(job)
                                          : true);
        if (!c.edit.isEmpty()) // as much of the filler as fits
            dir.write(c.fault == FullDisk ? roster + "/filler" : job, c.edit);
        store.failAfterBytes = c.stopAfter;
        const auto before = snapshot(dir.path());
        RosterState tried = state;
        // The message says what is left: the old file, or none where there was none to write.
        const bool remains = !linked && c.fault != NoDir && c.fault != DirGone &&
                             c.fault != Removed && (c.fault != NewFile || !c.edit.isEmpty());
        QCOMPARE(save(tried), u"「zeljob.dat」を保存できませんでした。\n%1\n\n%2"_s.arg(
                                  c.reason.replace(u'@', roster),
                                  remains ? u"ファイルは変更前のまま残っています。"_s
                                          : u"ファイルはありません (何も書き込んでいません)。"_s));
        QVERIFY(snapshot(dir.path()) == before); // the old file as it was, nothing beside it
        QCOMPARE(tried.markerOffset, state.markerOffset);

        // The cause goes away and the board loads again, as after every failed save: the same
        // save works, through the links where there are links.
        const QString real = roster + "/real.dat";
        QVERIFY(c.fault == NoDir     ? QDir().mkdir(roster)
                : c.fault == DirGone ? QDir(dir.path()).rename("moved", "roster")
                : c.fault == ReadOnlyDir || c.fault == ReadOnlyFile
                    ? setMode(roster, 0777) && setMode(job, 0666)
                : c.fault == FullDisk ? QFile::remove(roster + "/filler")
                : linked              ? (QFile::remove(real), dir.write(real, " 0\r\n"), true)
                                      : true);
        files.loadAll(state);
        store.failAfterBytes = -1;
        QCOMPARE(save(state), u"ok"_s);
        QVERIFY(snapshot(dir.path()) != before);
        if (linked)
            QVERIFY(QFileInfo(job).isSymLink() && dir.read(real).startsWith(" 1\r\n"));
    }

    void killedDuringSaves() {
        DataFolder dir;
        const QString path = dir.file(kPersonFile);
        // The two contents a burst of saves alternates between: a cut or mixed file matches
        // neither.
        const QByteArray burst[] = {QByteArray(7, 'a'), QByteArray(20000, 'b')};
        for (int run = 0; run < 25; ++run) {
            dir.write(kPersonFile, "before");
            const pid_t child = ::fork();
            if (child == 0) // saves the two contents in turn until killed
                for (int i = 1;; ++i)
                    FileStore().save(path, burst[i % 2]);
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
            QVERIFY2(now == burst[0] || now == burst[1], qPrintable(QString::number(run)));
        }
        QVERIFY(FileStore().save(path, "new").ok); // whatever a killed save left behind
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"

// Two programs saving one job file at the same time, on a local folder and on an sshfs mount of
// it: every update lands (none is overwritten by the other), no load ever sees a cut file, and
// no lock file is left, also when one of them is killed at random moments while it saves.
//
// The savers are this executable started again with ZEL_SAVER set. Each one owns one marker
// record (yellow duty 1 or 2) and counts its person field up by one per save, through the same
// load, "unchanged since read" check, lock and atomic save as the board.
#include "platform/SaveLock.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/LoopbackShare.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

using namespace zel;
using zel::test::DataFolder;

namespace {
const QByteArray kStartJob = " 2\r\n 1  0  0\r\n 2  0  0\r\n";

// The counter of saver `id` as the job file holds it; -1 when the file is not whole.
int counterOf(const RosterState& state, int id) {
    if (state.markerCount != 2)
        return -1;
    for (int m = 1; m <= 2; ++m)
        if (state.markerDuty[m] == id)
            return state.markerPerson[m];
    return -1;
}

// ZEL_SAVER = "folder|id|target|mode|stop": mode "own" makes `target` saves of its own, or saves
// until the file `stop` exists when one is named; mode "upto" saves until its counter in the file
// reaches `target` (a saver restarted after a kill). A saver that owns its counter checks at the
// end that the file holds every one of its saves.
int runSaver(const QByteArray& plan) {
    const QList<QByteArray> parts = plan.split('|');
    const QString folder = QString::fromLocal8Bit(parts[0]);
    const int id = parts[1].toInt(), target = parts[2].toInt();
    const bool own = parts[3] == "own";
    const QString stop = parts.size() > 4 ? QString::fromLocal8Bit(parts[4]) : QString();
    FileStore store;
    RosterFiles files(store, folder);
    RosterState state;
    for (int done = 0;;) {
        files.loadAll(state);
        const int counter = counterOf(state, id);
        if (counter < 0) {
            std::fprintf(stderr, "saver %d: a load saw a cut job file\n", id);
            return 3;
        }
        if (own && (stop.isEmpty() ? done == target : QFile::exists(stop))) {
            if (counter == done)
                return 0;
            std::fprintf(stderr, "saver %d: %d saves made, %d in the file\n", id, done, counter);
            return 4;
        }
        if (!own && counter >= target)
            return 0;
        for (int m = 1; m <= 2; ++m)
            if (state.markerDuty[m] == id)
                state.markerPerson[m] = counter + 1;
        const SaveResult result = files.saveJobFile(state);
        if (result.ok) {
            ++done;
        } else if (result.reason != RosterFiles::changedOnDiskReason()) {
            std::fprintf(stderr, "saver %d: %s\n", id, qPrintable(result.message()));
            return 2;
        }
    }
}

std::unique_ptr<QProcess> startSaver(const QString& folder, int id, int target, const char* mode,
                                     const QString& stop = {}) {
    auto saver = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZEL_SAVER",
               QStringLiteral("%1|%2|%3|%4|%5").arg(folder).arg(id).arg(target).arg(mode, stop));
    saver->setProcessEnvironment(env);
    saver->setProcessChannelMode(QProcess::ForwardedChannels);
    saver->start(QCoreApplication::applicationFilePath(), {});
    return saver;
}

bool finished(QProcess& saver, int timeoutMs) {
    // (waitForFinished is false for a process that has already ended)
    return (saver.state() == QProcess::NotRunning || saver.waitForFinished(timeoutMs)) &&
           saver.exitStatus() == QProcess::NormalExit && saver.exitCode() == 0;
}

struct Counters {
    int first = -1, second = -1;
};
Counters countersIn(const QString& folder) {
    FileStore store;
    RosterFiles files(store, folder);
    RosterState state;
    files.loadAll(state);
    return {counterOf(state, 1), counterOf(state, 2)};
}

QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({SaveLock::fileName() + "*"},
                                  QDir::Files | QDir::Hidden | QDir::System);
}
} // namespace

class TestSharedSaves : public QObject {
    Q_OBJECT
    DataFolder m_local;
    zel::test::LoopbackShare m_share;
    QString m_mountA, m_mountB, m_shareProblem;

    // Where the two savers work: both on the local folder, or one on each sshfs mount.
    QStringList places(const QString& where) {
        if (where == "local")
            return {m_local.path(), m_local.path()};
        if (!m_shareProblem.isEmpty())
            return {};
        return {m_mountA, m_mountB};
    }

  private slots:
    void initTestCase() {
        m_local.write(kJobFile, kStartJob);
        if (!m_share.start())
            m_shareProblem = m_share.why;
        else if ((m_mountA = m_share.mount(m_local.path())).isEmpty() ||
                 (m_mountB = m_share.mount(m_local.path())).isEmpty())
            m_shareProblem = m_share.why;
    }

    void racingSaves_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("saves");
        QTest::newRow("local folder") << "local" << 400;
        QTest::newRow("sshfs mounts") << "sshfs" << 120;
    }
    void racingSaves() {
        QFETCH(QString, where);
        QFETCH(int, saves);
        const QStringList at = places(where);
        if (at.isEmpty())
            QSKIP(qPrintable("no sshfs mount: " + m_shareProblem));
        m_local.write(kJobFile, kStartJob);
        auto first = startSaver(at[0], 1, saves, "own");
        auto second = startSaver(at[1], 2, saves, "own");
        QVERIFY(finished(*first, 90000));
        QVERIFY(finished(*second, 90000));
        const Counters c = countersIn(m_local.path());
        QCOMPARE(c.first, saves); // a lost update shows as a smaller count
        QCOMPARE(c.second, saves);
        QCOMPARE(leftovers(m_local.path()), QStringList());
    }

    // The second saver is killed again and again, often while it holds the lock; the first
    // saves all the while, takes each stale lock over and has every one of its saves in the file.
    void savesWithKills_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("kills");
        QTest::newRow("local folder") << "local" << 10;
        QTest::newRow("sshfs mounts") << "sshfs" << 5;
    }
    void savesWithKills() {
        QFETCH(QString, where);
        QFETCH(int, kills);
        const QStringList at = places(where);
        if (at.isEmpty())
            QSKIP(qPrintable("no sshfs mount: " + m_shareProblem));
        m_local.write(kJobFile, kStartJob);
        // The first saver runs until told to stop, however fast the machine saves.
        QTemporaryDir stopFolder;
        const QString stop = stopFolder.filePath("stop");
        auto first = startSaver(at[0], 1, 0, "own", stop);
        QVERIFY(first->waitForStarted(5000));
        for (int k = 0; k < kills; ++k) {
            auto victim = startSaver(at[1], 2, 1000000, "upto");
            QVERIFY(victim->waitForStarted(5000));
            QThread::msleep(QRandomGenerator::global()->bounded(30, 250));
            QVERIFY2(first->state() == QProcess::Running, "the first saver ended early");
            ::kill(pid_t(victim->processId()), SIGKILL);
            victim->waitForFinished(5000);
        }
        QVERIFY(QFile(stop).open(QIODevice::WriteOnly));
        QVERIFY(finished(*first, 30000)); // it checked that the file holds all its saves
        const int saved = countersIn(m_local.path()).first;
        QVERIFY(saved > 0);
        // The killed one may have saved just before each kill; run it to a known count.
        const int reached = countersIn(m_local.path()).second;
        QVERIFY(reached >= 0);
        auto last = startSaver(at[1], 2, reached + 5, "upto");
        QVERIFY(finished(*last, 60000));
        const Counters c = countersIn(m_local.path());
        QCOMPARE(c.first, saved);
        QCOMPARE(c.second, reached + 5);
        QCOMPARE(leftovers(m_local.path()), QStringList());
    }
};

int main(int argc, char** argv) {
    if (const QByteArray plan = qgetenv("ZEL_SAVER"); !plan.isEmpty()) {
        QCoreApplication app(argc, argv);
        return runSaver(plan);
    }
    QCoreApplication app(argc, argv);
    TestSharedSaves test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharedsaves.moc"

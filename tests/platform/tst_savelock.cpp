// The lock around a save: held while another program holds it, taken over when its holder is
// gone, and never removed from under another program.
#include "platform/SaveLock.h"
#include "support/DataFolder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace zel;
using zel::test::DataFolder;

namespace {
// ZEL_HOLD_LOCK = folder: this executable takes the lock, says so and keeps it until killed.
int holdLock(const QString& folder) {
    SaveLock lock(folder);
    if (lock.acquire() != SaveLock::Outcome::Held)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    ::pause();
    return 0;
}

std::unique_ptr<QProcess> startHolder(const QString& folder) {
    auto holder = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZEL_HOLD_LOCK", folder);
    holder->setProcessEnvironment(env);
    holder->start(QCoreApplication::applicationFilePath(), {});
    if (!holder->waitForReadyRead(10000) || !holder->readAll().startsWith("held"))
        return nullptr;
    return holder;
}

QByteArray lockLine(const QByteArray& host, qint64 pid, qint64 msAgo) {
    return host + ' ' + QByteArray::number(pid) + ' ' +
           QByteArray::number(QDateTime::currentMSecsSinceEpoch() - msAgo) + " 1f2e3d\n";
}

qint64 deadPid() {
    QProcess gone;
    gone.start("true", {});
    gone.waitForFinished();
    return gone.processId() > 0 ? gone.processId() : 999999;
}
} // namespace

class TestSaveLock : public QObject {
    Q_OBJECT
  private slots:
    void leftLockFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<int>("atMostMs");
        const QByteArray here = QSysInfo::machineHostName().toUtf8();
        QTest::newRow("holder on this host is gone") << lockLine(here, deadPid(), 0) << 0 << 800;
        QTest::newRow("written long ago elsewhere") << lockLine("pc-7", 4242, 600000) << 0 << 800;
        // Fresh and from another PC: only waiting (or, where fcntl locks are shared, the
        // missing fcntl lock after a second) shows that no one holds it.
        QTest::newRow("fresh from another PC, not held")
            << lockLine("pc-7", 4242, 0) << 900 << SaveLock::kStaleMs + 1500;
        QTest::newRow("cut while being written") << QByteArray("pc-7 42") << 900 << 3000;
    }
    void leftLockFiles() {
        QFETCH(QByteArray, content);
        QFETCH(int, atLeastMs);
        QFETCH(int, atMostMs);
        DataFolder folder;
        folder.write(SaveLock::fileName(), content);
        QElapsedTimer clock;
        clock.start();
        SaveLock lock(folder.path());
        QCOMPARE(lock.acquire(), SaveLock::Outcome::Held);
        QVERIFY2(clock.elapsed() >= atLeastMs && clock.elapsed() <= atMostMs,
                 qPrintable(QString::number(clock.elapsed()) + " ms"));
        QVERIFY(folder.read(SaveLock::fileName()) != content);
        lock.release();
        QVERIFY(!folder.exists(SaveLock::fileName()));
    }

    void heldByAnotherProgram() {
        DataFolder folder;
        auto holder = startHolder(folder.path());
        QVERIFY(holder);
        const QByteArray theirs = folder.read(SaveLock::fileName());
        SaveLock lock(folder.path());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(lock.acquire(1500), SaveLock::Outcome::Busy);
        QVERIFY(clock.elapsed() >= 1500);
        QCOMPARE(folder.read(SaveLock::fileName()), theirs);
        // Killed while holding it: taken over at once.
        ::kill(pid_t(holder->processId()), SIGKILL);
        holder->waitForFinished(5000);
        clock.restart();
        QCOMPARE(lock.acquire(), SaveLock::Outcome::Held);
        QVERIFY(clock.elapsed() < 800);
    }

    // A holder thought dead by another program finds its lock replaced: it leaves that alone.
    void releaseLeavesAnotherLock() {
        DataFolder folder;
        SaveLock lock(folder.path());
        QCOMPARE(lock.acquire(), SaveLock::Outcome::Held);
        const QByteArray other = lockLine("pc-7", 4242, 0);
        folder.write(SaveLock::fileName(), other);
        lock.release();
        QCOMPARE(folder.read(SaveLock::fileName()), other);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

int main(int argc, char** argv) {
    if (const QString folder = qEnvironmentVariable("ZEL_HOLD_LOCK"); !folder.isEmpty())
        return holdLock(folder);
    QCoreApplication app(argc, argv);
    TestSaveLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savelock.moc"

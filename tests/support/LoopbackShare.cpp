#include "support/LoopbackShare.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <unistd.h>

namespace zel::test {

namespace {
bool runs(const QString& program, const QStringList& args, QString* output = nullptr,
          int timeoutMs = 20000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    const bool done = process.waitForFinished(timeoutMs);
    if (!done)
        process.kill(), process.waitForFinished(2000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
} // namespace

LoopbackShare::~LoopbackShare() {
    for (const QString& mountPoint : QStringList(m_mounts))
        unmount(mountPoint);
    if (m_sshd) {
        m_sshd->terminate();
        if (!m_sshd->waitForFinished(3000))
            m_sshd->kill(), m_sshd->waitForFinished(2000);
    }
}

bool LoopbackShare::start() {
    if (::geteuid() != 0)
        return fail("the loopback SSH server needs root (as in CI)");
    if (!QFile::exists("/dev/fuse"))
        return fail("/dev/fuse is missing: no FUSE on this machine");
    for (const char* tool : {"/usr/sbin/sshd", "/usr/bin/sshfs", "/usr/bin/fusermount3"})
        if (!QFile::exists(tool))
            return fail(QString(tool) + " is missing (packages openssh-server, sshfs, fuse3)");
    if (!m_dir.isValid())
        return fail("no temporary folder");
    const QString dir = m_dir.path();
    QString out;
    for (const char* key : {"host", "user"})
        if (!runs("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", dir + "/" + key}, &out))
            return fail("ssh-keygen failed: " + out);
    QFile::copy(dir + "/user.pub", dir + "/authorized_keys");
    QDir().mkpath("/run/sshd");
    // A port of its own; another test or helper may hold one, so a few are tried.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = 20000 + int(QRandomGenerator::global()->bounded(20000));
        QFile config(dir + "/sshd_config");
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail("cannot write the sshd configuration");
        config.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host\n"
                                    "PidFile %2/sshd.pid\nAuthorizedKeysFile %2/authorized_keys\n"
                                    "UsePAM no\nPermitRootLogin prohibit-password\n"
                                    "StrictModes no\nSubsystem sftp internal-sftp\n")
                         .arg(m_port)
                         .arg(dir)
                         .toUtf8());
        config.close();
        m_sshd = std::make_unique<QProcess>();
        m_sshd->setProcessChannelMode(QProcess::MergedChannels);
        m_sshd->start("/usr/sbin/sshd", {"-D", "-e", "-f", dir + "/sshd_config"});
        if (!m_sshd->waitForStarted(5000))
            return fail("sshd did not start: " + m_sshd->errorString());
        // It listens within moments, or ends (a port in use).
        if (!m_sshd->waitForFinished(700))
            return true;
        out = QString::fromLocal8Bit(m_sshd->readAll()).trimmed();
    }
    return fail("sshd ended at once: " + out);
}

QString LoopbackShare::mount(const QString& remoteFolder) {
    const QString mountPoint = m_dir.path() + "/mnt" + QString::number(m_mounts.size() + 1);
    QDir().mkpath(mountPoint);
    QString out;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (runs("sshfs",
                 {"-p", QString::number(m_port), "-o",
                  "IdentityFile=" + m_dir.path() +
                      "/user,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,"
                      "BatchMode=yes,dir_cache=no,attr_timeout=0,entry_timeout=0,"
                      "negative_timeout=0,direct_io",
                  "root@127.0.0.1:" + remoteFolder, mountPoint},
                 &out)) {
            m_mounts << mountPoint;
            return mountPoint;
        }
        QThread::msleep(300); // sshd may still be starting
    }
    fail("sshfs could not mount: " + out);
    return {};
}

bool LoopbackShare::unmount(const QString& mountPoint) {
    bool gone = false;
    for (int attempt = 0; attempt < 20 && !gone; ++attempt) {
        gone = runs("fusermount3", {"-u", mountPoint});
        if (!gone)
            QThread::msleep(200);
    }
    if (!gone)
        runs("fusermount3", {"-u", "-z", mountPoint});
    m_mounts.removeAll(mountPoint);
    return gone;
}

} // namespace zel::test

#include "platform/SaveLock.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace zel {

namespace {
QByteArray thisHost() {
    static const QByteArray host = QSysInfo::machineHostName().toUtf8().replace(' ', '_');
    return host.isEmpty() ? QByteArray("unknown") : host;
}

QByteArray readSmall(const QByteArray& path, bool* missing = nullptr) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (missing)
        *missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return {};
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
}

// File systems whose fcntl locks reach every client: local ones, NFS and SMB. On FUSE
// mounts (sshfs, GVFS) a lock stays on the machine that took it.
bool locksAreShared(const QByteArray& path) {
    struct statfs fs {};
    if (::statfs(path.constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53UL:     // ext2/3/4
    case 0x01021994UL: // tmpfs
    case 0x9123683EUL: // btrfs
    case 0x58465342UL: // xfs
    case 0x6969UL:     // NFS
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
        return true;
    default:
        return false;
    }
}

// True when a process holds the fcntl lock of the file; nullopt when it cannot be told.
std::optional<bool> fcntlHeld(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool asked = ::fcntl(fd, F_GETLK, &probe) == 0;
    ::close(fd);
    if (!asked)
        return std::nullopt;
    return probe.l_type != F_UNLCK;
}
} // namespace

const QString& SaveLock::fileName() {
    static const QString name = QStringLiteral(".zeltomil-save.lock");
    return name;
}

QString SaveLock::busyReason() {
    return QStringLiteral(
        "ほかのプログラムが保存中のため、保存できませんでした。少し待ってから、もう一度"
        "操作してください。");
}

SaveLock::SaveLock(const QString& folder)
    : m_path(QFile::encodeName(QDir(folder).filePath(fileName()))) {}

SaveLock::~SaveLock() {
    release();
}

SaveLock::Outcome SaveLock::acquire(int waitMs) {
    if (isHeld())
        return Outcome::Held;
    QElapsedTimer waited;
    waited.start();
    QElapsedTimer unchanged; // how long the lock file has held what we last saw
    QByteArray seen;
    int oddFailures = 0;
    for (;;) {
        m_content = thisHost() + ' ' + QByteArray::number(::getpid()) + ' ' +
                    QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' ' +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 16) + '\n';
        const int fd = ::open(m_path.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd >= 0) {
            const bool written =
                ::write(fd, m_content.constData(), size_t(m_content.size())) == m_content.size();
            struct flock hold {};
            hold.l_type = F_WRLCK;
            hold.l_whence = SEEK_SET;
            ::fcntl(fd, F_SETLK, &hold); // where the file system has no such lock: the file alone
            if (!written) { // a full disk: the file we just made holds nothing; drop it
                ::unlink(m_path.constData());
                ::close(fd);
                return Outcome::Unavailable;
            }
            m_fd = fd;
            return Outcome::Held;
        }
        const int error = errno;
        // SFTP has no "file exists" status: sshfs says EPERM or EIO when the server refused
        // to create a lock file that appeared after the kernel looked. A folder that cannot
        // hold a lock file at all says so every time with no file there.
        struct stat st {};
        if (error != EEXIST && ::stat(m_path.constData(), &st) != 0) {
            if (++oddFailures >= 20 || error == EACCES || error == EROFS || error == ENOENT ||
                error == ENOTDIR || error == ENOSPC || error == EDQUOT)
                return Outcome::Unavailable;
            continue;
        }
        oddFailures = 0;

        bool missing = false;
        const QByteArray content = readSmall(m_path, &missing);
        if (!missing) {
            if (!unchanged.isValid() || content != seen) {
                seen = content;
                unchanged.start();
            } else if (isStale(content, unchanged.elapsed())) {
                removeIfHolding(content);
                unchanged.invalidate();
                continue;
            }
        }
        if (waited.elapsed() >= waitMs)
            return Outcome::Busy;
        // A random pause, so that two waiters do not knock in step.
        QThread::usleep(1000 + QRandomGenerator::global()->bounded(4000));
    }
}

bool SaveLock::isStale(const QByteArray& content, qint64 unchangedMs) const {
    if (unchangedMs >= kStaleMs)
        return true;
    const QList<QByteArray> fields = content.trimmed().split(' ');
    // A lock file that holds no whole line is one whose holder died while writing it (or is
    // writing it now: give that a moment).
    if (fields.size() != 4)
        return unchangedMs >= 1000;
    bool pidOk = false, timeOk = false;
    const qint64 pid = fields[1].toLongLong(&pidOk);
    const qint64 written = fields[2].toLongLong(&timeOk);
    if (fields[0] == thisHost() && pidOk && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    if (timeOk && QDateTime::currentMSecsSinceEpoch() - written > 60000)
        return true;
    // The holder takes its fcntl lock just after creating the file: wait a second before
    // trusting that no one holds it.
    if (unchangedMs >= 1000 && locksAreShared(m_path))
        return fcntlHeld(m_path) == false;
    return false;
}

bool SaveLock::removeIfHolding(const QByteArray& content) const {
    // Move the file aside first: only then is it certain which file is looked at.
    const QByteArray aside = m_path + '.' + thisHost() + '.' + QByteArray::number(::getpid()) +
                             '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16);
    if (::rename(m_path.constData(), aside.constData()) != 0)
        return false;
    if (readSmall(aside) == content) {
        ::unlink(aside.constData());
        return true;
    }
    // Another program's fresh lock: put it back unless yet another was made meanwhile.
    if (::link(aside.constData(), m_path.constData()) == 0 || errno == EEXIST)
        ::unlink(aside.constData());
    else
        ::rename(aside.constData(), m_path.constData());
    return false;
}

void SaveLock::release() {
    if (m_fd < 0)
        return;
    // Only our own lock is removed: one taken over as stale now belongs to another. A live
    // holder is never taken for stale within moments, so reading first is enough here (and
    // a holder killed now leaves no file aside).
    if (readSmall(m_path) == m_content)
        ::unlink(m_path.constData());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace zel

#include "platform/FileStore.h"

#include "platform/LinkChain.h"
#include "platform/StaleTemporaries.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

QString SaveResult::message() const {
    if (ok)
        return {};
    return QStringLiteral("「%1」を保存できませんでした。\n%2\n\n%3")
        .arg(fileName, reason,
             fileRemains ? QStringLiteral("ファイルは変更前のまま残っています。")
                         : QStringLiteral("ファイルはありません (何も書き込んでいません)。"));
}

std::optional<QByteArray> FileStore::read(const QString& path) const {
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // In small steps: QIODevice::read(n) reserves n bytes up front, and a reload reads six files.
    QByteArray bytes;
    char chunk[16 * 1024];
    while (bytes.size() < kMaxReadBytes) {
        const qint64 n =
            file.read(chunk, std::min<qint64>(sizeof chunk, kMaxReadBytes - bytes.size()));
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(chunk, n);
    }
    return bytes;
}

void FileStore::sweepStaleTemporaries(const QStringList& paths) {
    removeStaleTemporaries(paths, QDateTime::currentDateTimeUtc().addSecs(-60));
}

qint64 FileStore::writeBytes(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes);
}

namespace {
QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString folderProblem(const QString& path) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("保存先のフォルダ「%1」がありません。").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("「%1」はフォルダではありません。").arg(folder.filePath());
    if (QFileInfo(path).isDir())
        return QStringLiteral("同じ名前のフォルダがあります。");
    return {};
}

// The user's words for a system error while saving `target`.
QString writeProblem(const QByteArray& target, int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクに空きがありません。");
    case EACCES:
    case EPERM:
    case EROFS: {
        const QFileInfo file(QFile::decodeName(target));
        if (::access(QFile::encodeName(file.absolutePath()).constData(), W_OK) != 0)
            return QStringLiteral("フォルダ「%1」に書き込めません (読み取り専用か、書き込む"
                                  "権限がありません)。")
                .arg(file.absolutePath());
        return QStringLiteral("ファイルが読み取り専用です。");
    }
    default:
        return QStringLiteral("書き込めませんでした (%1)。").arg(systemText(error));
    }
}

QByteArray temporaryName(const QByteArray& target) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = target + '.';
    for (int i = 0; i < 6; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return name;
}

// The new content is written to a file beside the target that has no name yet where the file
// system allows it, so that a save killed while writing leaves nothing behind; elsewhere under
// a random name. `named` is set once the file has a name.
int openTemporary(const QByteArray& target, QByteArray& named) {
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    // Naming such a file later goes through /proc.
    if (::access("/proc/self/fd", F_OK) == 0) {
        const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = temporaryName(target);
        const int fd = ::open(named.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool nameTemporary(int fd, const QByteArray& target, QByteArray& named) {
    if (!named.isEmpty())
        return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            named = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// Make the rename itself durable: syncing the file does not sync its folder.
void syncFolder(const QByteArray& target) {
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

// Every step is checked: a write that stops short (a full disk), a sync or close that fails
// (network folders report a full disk only there) and the rename. Any failure removes the
// temporary file and leaves the target untouched.
SaveResult FileStore::save(const QString& path, const QByteArray& bytes) {
    const QString name = QFileInfo(path).fileName();
    if (const QString problem = folderProblem(path); !problem.isEmpty())
        return SaveResult::failure(name, problem);
    // A link is followed to the end of its chain: the file there gets the new content.
    const LinkChain chain = LinkChain::resolve(path);
    if (!chain.problem.isEmpty())
        return SaveResult::failure(name, chain.problem);
    const QByteArray& target = chain.target;

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    // Renaming over a read-only file would replace it: refuse as writing into it would.
    if (exists && ::access(target.constData(), W_OK) != 0)
        return SaveResult::failure(name, writeProblem(target, errno));

    QByteArray named;
    const int fd = openTemporary(target, named);
    if (fd < 0)
        return SaveResult::failure(name, writeProblem(target, errno));
    auto fail = [&](const QString& reason) {
        ::close(fd);
        if (!named.isEmpty())
            ::unlink(named.constData());
        return SaveResult::failure(name, reason);
    };
    if (exists) {
        // Keep the old file's permissions and, where allowed, its owner.
        ::fchmod(fd, old.st_mode & 07777);
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    }

    qint64 written = 0;
    int error = 0;
    {
        QFile out;
        if (!out.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                      QFileDevice::DontCloseHandle))
            return fail(QStringLiteral("書き込めませんでした (%1)。").arg(out.errorString()));
        errno = 0;
        written = writeBytes(out, bytes);
        error = errno;
    }
    if (written != bytes.size())
        return fail(error != 0 ? writeProblem(target, error)
                               : QStringLiteral("書き込みが途中で止まりました (%1 / %2 バイト)。")
                                     .arg(std::max<qint64>(written, 0))
                                     .arg(bytes.size()));
    // Only a file system that cannot sync at all is let off.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        return fail(writeProblem(target, errno));
    if (!nameTemporary(fd, target, named))
        return fail(writeProblem(target, errno));
    if (::close(fd) != 0) {
        const int closeError = errno;
        ::unlink(named.constData());
        return SaveResult::failure(name, writeProblem(target, closeError));
    }
    if (::rename(named.constData(), target.constData()) != 0) {
        const int renameError = errno;
        ::unlink(named.constData());
        return SaveResult::failure(name, writeProblem(target, renameError));
    }
    syncFolder(target);
    return SaveResult::success(name);
}

SaveResult FileStore::remove(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QByteArray target = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (::unlink(target.constData()) != 0 && errno != ENOENT)
        return SaveResult::failure(name, writeProblem(target, errno));
    syncFolder(target);
    return SaveResult::success(name);
}

} // namespace zel

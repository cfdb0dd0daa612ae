#include "platform/BoundedFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

BoundedFile BoundedFile::read(const QString& path, qint64 maxBytes, bool followLinks) {
    // Opening a FIFO for reading would wait for a writer: never wait.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {Problem::Missing, {}};
        return {errno == ELOOP ? Problem::NotRegular : Problem::Unreadable, {}};
    }
    BoundedFile result;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        result.problem = Problem::Unreadable;
    else if (!S_ISREG(info.st_mode))
        result.problem = Problem::NotRegular;
    else if (info.st_size > maxBytes)
        result.problem = Problem::TooLarge;
    else {
        // One byte more than allowed tells a file that grew since.
        result.bytes.resize(maxBytes + 1);
        qint64 total = 0;
        while (total <= maxBytes) {
            const ssize_t n = ::read(fd, result.bytes.data() + total, size_t(maxBytes + 1 - total));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    result.problem = Problem::Unreadable;
                break;
            }
            total += n;
        }
        if (total > maxBytes)
            result.problem = Problem::TooLarge;
        result.bytes.resize(result.problem == Problem::None ? total : 0);
    }
    ::close(fd);
    return result;
}

} // namespace zel

#include "platform/LinkChain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace {
bool isLink(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The path the link at `link` names, made absolute from the link's folder; empty if unreadable.
QByteArray nextInChain(const QByteArray& link) {
    QByteArray buffer(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.constData(), buffer.data(), buffer.size());
    if (n < 0)
        return {};
    const QString next = QFile::decodeName(buffer.left(n));
    return QFile::encodeName(
        QDir::cleanPath(QFileInfo(QFile::decodeName(link)).dir().absoluteFilePath(next)));
}

// Where a broken chain stops: the first path in it that is not a link.
QString endOfChain(const QByteArray& start) {
    QByteArray at = start;
    for (int links = 0; links < 40 && isLink(at); ++links) {
        const QByteArray next = nextInChain(at);
        if (next.isEmpty())
            break;
        at = next;
    }
    return QFile::decodeName(at);
}
} // namespace

LinkChain LinkChain::resolve(const QString& path) {
    const QByteArray start = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (!isLink(start))
        return {start, {}};
    char resolved[PATH_MAX];
    if (::realpath(start.constData(), resolved))
        return {QByteArray(resolved), {}};
    switch (const int error = errno) {
    case ELOOP:
        return {{},
                QStringLiteral("シンボリックリンク「%1」は輪になっていて、書き込むファイルに"
                               "たどり着けません。")
                    .arg(path)};
    case ENOENT:
    case ENOTDIR:
        return {{},
                QStringLiteral("シンボリックリンク「%1」の先のファイル「%2」がありません。")
                    .arg(path, endOfChain(start))};
    default:
        return {{},
                QStringLiteral("シンボリックリンク「%1」の先をたどれません (%2)。")
                    .arg(path, QString::fromLocal8Bit(std::strerror(error)))};
    }
}

} // namespace zel

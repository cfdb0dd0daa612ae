#include "roster/DataFileCheck.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

QStringList dataFilePaths(const RosterFiles& files, const RosterState& state) {
    return {files.workingPath(kFolderFile),         files.dataPath(state, kGreenListFile),
            files.dataPath(state, kYellowListFile), files.dataPath(state, kPersonFile),
            files.dataPath(state, kJobFile),        files.workingPath(kParameterFile)};
}

QStringList unreadableFiles(const QStringList& paths) {
    QStringList unreadable;
    for (const QString& path : paths) {
        const QByteArray name = QFile::encodeName(path);
        struct stat info {};
        if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        // Tried as the load does, as this user: the permission bits alone do not tell (root,
        // access lists).
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0)
            ::close(fd);
        else if (errno == EACCES || errno == EPERM)
            unreadable << path;
    }
    return unreadable;
}

QStringList dataFileNotices(const RosterFiles& files, const RosterState& state) {
    QStringList lines;
    for (const QString& path : unreadableFiles(dataFilePaths(files, state)))
        lines << QStringLiteral("「%1」を読めません (読み取る権限がありません)。").arg(path);
    return lines;
}

} // namespace zel

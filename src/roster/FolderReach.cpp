#include "roster/FolderReach.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

QString FolderReport::line() const {
    switch (kind) {
    case Kind::Reachable:
        return {};
    case Kind::Missing:
        return QStringLiteral("データフォルダ「%1」が見つかりません。").arg(folder);
    case Kind::NotFolder:
        return QStringLiteral("データフォルダ「%1」はフォルダではありません。").arg(folder);
    case Kind::Unreadable:
        return QStringLiteral("データフォルダ「%1」を読み取れません。").arg(folder);
    case Kind::Gone:
        return QStringLiteral("データフォルダ「%1」に届きません (共有フォルダの接続が切れたよう"
                              "です)。")
            .arg(folder);
    }
    return {};
}

namespace {
bool statOf(const QString& path, struct stat& st, int& error) {
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return true;
    error = errno;
    return false;
}
} // namespace

FolderReport FolderReach::check(const QString& path, const QString& shownAs, bool forSave) const {
    using Kind = FolderReport::Kind;
    // Without the trailing separator, so that a file in the folder's place is told as such.
    const QString folder = path.isEmpty() ? QStringLiteral(".") : QDir::cleanPath(path);
    struct stat st {};
    int error = 0;
    if (!statOf(folder, st, error))
        return {error == ENOENT || error == ENOTDIR ? Kind::Missing : Kind::Unreadable, shownAs};
    if (!S_ISDIR(st.st_mode))
        return {Kind::NotFolder, shownAs};
    if (::access(QFile::encodeName(folder).constData(), R_OK | X_OK) != 0)
        return {Kind::Unreadable, shownAs};
    if (m_seen.path != path)
        return {Kind::Reachable, shownAs};
    const bool sameFolder = st.st_dev == m_seen.device && st.st_ino == m_seen.inode;
    if (forSave && !sameFolder)
        return {Kind::Gone, shownAs};
    if (m_seen.files.isEmpty())
        return {Kind::Reachable, shownAs};
    const QDir dir(folder);
    for (const QString& name : m_seen.files)
        if (QFile::exists(dir.filePath(name)))
            return {Kind::Reachable, shownAs};
    return {Kind::Gone, shownAs};
}

FolderReport FolderReach::forLoad(const QString& path, const QString& shownAs) const {
    return check(path, shownAs, false);
}

FolderReport FolderReach::forSave(const QString& path, const QString& shownAs) const {
    return check(path, shownAs, true);
}

void FolderReach::remember(const QString& path) {
    const QString folder = path.isEmpty() ? QStringLiteral(".") : QDir::cleanPath(path);
    struct stat st {};
    int error = 0;
    m_seen = {};
    if (!statOf(folder, st, error))
        return;
    m_seen.path = path;
    m_seen.device = st.st_dev;
    m_seen.inode = st.st_ino;
    const QDir dir(folder);
    for (const QString& name : m_files)
        if (QFile::exists(dir.filePath(name)))
            m_seen.files.append(name);
}

} // namespace zel

#include "platform/StaleTemporaries.h"

#include "platform/LinkChain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace {
constexpr int kSuffixLength = 6;

bool isLetterOrDigit(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}
} // namespace

bool isTemporaryNameOf(const QString& candidate, const QString& fileName) {
    if (candidate.size() != fileName.size() + 1 + kSuffixLength ||
        !candidate.startsWith(fileName) || candidate[fileName.size()] != u'.')
        return false;
    const QStringView suffix = QStringView(candidate).right(kSuffixLength);
    return std::all_of(suffix.begin(), suffix.end(), isLetterOrDigit);
}

QStringList removeStaleTemporaries(const QStringList& files, const QDateTime& writtenBefore) {
    // The names to look for, by folder: each file where it is named and where its links lead.
    QMap<QString, QSet<QString>> namesByFolder;
    for (const QString& file : files) {
        const QFileInfo named(file);
        namesByFolder[named.absolutePath()].insert(named.fileName());
        const LinkChain chain = LinkChain::resolve(file);
        if (!chain.target.isEmpty()) {
            const QFileInfo target(QFile::decodeName(chain.target));
            namesByFolder[target.absolutePath()].insert(target.fileName());
        }
    }
    const qint64 limit = writtenBefore.toSecsSinceEpoch();
    QStringList removed;
    for (auto folder = namesByFolder.cbegin(); folder != namesByFolder.cend(); ++folder) {
        const QDir dir(folder.key());
        const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& entry : entries) {
            const bool ours =
                std::any_of(folder.value().begin(), folder.value().end(),
                            [&](const QString& name) { return isTemporaryNameOf(entry, name); });
            if (!ours)
                continue;
            const QByteArray path = QFile::encodeName(dir.filePath(entry));
            struct stat info {};
            // Only a plain file a save could have made; never through a link.
            if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
                info.st_mtime >= limit)
                continue;
            if (::unlink(path.constData()) == 0)
                removed << dir.filePath(entry);
        }
    }
    return removed;
}

} // namespace zel

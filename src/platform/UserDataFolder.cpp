#include "platform/UserDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zel {

QString prepareUserDataFolder(const QString& dataHome, const QString& sampleFolder) {
    const QString folder = QDir(dataHome).filePath(QStringLiteral("zeltomil"));
    if (QFileInfo(folder).isDir())
        return folder;
    if (!QDir().mkpath(folder))
        return {};
    if (!sampleFolder.isEmpty()) {
        const QDir samples(sampleFolder);
        for (const QString& name : samples.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
            const QString target = QDir(folder).filePath(name);
            if (!QFileInfo::exists(target))
                QFile::copy(samples.filePath(name), target);
        }
    }
    return folder;
}

QString findSampleFolder(const QString& programFolder) {
    for (const QString& relative :
         {QStringLiteral("../share/zeltomil/sample"), QStringLiteral("../sample")}) {
        const QString candidate = QDir(programFolder).filePath(relative);
        if (QFileInfo(QDir(candidate).filePath(QStringLiteral("zelprsn.dat"))).isFile())
            return QDir(candidate).absolutePath();
    }
    return {};
}

} // namespace zel

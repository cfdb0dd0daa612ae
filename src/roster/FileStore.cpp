// zeltomil-core
#include "roster/FileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

namespace zel {

QString SaveResult::message() const {
    if (ok)
        return {};
    return QStringLiteral(
               "「%1」を保存できませんでした。\n%2\n\nファイルは変更前のまま残っています。")
        .arg(fileName, reason);
}

std::optional<QByteArray> FileStore::read(const QString& path) const {
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(kMaxReadBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

qint64 FileStore::writeBytes(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes);
}

namespace {
// Make the rename itself durable: QSaveFile syncs the file but not its folder.
void syncFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
} // namespace

SaveResult FileStore::save(const QString& path, const QByteArray& bytes) {
    const QString name = QFileInfo(path).fileName();
    if (const QString problem = folderProblem(path); !problem.isEmpty())
        return SaveResult::failure(name, problem);

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return SaveResult::failure(name, file.errorString());
    const qint64 written = writeBytes(file, bytes);
    // commit() was seen to succeed after a short write on a full disk: count the bytes.
    if (written != bytes.size() || file.error() != QFileDevice::NoError) {
        const QString reason =
            file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("書き込みが途中で止まりました (%1 / %2 バイト)。")
                      .arg(written)
                      .arg(bytes.size());
        file.cancelWriting();
        file.commit();
        return SaveResult::failure(name, reason);
    }
    if (!file.commit())
        return SaveResult::failure(name, file.errorString());
    syncFolder(path);
    return SaveResult::success(name);
}

} // namespace zel

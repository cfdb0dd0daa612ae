#include "platform/FolderWatch.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>

#include <sys/stat.h>

namespace zel {

FileStamp stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.folder = S_ISDIR(st.st_mode);
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    if (!stamp.folder) {
        stamp.size = st.st_size;
        stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    return stamp;
}

FolderWatch::FolderWatch(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &FolderWatch::check);
    m_settle.setSingleShot(true);
    m_settle.setInterval(30);
    connect(&m_settle, &QTimer::timeout, this, &FolderWatch::check);
}

void FolderWatch::watch(const QStringList& files, const QStringList& extraFolders) {
    if (!m_enabled)
        return;
    m_files = files + extraFolders;
    m_stamps.clear();
    for (const QString& file : m_files)
        m_stamps.append(stampOf(file));
    QSet<QString> folders;
    for (const QString& file : files)
        folders.insert(QFileInfo(file).absolutePath());
    for (const QString& folder : extraFolders)
        folders.insert(QFileInfo(folder).absoluteFilePath());
    // A new watcher each time: the folders may be others than before (another data folder).
    delete m_events;
    m_events = new QFileSystemWatcher(this);
    for (const QString& folder : folders)
        if (QFileInfo(folder).isDir())
            m_events->addPath(folder);
    connect(m_events, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (m_timer.isActive())
            m_settle.start();
    });
}

void FolderWatch::start() {
    if (m_enabled)
        m_timer.start();
}

void FolderWatch::stop() {
    m_timer.stop();
    m_settle.stop();
}

bool FolderWatch::check() {
    bool changed = false;
    for (int i = 0; i < m_files.size(); ++i) {
        const FileStamp now = stampOf(m_files[i]);
        if (!(now == m_stamps[i])) {
            m_stamps[i] = now;
            changed = true;
        }
    }
    if (changed)
        Q_EMIT moved();
    return changed;
}

} // namespace zel

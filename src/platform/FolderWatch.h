#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

namespace zel {

// What stat says of a file: enough to notice a change made on another PC, whose writes no
// local file event reports. A folder counts only by its identity.
struct FileStamp {
    bool exists = false;
    bool folder = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const QString& path);

// Watches a few files (and the folders holding them) and says when any of them may have
// changed: at once for changes made through this machine (inotify), and by comparing stat
// stamps every interval for changes made elsewhere. It only reports; the owner decides
// whether the content really changed.
class FolderWatch : public QObject {
    Q_OBJECT
  public:
    static constexpr int kIntervalMs = 2000;
    explicit FolderWatch(QObject* parent = nullptr);

    // The files and folders to watch; their present stamps become the ones compared with. A
    // folder counts by its identity (a share mounted or unmounted there); local events are
    // taken from the folders that hold the files and from the folders given.
    void watch(const QStringList& files, const QStringList& folders = {});
    void start();
    void stop();
    // A watch that never starts (for measuring what the watch costs).
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isActive() const { return m_timer.isActive(); }
    QTimer& timer() { return m_timer; }

    // Compares the stamps now; true (and `moved` emitted) when one differs from the last.
    bool check();

  Q_SIGNALS:
    void moved();

  private:
    QStringList m_files;
    QList<FileStamp> m_stamps;
    bool m_enabled = true;
    QTimer m_timer;
    QTimer m_settle; // local events come in bursts (a temporary file, a rename): check once
    QFileSystemWatcher* m_events = nullptr;
};

} // namespace zel

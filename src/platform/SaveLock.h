#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// A short-lived lock on one folder, held by a save from "the file is unchanged since it was
// read" to the rename of the new content, so that two programs, on this PC or on others that
// share the folder, never save into that window of each other.
//
// The lock is a small file created with O_CREAT | O_EXCL beside the data files, which is atomic
// on local folders, NFS, SMB and SFTP alike. It holds the holder's host, process id, the time
// and a random token. The holder also takes an advisory fcntl lock on it, which NFS and SMB
// carry to the server. A lock left by a crash is taken over: at once when its holder ran on
// this host and is gone, when it is older than a minute by its own clock, when it has stayed
// the same for kStaleMs while this program waited, or (NFS, SMB and local folders only) when
// no process holds its fcntl lock after a second.
class SaveLock {
  public:
    static constexpr int kWaitMs = 12000;
    static constexpr int kStaleMs = 8000;
    static const QString& fileName();

    enum class Outcome {
        Held,       // the lock is ours until release() or the end of this object
        Busy,       // another program held it all the time we waited
        Unavailable // no lock file can be made here (a read-only folder): save as before
    };

    explicit SaveLock(const QString& folder);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    Outcome acquire(int waitMs = kWaitMs);
    void release();
    bool isHeld() const { return m_fd >= 0; }
    const QByteArray& path() const { return m_path; }

    // What a save says when the lock stayed busy.
    static QString busyReason();

  private:
    bool isStale(const QByteArray& content, qint64 unchangedMs) const;
    // Removes the lock file if it still holds `content`; false if another took its place.
    bool removeIfHolding(const QByteArray& content) const;

    QByteArray m_path;
    QByteArray m_content; // what our lock file holds while we hold it
    int m_fd = -1;
};

} // namespace zel

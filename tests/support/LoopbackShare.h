#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace zel::test {

// A folder shared the way a network share is: an SSH server on the loopback address with keys
// made for the test, and sshfs (FUSE) mounts of one folder, each standing for another PC.
// Caching is off on the mounts (dir_cache=no, attr_timeout=0, entry_timeout=0, and direct_io:
// SFTP gives modification times in whole seconds, so a rewrite of the same size within a second
// would otherwise be read from the page cache), so what one mount writes the other sees at once.
//
// Each step returns false and says why in `why` when the machine cannot do it (no FUSE, no
// sshd, not root): the tests then skip and say so.
class LoopbackShare {
  public:
    ~LoopbackShare();
    bool start();
    // Mounts `remoteFolder` (a local path) at a new folder; its path, or empty.
    QString mount(const QString& remoteFolder);
    // Unmounts one mount; false when it did not go.
    bool unmount(const QString& mountPoint);
    QString why;

  private:
    bool fail(const QString& reason) {
        why = reason;
        return false;
    }
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_sshd;
    int m_port = 0;
    QStringList m_mounts;
};

} // namespace zel::test

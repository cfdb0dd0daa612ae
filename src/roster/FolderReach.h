#pragma once

#include <QString>
#include <QStringList>

namespace zel {

// Whether the data folder can be reached, and the line that says why not.
struct FolderReport {
    enum class Kind {
        Reachable,
        Missing,    // no such folder (a share not mounted yet, a wrong path)
        NotFolder,  // the path names a file
        Unreadable, // no permission, or the network does not answer
        Gone,       // another folder than at the last load, or all its files are gone
    };
    Kind kind = Kind::Reachable;
    QString folder; // as the user knows it: the path the folder file gives
    bool reachable() const { return kind == Kind::Reachable; }
    bool operator==(const FolderReport&) const = default;
    // One line for the board and standard error.
    QString line() const;
};

// Remembers the data folder as the last load found it (its file system, file id and which
// data files it held) and tells whether the folder at that path now is still it.
//
// A share unmounted under a running program leaves an empty mount point: another folder at the
// same path. Saving into it would create files the share hides when it comes back.
class FolderReach {
  public:
    // `files` are the bare names of the data files the folder holds.
    explicit FolderReach(QStringList files) : m_files(std::move(files)) {}

    // For a load: a folder that is not there or cannot be read, or one whose every file
    // known at the last load is gone while it is another folder or the same one.
    FolderReport forLoad(const QString& path, const QString& shownAs) const;
    // For a save: in addition, the folder must be the very one of the last load.
    FolderReport forSave(const QString& path, const QString& shownAs) const;
    // After a load that found the folder reachable.
    void remember(const QString& path);

  private:
    struct Seen {
        QString path;
        quint64 device = 0;
        quint64 inode = 0;
        QStringList files; // those that existed
    };
    FolderReport check(const QString& path, const QString& shownAs, bool forSave) const;

    QStringList m_files;
    Seen m_seen;
};

} // namespace zel

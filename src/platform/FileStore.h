#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

namespace zel {

// How a save went. There is no default: every result says whether it succeeded.
struct SaveResult {
    bool ok;
    QString fileName; // the bare file name, for messages
    QString reason;   // why it failed, in the user's words

    SaveResult(bool succeeded, QString file, QString why)
        : ok(succeeded), fileName(std::move(file)), reason(std::move(why)) {}
    static SaveResult success(const QString& fileName) { return {true, fileName, {}}; }
    static SaveResult failure(const QString& fileName, const QString& reason) {
        return {false, fileName, reason};
    }
    // One message naming the file and the reason.
    QString message() const;
};

// Whole-file reads and atomic whole-file saves. A save prepares everything first, writes a
// temporary file beside the target and renames it over the target only when every byte was
// written and synced to the disk, so a data file always holds either its old or its new content,
// even when the program is killed in the middle of a save.
class FileStore {
  public:
    virtual ~FileStore() = default;

    // The file's bytes, or nothing when it is missing, not a regular file, or unreadable.
    virtual std::optional<QByteArray> read(const QString& path) const;
    virtual SaveResult save(const QString& path, const QByteArray& bytes);

    // Roster files are tiny; anything past this is not read.
    static constexpr qint64 kMaxReadBytes = 4 * 1024 * 1024;

  protected:
    // The single place bytes reach the disk (an unbuffered device, so a write that fails shows
    // here); tests replace it to fail after N bytes.
    virtual qint64 writeBytes(QIODevice& device, const QByteArray& bytes);
};

} // namespace zel

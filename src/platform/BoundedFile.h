#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// Reads a whole file that comes from a folder others may write to. Only a regular file is read:
// a FIFO or a device (/dev/zero) named in its place is refused without blocking, and so is a
// file larger than the bound, before any of it is read.
struct BoundedFile {
    enum class Problem { None, Missing, NotRegular, TooLarge, Unreadable };
    Problem problem = Problem::None;
    QByteArray bytes;

    // With `followLinks` false a symbolic link is refused as not regular.
    static BoundedFile read(const QString& path, qint64 maxBytes, bool followLinks = true);
};

} // namespace zel

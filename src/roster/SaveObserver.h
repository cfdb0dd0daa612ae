#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace zel {

// One file a save replaced: its absolute path and its bytes before and after (nothing: the
// file did not exist).
struct FileChange {
    QString path;
    std::optional<QByteArray> before;
    std::optional<QByteArray> after;
    bool operator==(const FileChange&) const = default;
};

// Told of every save the roster files make. The saves between stepBegun and stepEnded belong
// to one user action; steps may nest, and only the outermost one counts.
class SaveObserver {
  public:
    virtual ~SaveObserver() = default;
    virtual void stepBegun(const QString& text) = 0;
    virtual void fileSaved(const FileChange& change) = 0;
    virtual void stepEnded() = 0;
};

} // namespace zel

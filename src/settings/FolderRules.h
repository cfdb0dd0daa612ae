#pragma once

#include <QString>
#include <optional>

namespace zel {

// The path as the folder file stores it: exactly as typed (blanks kept), with "/" added
// unless it is empty or already ends with "/" or "\".
QString completeFolderPath(const QString& typed);

// Why the folder file cannot hold this path, or nothing. Unlike a name, a path is refused
// when a character of it would be stored as a look-alike.
std::optional<QString> unstorableFolderReason(const QString& completed);

// True when the completed path names an existing folder; a relative path starts at the
// program's working directory, an empty one is that directory.
bool folderExists(const QString& workingDirectory, const QString& completed);

// The question asked before a folder that does not exist is stored.
QString missingFolderQuestion(const QString& completed);

} // namespace zel

#pragma once

#include <QDateTime>
#include <QStringList>

namespace zel {

// A save writes its new content to "<file>.XXXXXX" (six letters or digits) beside the file and
// renames it over the file. Only a program killed between the two leaves that temporary file.
// Nothing else makes such a name.
bool isTemporaryNameOf(const QString& candidate, const QString& fileName);

// Removes the temporary files left beside each of the files (beside the file a symbolic link
// leads to, too) that were last written before `writtenBefore`. A younger one may belong to a
// save still under way, perhaps by a program on another computer sharing the folder: it stays.
// Returns the paths removed.
QStringList removeStaleTemporaries(const QStringList& files, const QDateTime& writtenBefore);

} // namespace zel

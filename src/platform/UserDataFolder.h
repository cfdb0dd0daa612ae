#pragma once

#include <QString>

namespace zel {

// A start from the desktop's application menu runs in a folder the user did not choose. Such a
// start uses a per-user folder instead, created on the first start and seeded once with the
// sample roster; files already there are never overwritten.
// Returns the folder, or an empty string when it cannot be made.
QString prepareUserDataFolder(const QString& dataHome, const QString& sampleFolder);

// Where the bundled sample roster is, for a program in `programFolder` (installed or built).
QString findSampleFolder(const QString& programFolder);

} // namespace zel

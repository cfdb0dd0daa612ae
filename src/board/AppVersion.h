#pragma once

#include <QString>

namespace zel {

// The version as the program shows it, made from the project's version (major.minor.patch):
// the minor number in two digits, the patch only when it is not 0. 1.0.0 reads "1.00", 1.2.3
// reads "1.02.3".
QString versionNumber();
QString versionNumber(int major, int minor, int patch);

} // namespace zel

#include "board/AppVersion.h"

#include "Version.h"

namespace zel {

QString versionNumber() {
    return versionNumber(ZELTOMIL_VERSION_MAJOR, ZELTOMIL_VERSION_MINOR, ZELTOMIL_VERSION_PATCH);
}

QString versionNumber(int major, int minor, int patch) {
    QString text = QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
    if (patch != 0)
        text += QStringLiteral(".%1").arg(patch);
    return text;
}

} // namespace zel

#pragma once

#include <QString>

namespace zel {

// The program's name as every window's caption shows it; the board alternates it with the
// blink form once a second.
inline const QString kCaption = QStringLiteral("ゼルトミル");
inline const QString kBlinkCaption = QStringLiteral("ぜるとみる");

} // namespace zel

#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QSettings;

namespace zel {

// The board window's outer corner (pixels) when the program last ended opens it again at the
// next start, kept in the user's settings file. A corner from which the window could not be
// grabbed (another screen layout, a screen unplugged) is not used: the window then opens at the
// default corner as on a first start.

// The settings file: $XDG_CONFIG_HOME/zeltomil/zeltomil.conf (~/.config when unset).
QString settingsFilePath();

// The kept corner, if it can be used with screens of these available areas: a grip at the
// corner, as large as the start of a title bar, lies wholly on one screen.
std::optional<QPoint> usableStartCorner(std::optional<QPoint> kept,
                                        const QList<QRect>& availableScreens);

std::optional<QPoint> readKeptCorner(const QSettings& settings);
void keepCorner(QSettings& settings, QPoint corner);

} // namespace zel

#include "platform/StartPosition.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace zel {

namespace {
const QString kCornerKey = QStringLiteral("board/corner");
// Enough of the frame's top-left to take hold of it with the pointer.
constexpr QSize kGrip(48, 24);
} // namespace

QString settingsFilePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("zeltomil/zeltomil.conf"));
}

std::optional<QPoint> usableStartCorner(std::optional<QPoint> kept,
                                        const QList<QRect>& availableScreens) {
    if (!kept)
        return std::nullopt;
    const QRect grip(*kept, kGrip);
    for (const QRect& screen : availableScreens) {
        if (screen.contains(grip))
            return kept;
    }
    return std::nullopt;
}

std::optional<QPoint> readKeptCorner(const QSettings& settings) {
    const QVariant value = settings.value(kCornerKey);
    // A hand-edited file may hold anything: only a point counts.
    if (value.typeId() != QMetaType::QPoint)
        return std::nullopt;
    return value.toPoint();
}

void keepCorner(QSettings& settings, QPoint corner) {
    settings.setValue(kCornerKey, corner);
    settings.sync();
}

} // namespace zel

#include "board/BoardPieces.h"

#include "ui/Appearance.h"

#include <QPainter>
#include <QRegion>
#include <cmath>

namespace zel {

int nameDirection(const QString& name) {
    return name.isRightToLeft() ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
}

void paintNameTag(QPainter& painter, const QRect& rect, const QString& name, const QFont& font) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.fillRect(rect, look::kTagBackground);
    // The tops of large letters would otherwise reach the row above.
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(Qt::black);
    painter.setFont(font);
    painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | nameDirection(name), name);
    painter.restore();
}

void paintPicture(QPainter& painter, const QRect& rect, const QPixmap& picture) {
    if (rect.isEmpty())
        return;
    const QSizeF size = picture.isNull() ? QSizeF() : picture.deviceIndependentSize();
    const QRect covered(rect.topLeft(),
                        QSize(int(std::floor(size.width())), int(std::floor(size.height()))));
    if (!covered.contains(rect)) {
        for (const QRect& free : QRegion(rect).subtracted(covered))
            painter.fillRect(free, look::kWindowBackground);
    }
    if (picture.isNull())
        return;
    if (rect.contains(covered) && covered.size().toSizeF() == size) {
        painter.drawPixmap(rect.topLeft(), picture);
        return;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawPixmap(rect.topLeft(), picture);
    painter.restore();
}

} // namespace zel

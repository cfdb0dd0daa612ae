#include "pickers/PickerPainter.h"

#include "board/Appearance.h"

#include <QPainter>

namespace zel {

PickerPainter::PickerPainter(const PickerConfig& config, const PickerGeometry& geometry,
                             QStringList names, int fontSize, TwipScale scale)
    : m_config(config), m_geometry(geometry), m_names(std::move(names)),
      m_font(look::minchoFont(fontSize, true)), m_scale(scale) {}

QSize PickerPainter::windowPixels() const {
    return {m_scale.width(m_geometry.windowWidth), m_scale.height(m_geometry.windowHeight)};
}

void PickerPainter::paint(QPainter& painter, const QRect& clip) const {
    painter.save();
    painter.setClipRect(clip);
    painter.fillRect(clip, look::kWindowBackground);

    const QRect border = m_scale.rect(m_geometry.border());
    painter.setPen(QPen(m_config.border, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(border).adjusted(1, 1, -1, -1));

    painter.setPen(QPen(m_config.entryOutline, 1));
    painter.setBrush(m_config.entryFill);
    for (int k = 0; k < m_geometry.count; ++k) {
        const QRect frame = m_scale.rect(m_geometry.frame(k));
        if (frame.intersects(clip) && !frame.isEmpty())
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    // Names lie above every frame: a label reaches into the next row's frame.
    painter.setFont(m_font);
    painter.setPen(QColor(0, 0, 255));
    for (int k = 0; k < m_geometry.count && k < m_names.size(); ++k) {
        const QRect label = m_scale.rect(m_geometry.label(k));
        if (label.intersects(clip))
            painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                             m_names[k]);
    }
    painter.restore();
}

QImage PickerPainter::render(double devicePixelRatio) const {
    const QSize size = windowPixels();
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    // Text must come out at the size the screen shows it.
    const int dotsPerMeter = qRound(1440.0 / m_scale.tx / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(qRound(1440.0 / m_scale.ty / 0.0254));
    QPainter painter(&image);
    paint(painter, QRect(QPoint(0, 0), size));
    return image;
}

QPixmap PickerPainter::entryPicture(int k, double devicePixelRatio) const {
    const QRect crop = m_geometry.picturePixels(k, m_scale);
    QImage image(crop.size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.setDotsPerMeterX(qRound(1440.0 / m_scale.tx / 0.0254));
    image.setDotsPerMeterY(qRound(1440.0 / m_scale.ty / 0.0254));
    image.fill(look::kWindowBackground);
    if (!crop.isEmpty()) {
        // Draw only the part of the picker under the crop, shifted to the image's origin:
        // the same pixels as a crop of the whole drawing, without drawing all of it.
        QPainter painter(&image);
        painter.translate(-crop.topLeft());
        const QRect inside = crop.intersected(QRect(QPoint(0, 0), windowPixels()));
        if (!inside.isEmpty())
            paint(painter, inside);
    }
    return QPixmap::fromImage(image);
}

} // namespace zel

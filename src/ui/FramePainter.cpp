#include "ui/FramePainter.h"

#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace zel {

FramePainter::FramePainter(QPainter& painter) : m_painter(painter) {
    // Only a whole-pixel shift between the painter's pixels and the device's, on the raster
    // engine, without antialiasing.
    const QTransform t = painter.deviceTransform();
    const QPaintEngine* engine = painter.paintEngine();
    m_fills = engine && engine->type() == QPaintEngine::Raster &&
              t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) &&
              t.dy() == std::floor(t.dy()) && !painter.testRenderHint(QPainter::Antialiasing) &&
              // drawRect covers the top and left edges twice: only opaque strokes hide that
              painter.opacity() == 1.0 &&
              painter.compositionMode() == QPainter::CompositionMode_SourceOver;
    m_shift = QPoint(int(t.dx()), int(t.dy()));
}

void FramePainter::draw(const QRect& rect, const QColor& outline, const QBrush& fill) {
    if (rect.isEmpty())
        return;
    // Filled, a see-through outline would not cover the fill under it as a stroke does.
    const bool plain = outline.alpha() == 255 &&
                       (fill.style() == Qt::NoBrush ||
                        (fill.style() == Qt::SolidPattern && fill.color().alpha() == 255));
    // A stroke that starts above or left of the device leaves out its bottom right corner.
    const QPoint onDevice = rect.topLeft() + m_shift;
    if (!m_fills || !plain || rect.width() < 2 || rect.height() < 2 || onDevice.x() < 0 ||
        onDevice.y() < 0) {
        m_painter.save();
        m_painter.setPen(QPen(outline, 1));
        m_painter.setBrush(fill);
        m_painter.drawRect(rect.adjusted(0, 0, -1, -1));
        m_painter.restore();
        return;
    }
    if (fill.style() == Qt::SolidPattern)
        m_painter.fillRect(rect.adjusted(1, 1, -1, -1), fill.color());
    const int x = rect.left(), y = rect.top(), w = rect.width(), h = rect.height();
    m_painter.fillRect(QRect(x, y, w, 1), outline);
    m_painter.fillRect(QRect(x, rect.bottom(), w, 1), outline);
    m_painter.fillRect(QRect(x, y + 1, 1, h - 2), outline);
    m_painter.fillRect(QRect(rect.right(), y + 1, 1, h - 2), outline);
}

} // namespace zel

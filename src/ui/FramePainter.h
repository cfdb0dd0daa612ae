#pragma once

#include <QBrush>
#include <QColor>
#include <QPoint>
#include <QRect>

class QPainter;

namespace zel {

// Draws a framed rectangle: a one-pixel outline of `outline` on the rectangle's edge pixels and
// `fill` (possibly no brush) inside, the pixels of QPainter::drawRect(rect.adjusted(0, 0, -1,
// -1)) with such a pen and brush. Where the painter maps pixels one to one onto device pixels it
// fills five rectangles instead, which the raster engine does several times faster than it
// strokes an outline; elsewhere (a scaled screen, a printer, a PDF, a rectangle reaching past
// the device's top or left edge, where the stroke has its own rules) it draws the rectangle.
class FramePainter {
  public:
    explicit FramePainter(QPainter& painter);
    // An empty rectangle draws nothing.
    void draw(const QRect& rect, const QColor& outline, const QBrush& fill = Qt::NoBrush);

  private:
    QPainter& m_painter;
    bool m_fills;   // the pixels come out the same filled as stroked
    QPoint m_shift; // from the painter's pixels to the device's
};

} // namespace zel

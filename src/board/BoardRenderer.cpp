#include "board/BoardRenderer.h"

#include "board/BoardPieces.h"
#include "pickers/DutyPicker.h"
#include "pickers/PickerPainter.h"
#include "ui/Appearance.h"

#include <QPaintDevice>
#include <QPainter>

namespace zel {

namespace {
const QColor kMonoFrame(150, 150, 150);

QFont scaledFont(QFont font, double factor) {
    if (factor != 1.0 && font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}
} // namespace

BoardRenderer::BoardRenderer(const RosterState& state, TwipScale scale)
    : m_state(state), m_scale(scale), m_layout(computeBoardLayout(state)),
      m_green(makePickerPainter(PickerConfig::green(), state, scale)),
      m_yellow(makePickerPainter(PickerConfig::yellow(), state, scale)) {}

BoardRenderer::~BoardRenderer() = default;

QSize BoardRenderer::boardSize() const {
    return {m_scale.width(m_layout.boardWidth()), m_scale.height(m_layout.boardHeight())};
}

QRect BoardRenderer::contentRect() const {
    QRect content;
    for (const TwipRect& frame : m_layout.frames)
        content |= m_scale.rect(frame);
    for (const TwipRect& tag : m_layout.tags)
        content |= m_scale.rect(tag);
    for (const TwipRect& marker : m_layout.markers)
        content |= m_scale.rect(marker);
    return content.intersected(QRect(QPoint(0, 0), boardSize()));
}

void BoardRenderer::paint(QPainter& painter, Style style) const {
    paintBoard(painter, style, false);
}

void BoardRenderer::paintBoard(QPainter& painter, Style style, bool pixelExact) const {
    const bool mono = style == Style::Monochrome;
    // Fonts are given in points; the board's texts are as many points as on a screen of the
    // scale's dots per inch, whatever the device's are.
    const QPaintDevice* device = painter.device();
    const double deviceDpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96.0;
    double textScale = 1440.0 / m_scale.ty / deviceDpi;
    if (std::abs(textScale - 1.0) < 1e-3)
        textScale = 1.0;

    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), boardSize()), mono ? Qt::white : look::kWindowBackground);
    painter.setPen(mono ? kMonoFrame : look::kRowFrame);
    painter.setBrush(Qt::NoBrush);
    for (const TwipRect& frame : m_layout.frames) {
        const QRect r = m_scale.rect(frame);
        if (!r.isEmpty())
            painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
    // A page shows a part of the board: what lies outside it is left out, not only hidden, so
    // that a PDF page holds the names it shows and no others.
    const QRectF shown =
        painter.hasClipping() ? painter.clipBoundingRect() : QRectF(QPoint(0, 0), boardSize());
    for (int p = 0; p < int(m_layout.tags.size()); ++p)
        if (shown.intersects(m_scale.rect(m_layout.tags[p])))
            paintTag(painter, p, style, textScale);
    for (int m = 1; m <= int(m_layout.markers.size()); ++m)
        if (shown.intersects(m_scale.rect(m_layout.markers[m - 1])))
            paintMarker(painter, m, style, textScale, pixelExact);
    painter.restore();
}

void BoardRenderer::paintTag(QPainter& painter, int person, Style style, double textScale) const {
    const QRect r = m_scale.rect(m_layout.tags[person]);
    if (r.isEmpty())
        return;
    const QString& name = m_state.personNames[person];
    const QFont font = scaledFont(look::gothicFont(m_state.fontSize, true), textScale);
    if (style == Style::Colour) {
        paintNameTag(painter, r, name, font);
        return;
    }
    // Monochrome: a white tag in a thick frame; the text starts under the frame.
    painter.save();
    painter.fillRect(r, Qt::white);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
    painter.setClipRect(r, Qt::IntersectClip);
    painter.setPen(Qt::black);
    painter.setFont(font);
    painter.drawText(r.adjusted(0, 2, 0, 0), Qt::AlignHCenter | Qt::AlignTop | nameDirection(name),
                     name);
    painter.restore();
}

// A marker shows its duty's entry of the picker, cut out from the frame's left edge (see
// PickerGeometry::picturePixels); what the cut-out leaves free of the marker is background.
void BoardRenderer::paintMarker(QPainter& painter, int m, Style style, double textScale,
                                bool pixelExact) const {
    const QRect r = m_scale.rect(m_layout.markers[m - 1]);
    if (r.isEmpty())
        return;
    const int code = m_state.markerDuty[m];
    const DutyColour colour = colourOfCode(code);
    const int k = dutyIndexOfCode(code);
    const PickerGeometry geometry = computePickerGeometry(m_state, colour);
    const QRect cut = geometry.picturePixels(k, m_scale);
    const bool mono = style == Style::Monochrome;
    painter.save();
    painter.fillRect(r, mono ? Qt::white : look::kWindowBackground);
    // From here on, the picker's own pixels.
    painter.translate(r.topLeft() - cut.topLeft());
    const QRect shown = cut.intersected(QRect(cut.topLeft(), r.size()));
    if (!mono) {
        const PickerPainter& picker = colour == DutyColour::Green ? *m_green : *m_yellow;
        const QRect inside = shown.intersected(QRect(QPoint(0, 0), picker.windowPixels()));
        if (!inside.isEmpty())
            picker.paint(painter, inside, {textScale, pixelExact ? -1 : k});
    } else if (k >= 0 && k < geometry.count) {
        painter.setClipRect(shown);
        const bool green = colour == DutyColour::Green;
        painter.setPen(QPen(Qt::black, 1, green ? Qt::SolidLine : Qt::DashLine));
        painter.drawRect(m_scale.rect(geometry.frame(k)).adjusted(0, 0, -1, -1));
        painter.setFont(scaledFont(look::minchoFont(m_state.fontSize, true), textScale));
        painter.drawText(m_scale.rect(geometry.label(k)),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         m_state.dutyNames(colour)[k]);
    }
    painter.restore();
}

QImage BoardRenderer::image(int factor, Style style) const {
    QImage image(boardSize() * factor, QImage::Format_RGB32);
    image.setDevicePixelRatio(factor);
    // Text comes out at the size the screen shows it.
    image.setDotsPerMeterX(qRound(1440.0 / m_scale.tx / 0.0254));
    image.setDotsPerMeterY(qRound(1440.0 / m_scale.ty / 0.0254));
    QPainter painter(&image);
    paintBoard(painter, style, true);
    return image;
}

} // namespace zel

#include "pickers/PickerPainter.h"

#include "ui/Appearance.h"
#include "ui/FramePainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace zel {

PickerPainter::PickerPainter(const PickerConfig& config, const PickerGeometry& geometry,
                             QStringList names, int fontSize, TwipScale scale)
    : m_config(config), m_geometry(geometry), m_names(std::move(names)),
      m_font(look::minchoFont(fontSize, true)), m_scale(scale) {}

QSize PickerPainter::windowPixels() const {
    return {m_scale.width(m_geometry.windowWidth), m_scale.height(m_geometry.windowHeight)};
}

void PickerPainter::paint(QPainter& painter, const QRect& clip, const Text& text) const {
    painter.save();
    // Within any clip the painter has already (a page shows a part of the board).
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.fillRect(clip, look::kWindowBackground);

    const QRect border = m_scale.rect(m_geometry.border());
    // The border is two pixels wide; an entry's picture usually lies well inside it.
    if (!border.adjusted(2, 2, -2, -2).contains(clip)) {
        painter.setPen(QPen(m_config.border, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(border).adjusted(1, 1, -1, -1));
    }

    // Only entries near the clip can reach it; two pixels more cover the rounding to pixels.
    const std::vector<int> near =
        m_geometry.entriesNear({(clip.left() - 2) * m_scale.tx, (clip.top() - 2) * m_scale.ty,
                                (clip.width() + 4) * m_scale.tx, (clip.height() + 4) * m_scale.ty});

    FramePainter frames(painter);
    for (const int k : near) {
        const QRect frame = m_scale.rect(m_geometry.frame(k));
        if (frame.intersects(clip))
            frames.draw(frame, m_config.entryOutline, m_config.entryFill);
    }
    // Names lie above every frame: a label reaches into the next row's frame.
    if (text.scale == 1.0 || m_font.pointSizeF() <= 0) {
        painter.setFont(m_font);
    } else {
        QFont scaled = m_font;
        scaled.setPointSizeF(m_font.pointSizeF() * text.scale);
        painter.setFont(scaled);
    }
    painter.setPen(QColor(0, 0, 255));
    // A label's rectangle is a row pitch high and a column wide, but its text is one line
    // at its top, centred across. With every character from the one font, whose metrics
    // bound its glyphs, a label whose text cannot reach the clip need not be drawn: so an
    // entry's picture draws its own name, not those of the entries above and beside it.
    const bool oneFont = m_font.styleStrategy() & QFont::NoFontMerging;
    const QFontMetricsF metrics(painter.font(), painter.device()); // as scaled for the device
    // Room for glyphs reaching past the line and their advances (synthetic bold, overhangs).
    const double slack = std::max(2.0, metrics.height() / 4);
    for (const int k : near) {
        if (k >= m_names.size())
            break;
        if (text.onlyEntry >= 0 && k != text.onlyEntry)
            continue;
        const QRect label = m_scale.rect(m_geometry.label(k));
        if (!label.intersects(clip))
            continue;
        if (oneFont) {
            const double halfText = m_names[k].size() * metrics.maxWidth() / 2 + slack;
            const QRectF reach(label.left() + label.width() / 2.0 - halfText, label.top() - slack,
                               2 * halfText, metrics.height() + 2 * slack);
            if (!reach.intersects(QRectF(clip)))
                continue;
        }
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, m_names[k]);
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

int PickerPainter::pictureDpiY() const {
    // As a picture's image reckons it from the dots per metre it is given.
    return qRound(qRound(1440.0 / m_scale.ty / 0.0254) * 0.0254);
}

QPixmap PickerPainter::entryPicture(int k, double devicePixelRatio) const {
    const QRect crop = m_geometry.picturePixels(k, m_scale);
    QImage image(crop.size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    // Text must come out at the size the screen shows it.
    image.setDotsPerMeterX(qRound(1440.0 / m_scale.tx / 0.0254));
    image.setDotsPerMeterY(qRound(1440.0 / m_scale.ty / 0.0254));
    image.fill(look::kWindowBackground); // to its last device pixel, at any ratio
    if (!crop.isEmpty()) {
        QPainter painter(&image);
        paintEntry(painter, k, QPoint(0, 0));
    }
    // Moved: the pixmap takes the image's pixels over instead of copying them.
    return QPixmap::fromImage(std::move(image));
}

void PickerPainter::paintEntry(QPainter& painter, int k, QPoint at) const {
    const QRect crop = m_geometry.picturePixels(k, m_scale);
    if (crop.isEmpty())
        return;
    painter.fillRect(QRect(at, crop.size()), look::kWindowBackground);
    // Draw only the part of the picker under the crop, shifted to `at`: the same pixels as a
    // crop of the whole drawing, without drawing all of it.
    const QRect inside = crop.intersected(QRect(QPoint(0, 0), windowPixels()));
    if (inside.isEmpty())
        return;
    const QPaintDevice* device = painter.device();
    const int deviceDpi = device ? device->logicalDpiY() : 0;
    Text text;
    if (deviceDpi > 0 && deviceDpi != pictureDpiY())
        text.scale = double(pictureDpiY()) / deviceDpi;
    painter.save();
    // A picture holds whole device pixels: of its entry no more shows than it holds.
    const double ratio = device ? device->devicePixelRatio() : 1.0;
    const QSizeF held = QSizeF(crop.size() * ratio) / ratio;
    if (held != QSizeF(crop.size()))
        painter.setClipRect(QRectF(at, held), Qt::IntersectClip);
    painter.translate(at - crop.topLeft());
    paint(painter, inside, text);
    painter.restore();
}

bool EntryPictureCache::beginLoad(const RosterState& state, const TwipScale& scale,
                                  double devicePixelRatio) {
    Inputs inputs;
    inputs.geometry = computePickerGeometry(state, m_config.colour);
    const auto& list = state.dutyNames(m_config.colour);
    for (int k = 0; k < inputs.geometry.count; ++k)
        inputs.names << list[k];
    inputs.fontSize = state.fontSize;
    inputs.tx = scale.tx;
    inputs.ty = scale.ty;
    inputs.devicePixelRatio = devicePixelRatio;
    m_used.clear();
    if (inputs == m_inputs)
        return false;
    m_inputs = std::move(inputs);
    m_painter.reset();
    m_kept.clear();
    return true;
}

void EntryPictureCache::endLoad() {
    std::erase_if(m_kept, [this](const auto& kept) { return !m_used.count(kept.first); });
}

const PickerPainter& EntryPictureCache::painter() {
    if (!m_painter)
        m_painter =
            std::make_unique<PickerPainter>(m_config, m_inputs.geometry, m_inputs.names,
                                            m_inputs.fontSize, TwipScale{m_inputs.tx, m_inputs.ty});
    return *m_painter;
}

QPixmap EntryPictureCache::picture(int k) {
    if (const auto kept = m_kept.find(k); kept != m_kept.end())
        return kept->second;
    QPixmap picture = painter().entryPicture(k, m_inputs.devicePixelRatio);
    m_kept.emplace(k, picture);
    return picture;
}

void EntryPictureCache::paint(QPainter& painter, int k, QPoint at) {
    this->painter().paintEntry(painter, k, at);
}

} // namespace zel

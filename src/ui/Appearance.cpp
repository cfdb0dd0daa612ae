#include "ui/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <map>

namespace zel::look {

namespace {
// True when one of these Japanese families is installed. Each of them holds every character the
// roster files can store, so no other font needs to be searched for missing characters.
bool anyInstalled(const QStringList& families) {
    return std::any_of(families.begin(), families.end(),
                       [](const QString& family) { return QFontDatabase::hasFamily(family); });
}

QFont familyFont(const QStringList& families, bool installed, double pointSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Japanese text needs no OpenType shaping, and asking fontconfig for fallback fonts is most
    // of the cost of a first drawing; without one of the families, the usual fallback finds one.
    QFont::StyleStrategy strategy =
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferNoShaping);
    if (installed)
        strategy = QFont::StyleStrategy(strategy | QFont::NoFontMerging);
    font.setStyleStrategy(strategy);
    return font;
}

const QStringList& gothicFamilies() {
    static const QStringList families{
        QStringLiteral("IPAGothic"),        QStringLiteral("IPAゴシック"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
        QStringLiteral("TakaoGothic"),      QStringLiteral("MS Gothic")};
    return families;
}

const QStringList& minchoFamilies() {
    static const QStringList families{
        QStringLiteral("IPAMincho"),         QStringLiteral("IPA明朝"),
        QStringLiteral("Noto Serif CJK JP"), QStringLiteral("TakaoMincho"),
        QStringLiteral("MS Mincho"),         QStringLiteral("IPAGothic")};
    return families;
}

using Drawing = std::function<void(QPainter&, double)>;

QPixmap paintedPixmap(int size, double dpr, const Drawing& draw) {
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, double(size));
    return pixmap;
}

// An icon drawn the first time it is asked for at a size, in device pixels: a button shows
// one size, and drawing all the others at every start would be wasted. Other modes than
// Normal are derived by the style, as for an icon made of pixmaps.
class DrawnIconEngine : public QIconEngine {
  public:
    explicit DrawnIconEngine(Drawing draw) : m_draw(std::move(draw)) {}

    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return {};
        QPixmap& drawn = m_drawn[side];
        if (drawn.isNull())
            drawn = paintedPixmap(side, 1.0, m_draw);
        if (mode == QIcon::Normal)
            return drawn;
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const double dpr = painter->device()->devicePixelRatio();
        QPixmap drawn = pixmap(rect.size() * dpr, mode, state);
        drawn.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect.topLeft(), drawn);
    }

  private:
    Drawing m_draw;
    std::map<int, QPixmap> m_drawn; // by side in device pixels
};

QIcon drawnIcon(Drawing draw) {
    return QIcon(new DrawnIconEngine(std::move(draw)));
}

void disc(QPainter& p, double s, const QColor& fill, const QColor& rim) {
    p.setPen(QPen(rim, s / 8));
    p.setBrush(fill);
    p.drawEllipse(QRectF(s / 8, s / 8, s * 3 / 4, s * 3 / 4));
}
} // namespace

QFont gothicFont(double pointSize, bool bold) {
    static const bool installed = anyInstalled(gothicFamilies());
    return familyFont(gothicFamilies(), installed, pointSize, bold);
}

QFont minchoFont(double pointSize, bool bold) {
    static const bool installed = anyInstalled(minchoFamilies());
    return familyFont(minchoFamilies(), installed, pointSize, bold);
}

QFont menuFont(const QFont& base) {
    QFont font = gothicFont(0);
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF());
    else if (base.pixelSize() > 0)
        font.setPixelSize(base.pixelSize());
    font.setWeight(base.weight());
    return font;
}

QIcon greenDutyIcon() {
    return drawnIcon(
        [](QPainter& p, double s) { disc(p, s, QColor(0, 200, 0), QColor(255, 230, 0)); });
}

QIcon yellowDutyIcon() {
    return drawnIcon(
        [](QPainter& p, double s) { disc(p, s, QColor(255, 230, 0), QColor(220, 0, 0)); });
}

QIcon eraserIcon() {
    return drawnIcon([](QPainter& p, double s) {
        p.translate(s / 2, s / 2);
        p.rotate(-35);
        const QRectF body(-s * 0.42, -s * 0.2, s * 0.84, s * 0.4);
        p.setPen(QPen(QColor(60, 60, 60), s / 16));
        p.setBrush(QColor(240, 240, 240));
        p.drawRoundedRect(body, s / 16, s / 16);
        p.setBrush(QColor(230, 80, 120));
        p.drawRoundedRect(QRectF(body.left(), body.top(), body.width() * 0.4, body.height()),
                          s / 16, s / 16);
    });
}

QPixmap trashCanPixmap(int size, double devicePixelRatio) {
    return paintedPixmap(size, devicePixelRatio, [](QPainter& p, double s) {
        const QColor metal(200, 205, 215);
        p.setPen(QPen(QColor(40, 40, 50), s / 20));
        p.setBrush(metal);
        p.drawRect(QRectF(s * 0.15, s * 0.2, s * 0.7, s * 0.08)); // lid
        p.drawRect(QRectF(s * 0.4, s * 0.12, s * 0.2, s * 0.08)); // handle
        QPainterPath body;
        body.moveTo(s * 0.2, s * 0.3);
        body.lineTo(s * 0.8, s * 0.3);
        body.lineTo(s * 0.72, s * 0.92);
        body.lineTo(s * 0.28, s * 0.92);
        body.closeSubpath();
        p.drawPath(body);
        for (double x : {0.38, 0.5, 0.62})
            p.drawLine(QPointF(s * x, s * 0.4), QPointF(s * x, s * 0.82));
    });
}

} // namespace zel::look

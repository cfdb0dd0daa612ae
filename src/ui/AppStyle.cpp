#include "ui/AppStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <functional>

namespace zel {

namespace {
// An icon made by `make` the first time anything but its existence is asked for.
class DeferredIconEngine : public QIconEngine {
  public:
    explicit DeferredIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    bool isNull() override { return false; } // the style's pictures are built into Qt
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }

  private:
    const QIcon& icon() {
        if (m_icon.isNull())
            m_icon = m_make();
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
};
} // namespace

AppStyle::AppStyle(const QString& key) : QProxyStyle(key) {}

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                             const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // Only the layout direction decides this picture; it is read when the icon is asked for.
    QStyle* base = baseStyle();
    return QIcon(new DeferredIconEngine([base, icon] { return base->standardIcon(icon); }));
}

} // namespace zel

// The program's look where it decides how much a start costs: the menu bar's font holds its
// Japanese captions, button icons are drawn at the size they are shown, and the menu bar's
// extension icon is the style's own although it is loaded late.

#include "ui/AppStyle.h"
#include "ui/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStyleFactory>
#include <QTest>

using namespace zel;

namespace {
using IconMaker = QIcon (*)();

QImage pixels(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}
} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

  private slots:
    // The style's menu bar font, in a family made for Japanese: same size (points or pixels)
    // and weight.
    void menuFont_data() {
        QTest::addColumn<QFont>("base");
        QFont points(QStringLiteral("DejaVu Sans"), 11);
        QFont pixels(QStringLiteral("DejaVu Sans"));
        pixels.setPixelSize(17);
        QFont bold(QStringLiteral("DejaVu Sans"), 9);
        bold.setBold(true);
        QTest::newRow("points") << points;
        QTest::newRow("pixels") << pixels;
        QTest::newRow("bold") << bold;
    }
    void menuFont() {
        QFETCH(QFont, base);
        const QFont font = look::menuFont(base);
        QCOMPARE(font.pointSizeF(), base.pointSizeF());
        QCOMPARE(font.pixelSize(), base.pixelSize());
        QCOMPARE(font.weight(), base.weight());
        const QString family = QFontInfo(font).family();
        QVERIFY2(QFontDatabase::families(QFontDatabase::Japanese).contains(family),
                 qPrintable(family));
    }

    // Each button icon is drawn at the device pixels it is shown with: at a higher resolution
    // the picture drawn that large, not a smaller one scaled up; other modes come from the
    // style.
    void buttonIcons_data() {
        QTest::addColumn<IconMaker>("make");
        QTest::newRow("green") << IconMaker(look::greenDutyIcon);
        QTest::newRow("yellow") << IconMaker(look::yellowDutyIcon);
        QTest::newRow("eraser") << IconMaker(look::eraserIcon);
    }
    void buttonIcons() {
        QFETCH(IconMaker, make);
        const QIcon icon = make();
        QVERIFY(!icon.isNull());
        for (const double dpr : {1.0, 1.25, 2.0}) {
            const QPixmap shown = icon.pixmap(QSize(16, 16), dpr);
            const int side = qRound(16 * dpr);
            QCOMPARE(shown.size(), QSize(side, side));
            QCOMPARE(shown.devicePixelRatio(), dpr);
            QCOMPARE(pixels(shown), pixels(make().pixmap(QSize(side, side), 1.0)));
        }
        const QImage normal = pixels(icon.pixmap(QSize(16, 16), 1.0));
        QVERIFY(pixels(icon.pixmap(QSize(16, 16), 2.0)) !=
                pixels(icon.pixmap(QSize(16, 16), 1.0)
                           .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        QVERIFY(normal.pixelColor(8, 8).alpha() == 255 && normal.pixelColor(0, 0).alpha() == 0);
        QVERIFY(pixels(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled)) != normal);
        QCOMPARE(pixels(icon.pixmap(QSize(16, 16), 1.0, QIcon::Active)), normal);
    }

    // The extension icon, made when first asked for, shows what the style itself would show;
    // other icons are the style's own.
    void extensionIconIsTheStyles() {
        const AppStyle style(QStringLiteral("Fusion"));
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        const QIcon late = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        const QIcon own = fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        QVERIFY(!late.isNull());
        for (const double dpr : {1.0, 2.0}) {
            QCOMPARE(late.pixmap(QSize(16, 16), dpr).devicePixelRatio(), dpr);
            QCOMPARE(pixels(late.pixmap(QSize(16, 16), dpr)),
                     pixels(own.pixmap(QSize(16, 16), dpr)));
        }
        QCOMPARE(late.availableSizes(), own.availableSizes());
        QCOMPARE(pixels(style.standardIcon(QStyle::SP_TrashIcon).pixmap(32)),
                 pixels(fusion->standardIcon(QStyle::SP_TrashIcon).pixmap(32)));
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"

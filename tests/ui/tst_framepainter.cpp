// Framed rectangles come out pixel for pixel as QPainter::drawRect draws them, whether they are
// filled as bands or stroked: on shifted, clipped and scaled painters and at the image's edges.
#include "ui/FramePainter.h"

#include <QPainter>
#include <QTest>

namespace {
using zel::FramePainter;

struct Case {
    QRect rect;
    QColor outline;
    QBrush fill;
    QPointF shift;
    double pixelRatio = 1;
    QRect clip = {}; // none when empty
    double opacity = 1;
};

QImage drawn(const Case& c, bool viaFramePainter) {
    QImage image(QSize(40, 30) * c.pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(c.pixelRatio);
    image.fill(QColor(0, 0, 64));
    QPainter painter(&image);
    painter.translate(c.shift);
    painter.setOpacity(c.opacity);
    if (!c.clip.isEmpty())
        painter.setClipRect(c.clip);
    if (viaFramePainter) {
        FramePainter(painter).draw(c.rect, c.outline, c.fill);
    } else {
        painter.setPen(QPen(c.outline, 1));
        painter.setBrush(c.fill);
        painter.drawRect(c.rect.adjusted(0, 0, -1, -1));
    }
    return image;
}
} // namespace

Q_DECLARE_METATYPE(Case)

class TestFramePainter : public QObject {
    Q_OBJECT
  private slots:
    void sameAsDrawRect_data() {
        QTest::addColumn<Case>("c");
        const QColor yellow(255, 255, 0), pink(255, 128, 128), green(128, 255, 128);
        QTest::newRow("filled") << Case{{5, 4, 20, 12}, yellow, green, {}};
        QTest::newRow("outline only") << Case{{5, 4, 20, 12}, pink, Qt::NoBrush, {}};
        QTest::newRow("two by two") << Case{{5, 4, 2, 2}, yellow, green, {}};
        QTest::newRow("one wide") << Case{{5, 4, 1, 9}, yellow, green, {}};
        QTest::newRow("shifted by whole pixels") << Case{{5, 4, 20, 12}, yellow, green, {7, 3}};
        QTest::newRow("shifted off the device") << Case{{5, 4, 20, 12}, yellow, green, {-7, 3}};
        QTest::newRow("past the top left edge") << Case{{-3, -2, 12, 9}, yellow, green, {}};
        QTest::newRow("past the left edge") << Case{{-3, 2, 12, 9}, yellow, green, {}};
        QTest::newRow("past the top edge") << Case{{3, -2, 12, 9}, pink, Qt::NoBrush, {}};
        QTest::newRow("past the bottom right edge") << Case{{30, 25, 20, 12}, yellow, green, {}};
        QTest::newRow("shifted by half a pixel") << Case{{5, 4, 20, 12}, yellow, green, {0.5, 0.5}};
        QTest::newRow("clipped") << Case{{5, 4, 20, 12}, yellow, green, {}, 1, {9, 0, 6, 30}};
        QTest::newRow("scaled screen") << Case{{5, 4, 20, 12}, yellow, green, {}, 2};
        QTest::newRow("odd scale") << Case{{5, 4, 20, 12}, yellow, green, {}, 1.5};
        QTest::newRow("half opaque painter") << Case{{5, 4, 20, 12}, yellow, green, {}, 1, {}, 0.5};
        QTest::newRow("see-through outline")
            << Case{{5, 4, 20, 12}, QColor(255, 255, 0, 128), green, {}};
    }
    void sameAsDrawRect() {
        QFETCH(Case, c);
        const QImage expected = drawn(c, false);
        const QImage actual = drawn(c, true);
        QCOMPARE(actual, expected);
        // The case draws something: a frame wholly clipped away would prove nothing.
        Case nothing = c;
        nothing.rect = {};
        QVERIFY(expected != drawn(nothing, false));
    }
};

QTEST_MAIN(TestFramePainter)
#include "tst_framepainter.moc"

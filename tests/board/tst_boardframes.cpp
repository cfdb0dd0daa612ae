#include "board/Appearance.h"
#include "board/BoardView.h"

#include <QTest>

using namespace zel;

namespace {
// 25 persons in three columns, no markers: every row frame is drawn on the board.
struct Board {
    BoardView view;
    BoardLayout layout;
    TwipScale scale;
    Board() {
        RosterState state;
        state.personCount = 25;
        state.namesPerColumn = 10;
        state.tagWidth = 1000;
        state.tagHeight = 300;
        std::vector<QString> names;
        for (int i = 0; i < 25; ++i)
            names.push_back(QStringLiteral("P%1").arg(i));
        layout = computeBoardLayout(state);
        view.applyLayout(layout, scale, names, 9);
    }
    QImage render(const QRegion& region) {
        QImage image(view.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        view.render(&image, region.boundingRect().topLeft(), region); // at its own place
        return image;
    }
};

bool isFrame(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == look::kRowFrame;
}
} // namespace

class BoardFramesTest : public QObject {
    Q_OBJECT
  private slots:
    // Each frame is a closed one-pixel outline on its rectangle's edge.
    void outlines() {
        Board board;
        const QImage image = board.render(QRegion(board.view.rect()));
        for (const TwipRect& twips : board.layout.frames) {
            const QRect frame = board.scale.rect(twips);
            for (int x = frame.left(); x <= frame.right(); ++x)
                QVERIFY(isFrame(image, x, frame.top()) && isFrame(image, x, frame.bottom()));
            for (int y = frame.top(); y <= frame.bottom(); ++y)
                QVERIFY(isFrame(image, frame.left(), y) && isFrame(image, frame.right(), y));
            QVERIFY(!isFrame(image, frame.left() + 1, frame.top() + 1));
            QVERIFY(!isFrame(image, frame.right() - 1, frame.bottom() - 1));
        }
    }

    // A repaint of part of the board draws there what a full paint draws.
    void partialRepaint_data() {
        QTest::addColumn<QRect>("area");
        QTest::newRow("across two columns and rows") << QRect(200, 20, 60, 30);
        QTest::newRow("inside one frame") << QRect(90, 30, 40, 10);
        QTest::newRow("one pixel of an edge") << QRect(0, 50, 1, 1);
        QTest::newRow("below the last row") << QRect(10, 260, 300, 20);
    }
    void partialRepaint() {
        QFETCH(QRect, area);
        Board board;
        const QImage full = board.render(QRegion(board.view.rect()));
        const QImage part = board.render(QRegion(area));
        QCOMPARE(part.copy(area), full.copy(area));
    }
};

QTEST_MAIN(BoardFramesTest)
#include "tst_boardframes.moc"

#include "pickers/PickerPainter.h"

#include <QTest>

using namespace zel;

namespace {
RosterState greenList() {
    RosterState state;
    state.tagHeight = 300;
    state.dutiesPerColumn = 5;
    state.fontSize = 9;
    state.greenDutyCount = 7;
    for (int k = 0; k < 7; ++k)
        state.greenDutyNames[k] = QStringLiteral("緑当番%1").arg(k);
    state.greenMarkerWidth = 4;
    return state;
}

// What the board would get without any cache.
QImage freshPicture(const RosterState& state, TwipScale scale, double dpr, int k) {
    const PickerConfig& config = PickerConfig::green();
    QStringList names;
    for (int i = 0; i < state.greenDutyCount; ++i)
        names << state.greenDutyNames[i];
    PickerPainter painter(config, computePickerGeometry(state, DutyColour::Green), names,
                          state.fontSize, scale);
    return painter.entryPicture(k, dpr).toImage();
}

QPixmap load(EntryPictureCache& cache, const RosterState& state, TwipScale scale, double dpr,
             std::optional<int> k) {
    cache.beginLoad(state, scale, dpr);
    const QPixmap picture = k ? cache.picture(*k) : QPixmap();
    cache.endLoad();
    return picture;
}
} // namespace

class EntryPictureCacheTest : public QObject {
    Q_OBJECT
  private slots:
    // Loads that change nothing reuse the picture; a load that does not show the entry lets
    // it go.
    void keptOnlyWhileShown() {
        EntryPictureCache cache(PickerConfig::green());
        const RosterState state = greenList();
        const QPixmap first = load(cache, state, {}, 1, 3);
        QCOMPARE(first.toImage(), freshPicture(state, {}, 1, 3));
        QCOMPARE(load(cache, state, {}, 1, 3).cacheKey(), first.cacheKey());
        load(cache, state, {}, 1, std::nullopt);
        const QPixmap again = load(cache, state, {}, 1, 3);
        QVERIFY(again.cacheKey() != first.cacheKey());
        QCOMPARE(again.toImage(), first.toImage());
    }

    // Whatever changes the picker's drawing draws the picture again, as a fresh one.
    void redrawnWhenTheDrawingChanges_data() {
        QTest::addColumn<int>("change");
        QTest::newRow("its own name") << 0;
        QTest::newRow("the name above, whose label reaches into it") << 1;
        QTest::newRow("font size") << 2;
        QTest::newRow("tag height") << 3;
        QTest::newRow("duties per column") << 4;
        QTest::newRow("twips per pixel") << 5;
        QTest::newRow("device pixel ratio") << 6;
    }
    void redrawnWhenTheDrawingChanges() {
        QFETCH(int, change);
        EntryPictureCache cache(PickerConfig::green());
        RosterState state = greenList();
        TwipScale scale;
        double dpr = 1;
        const QPixmap before = load(cache, state, scale, dpr, 3);
        switch (change) {
        case 0:
            state.greenDutyNames[3] = QStringLiteral("黄当番3");
            break;
        case 1:
            state.greenDutyNames[2] = QStringLiteral("緑当番X");
            break;
        case 2:
            state.fontSize = 14;
            break;
        case 3:
            state.tagHeight = 400;
            break;
        case 4:
            state.dutiesPerColumn = 2;
            break;
        case 5:
            scale = {12, 12};
            break;
        case 6:
            dpr = 2;
            break;
        }
        const QPixmap after = load(cache, state, scale, dpr, 3);
        QVERIFY(after.cacheKey() != before.cacheKey());
        QCOMPARE(after.toImage(), freshPicture(state, scale, dpr, 3));
    }
};

QTEST_MAIN(EntryPictureCacheTest)
#include "tst_entrypicturecache.moc"

// How large the board and its duty lists may grow: options whose windows X11 could not show or
// memory not hold are refused, and a parameter file holding such options falls back at load.
// Sizes are the windows' outer ones in pixels at 15 twips a pixel unless a row says otherwise.
#include "layout/BoardSizeLimit.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using zel::test::row;

namespace {
// Persons with the widest row of markers `markerChars` characters long; `duties` green and
// yellow duties with names `dutyChars` long.
RosterState roster(int persons, int markerChars = 8, int duties = 10, int dutyChars = 4) {
    RosterState s;
    s.personCount = persons;
    s.maxPersonMarkerWidth = markerChars;
    s.greenDutyCount = s.yellowDutyCount = duties;
    s.greenMarkerWidth = s.yellowMarkerWidth = dutyChars;
    return s;
}
// "names duties width height", the options that shape the windows; the font stays 9.
DisplayOptions options(const QString& text) {
    const QStringList v = text.split(u' ');
    return {v[0].toDouble(), v[1].toInt(), v[2].toDouble(), v[3].toInt(), 9};
}
QString shown(const DisplayOptions& o) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(o.namesPerColumn)
        .arg(o.dutiesPerColumn)
        .arg(o.tagWidth)
        .arg(o.tagHeight);
}
const char* const kLimits[] = {"board width", "board height", "list width", "list height",
                               "pixels"};
} // namespace
Q_DECLARE_METATYPE(RosterState)

class TestBoardSizeLimit : public QObject {
    Q_OBJECT
  private slots:
    void problems_data() {
        QTest::addColumn<RosterState>("state");
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<QString>("problem"); // the limit and the pixels, or empty: they fit
        // 101 persons with rows of 40 characters of markers (12000 twips), 101 duties of 20
        // characters a colour; and 101 persons without markers, 10 duties of 4 characters.
        const RosterState largest = roster(101, 40, 101, 20), plain = roster(101, 0);
        // 11 columns of 34267 twips: 25152 x 26724 pixels, each side within X11's limit; the
        // lists 173 x 13550.
        row("tags 32767 x 32767", plain, "10 5 32767 32767", 15.0, "pixels 676850348");
        row("tags 32767 x 32767 beside markers", largest, "10 5 32767 32767", 15.0,
            "board width 33146");
        row("defaults", largest, "10 5 1000 300", 15.0, "");
        // 101 rows of 6000 twips, plus 1000 + 1100.
        row("one tall column", largest, "101 5 1000 5000", 15.0, "board height 40540");
        row("one row of wide tags", largest, "1 5 5000 300", 15.0, "board width 117183");
        // 101 entries of 6000 twips: 606200 twips wide, or 101 rows of 1.2 x 5000 tall.
        row("duties in a row", largest, "10 1 1000 300", 15.0, "list width 40413");
        row("duties in a tall column", largest, "10 101 1000 5000", 15.0, "list height 40473");
        // One column each: the board 3034 x 6224, the lists 413 x 6158.
        row("largest, just within the pixels", largest, "101 101 32767 760", 15.0, "");
        // The board 3034 x 6232, the lists 413 x 6166.
        row("just past the pixels", largest, "101 101 32767 761", 15.0, "pixels 24001004");
        // On a screen of 192 dots per inch the same options need four times the pixels: the
        // board 29967 x 1773, the lists 16827 x 840.
        row("fits at 96 dpi, not at 192", largest, "10 5 8000 1000", 7.5, "pixels 81400851");
        row("fits at 96 dpi", largest, "10 5 8000 1000", 15.0, "");
        // 100 markers of 109 characters on one person: 3270000 twips of markers in a column,
        // wider than X11 with any options. Options no larger than the fallback ones still do.
        const RosterState crowded = roster(101, 10900, 101, 109);
        row("markers alone too wide, options smaller than the fallback", crowded, "10 5 500 300",
            15.0, "");
        row("markers alone too wide, fallback options", crowded, "10 5 1000 300", 15.0, "");
        row("markers alone too wide, wider tags", crowded, "10 5 1001 300", 15.0,
            "board width 2399051");
        row("markers alone too wide, taller tags", crowded, "10 5 1000 301", 15.0,
            "board width 2399050");
    }
    void problems() {
        QFETCH(RosterState, state);
        QFETCH(QString, options);
        QFETCH(double, twipsPerPixel);
        const auto problem =
            boardSizeProblem(state, ::options(options), twipsPerPixel, twipsPerPixel);
        QTEST(problem ? QStringLiteral("%1 %2")
                            .arg(QLatin1String(kLimits[int(problem->limit)]))
                            .arg(problem->pixels)
                      : QString(),
              "problem");
    }

    // A parameter file's options that do not fit: tag height, tag width, names per column and
    // duties per column fall back in turn until they do.
    void fallbacksAtLoad_data() {
        QTest::addColumn<RosterState>("state");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("loaded");
        const RosterState largest = roster(101, 40, 101, 20), plain = roster(101, 0);
        row("fitting options stay", largest, "12.5 7 1500 400", "12.5 7 1500 400");
        row("the height is enough", plain, "10 5 32767 32767", "10 5 32767 300");
        row("then the width", plain, "1 5 30000 300", "1 5 1000 300");
        row("beside markers, height and width", largest, "10 5 32767 32767", "10 5 1000 300");
        row("then the names per column", largest, "2 5 1000 32767", "10 5 1000 300");
        row("the duties last", largest, "10 1 1000 300", "10 5 1000 300");
        // The roster is too wide with any options: the fallback ones are used.
        row("markers alone too wide", roster(101, 10900, 101, 109), "3 2 900 320", "10 5 1000 300");
    }
    void fallbacksAtLoad() {
        QFETCH(RosterState, state);
        QFETCH(QString, options);
        const DisplayOptions o = ::options(options);
        state.namesPerColumn = o.namesPerColumn;
        state.dutiesPerColumn = o.dutiesPerColumn;
        state.tagWidth = o.tagWidth;
        state.tagHeight = o.tagHeight;
        state.fontSize = 72;
        applyBoardSizeFallbacks(state, 15, 15);
        QTEST(shown({state.namesPerColumn, state.dutiesPerColumn, state.tagWidth, state.tagHeight,
                     state.fontSize}),
              "loaded");
        QCOMPARE(state.fontSize, 72);
    }
};

QTEST_APPLESS_MAIN(TestBoardSizeLimit)
#include "tst_boardsizelimit.moc"

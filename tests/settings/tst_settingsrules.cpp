// The pure rules behind the two settings dialogs: how an option box is read, rounded, checked
// and shown, where its bar stands, and how a typed folder path is checked and looked up. How a path
// is completed: tst_rosterfiles and the folder rows of tst_settingsdialogs.
#include "settings/FolderRules.h"
#include "settings/OptionRules.h"
#include "settings/OptionSizeRule.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QDir>
#include <QTest>
#include <cmath>

using namespace zel;
using zel::test::row;
using namespace Qt::StringLiterals;

using Boxes = std::array<QString, kOptionCount>;

class TestSettingsRules : public QObject {
    Q_OBJECT
  private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        row("units after", "7cm", 7.0);
        row("empty", "", 0.0);
        row("blanks anywhere", " 1 2 0 0 ", 1200.0);
        row("ideographic blank", QStringLiteral("\u30009"), 9.0);
        row("sign", "-3", -3.0);
        row("point first", ".5", 0.5);
        row("second point stops", "1.2.3", 1.2);
        row("exponent without digits", "7e", 7.0);
        row("full-width digits", QStringLiteral("１２"), 0.0);
    }

    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(readLeadingNumber(text), value);
    }

    // The five boxes, "|" between them; as the boxes then show the stored values, or "box k: "
    // and words of the one message about the first box the board cannot use.
    void readingBoxes_data() {
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("result");
        row("fractions kept where they may be", "12.5|4|1000.25|300|9", "12.5 4 1000.25 300 9");
        row("halves to even", "10|2.5|1000|350.5|9.5", "10 2 1000 350 10");
        row("smallest", "0.5001|0.5001|0.001|0.51|0.6", "0.5001 1 0.001 1 1");
        row("largest", "32767|32767|32767|32767|32767", "32767 32767 32767 32767 32767");
        row("names round to 0", "0.5|4|1000|300|9", "box 0: 1 以上");
        row("names too many", "32767.5|4|1000|300|9", "box 0: 32767");
        row("duties empty", "10||1000|300|9", "box 1: 1 以上");
        row("width 0", "10|4|0|300|9", "box 2: 0 より大きい");
        row("height overflowing", "10|4|1000|1e999|9", "box 3: 32767");
        row("font beyond 16 bits", "10|4|1000|300|32767.5", "box 4: 32767");
        row("first bad box wins", "10|0|0|0|0", "box 1: 1 以上");
    }
    void readingBoxes() {
        QFETCH(QString, boxes);
        QFETCH(QString, result);
        Boxes typed;
        std::ranges::copy(boxes.split(u'|'), typed.begin());
        const OptionsReading reading = readOptionBoxes(typed);
        if (const auto& problem = reading.problem) {
            QCOMPARE(QStringLiteral("box %1").arg(problem->row), result.left(5));
            QVERIFY2(problem->message.contains(result.mid(7)), qPrintable(problem->message));
            return;
        }
        QStringList shown;
        for (int k = 0; k < kOptionCount; ++k)
            shown << formatBoxNumber(optionValue(reading.options, kOptionRows[k].field));
        QCOMPARE(shown.join(u' '), result);
    }

    void barPositions() { // half to even, kept inside the bar
        QCOMPARE(barPosition(kOptionRows[0], 13.5), 14);
        QCOMPARE(barPosition(kOptionRows[2], 1e300), 2000);
        QCOMPARE(barPosition(kOptionRows[2], std::nan("")), 500);
    }

    // A name may be stored as its look-alike, a folder may not: the path read back would name
    // another folder. Characters the code page has are kept.
    void folderPathsKeepEveryCharacter() {
        QVERIFY(!unstorableFolderReason(u"当番/月\uFF5E金/"_s));
        QCOMPARE(unstorableFolderReason(u"当番/月\u301C金/"_s).value_or(""),
                 u"「\u301C」(U+301C) は Shift-JIS では「\uFF5E」として保存されるため、"
                 "別のフォルダを指してしまいます。"_s);
        QVERIFY(unstorableFolderReason(u"\u2212/"_s)->contains(u"U+2212"_s));
        QVERIFY(unstorableFolderReason(u"\u2603/"_s)->contains(u"U+2603"_s)); // no look-alike
    }

    // Options whose board would be too large for the screen: the focus goes to the box that
    // shapes the side or size too large and was changed, the message says how large.
    void boardSizeFocus_data() {
        QTest::addColumn<QString>("current"); // as the board uses them, then as typed
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("words");
        row("fits", "10|5|1000|300|9", "10|5|2000|600|12", -1, "");
        row("a tall tag", "10|5|1000|300|9", "10|5|1000|32767|9", 3, "万ピクセル");
        row("one name a column beside wide tags", "10|5|5000|300|9", "1|5|5000|300|9", 0,
            "ボードの幅が 43790 ピクセル");
        row("wide tags and one name a column", "10|5|1000|300|9", "1|5|5000|300|9", 2,
            "ボードの幅が 43790 ピクセル");
        row("nothing changed", "10|5|32767|32767|9", "10|5|32767|32767|9", 3, "万ピクセル");
        row("duties in one row", "10|5|1000|300|9", "10|1|1000|300|9", 1, "当番の一覧の幅");
    }
    void boardSizeFocus() {
        QFETCH(QString, current);
        QFETCH(QString, typed);
        QFETCH(int, row);
        QFETCH(QString, words);
        Boxes boxes;
        std::ranges::copy(current.split(u'|'), boxes.begin());
        RosterState state; // 101 persons without markers, 101 duties of 20 characters a colour
        state.personCount = 101;
        state.greenDutyCount = state.yellowDutyCount = 101;
        state.greenMarkerWidth = state.yellowMarkerWidth = 20;
        storeOptions(state, readOptionBoxes(boxes).options);
        std::ranges::copy(typed.split(u'|'), boxes.begin());
        const auto problem = boardSizeOptionProblem(state, readOptionBoxes(boxes).options, 15, 15);
        QCOMPARE(problem ? problem->row : -1, row);
        if (problem)
            QVERIFY2(problem->message.contains(words), qPrintable(problem->message));
    }

    void folderExistence() {
        test::DataFolder work;
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("second")));
        work.write(QStringLiteral("plain"), "x");
        QVERIFY(folderExists(work.path(), work.file(QStringLiteral("second")) + u'/'));
        // A backslash separates, as in a folder file written on Windows.
        QVERIFY(folderExists(work.path(), QStringLiteral("second\\")));
        QVERIFY(!folderExists(work.path(), QStringLiteral("plain\\")));
        QVERIFY(!folderExists(work.path(), QStringLiteral("plain/")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"

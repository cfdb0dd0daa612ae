// The pure rules behind the two settings dialogs: how an option box is read, rounded, checked
// and shown, where its bar stands, and how a typed folder path is completed and looked up.
#include "settings/FolderRules.h"
#include "settings/OptionRules.h"
#include "support/DataFolder.h"

#include <QDir>
#include <QTest>
#include <cmath>

using namespace zel;

using Boxes = std::array<QString, kOptionCount>;
Q_DECLARE_METATYPE(Boxes)

class TestSettingsRules : public QObject {
    Q_OBJECT

  private slots:
    void leadingNumber_data();
    void leadingNumber();
    void readingBoxes_data();
    void readingBoxes();
    void barPositions();
    void folderCompletion_data();
    void folderCompletion();
    void folderExistence();
};

void TestSettingsRules::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("units after") << "7cm" << 7.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks anywhere") << " 1 2 0 0 " << 1200.0;
    QTest::newRow("ideographic blank") << QStringLiteral("\u30009") << 9.0;
    QTest::newRow("sign") << "-3" << -3.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 0.0;
}

void TestSettingsRules::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readLeadingNumber(text), value);
}

void TestSettingsRules::readingBoxes_data() {
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<Boxes>("stored");  // as the boxes show the stored values, all usable
    QTest::addColumn<int>("row");       // or the first box the board cannot use
    QTest::addColumn<QString>("words"); // and words of its one message
    QTest::newRow("fractions kept where they may be")
        << Boxes{"12.5", "4", "1000.25", "300", "9"} << Boxes{"12.5", "4", "1000.25", "300", "9"}
        << -1 << "";
    QTest::newRow("halves to even") << Boxes{"10", "2.5", "1000", "350.5", "9.5"}
                                    << Boxes{"10", "2", "1000", "350", "10"} << -1 << "";
    QTest::newRow("units after") << Boxes{"7cm", "3.5 pcs", "900tw", "300", "10pt"}
                                 << Boxes{"7", "4", "900", "300", "10"} << -1 << "";
    QTest::newRow("smallest") << Boxes{"0.5001", "0.5001", "0.001", "0.51", "0.6"}
                              << Boxes{"0.5001", "1", "0.001", "1", "1"} << -1 << "";
    QTest::newRow("largest") << Boxes{"32767", "32767", "32767", "32767", "32767"}
                             << Boxes{"32767", "32767", "32767", "32767", "32767"} << -1 << "";

    const QString one = QStringLiteral("1 以上");
    const QString big = QStringLiteral("32767");
    const Boxes none;
    QTest::newRow("names round to 0") << Boxes{"0.5", "4", "1000", "300", "9"} << none << 0 << one;
    QTest::newRow("names too many")
        << Boxes{"32767.5", "4", "1000", "300", "9"} << none << 0 << big;
    QTest::newRow("duties empty") << Boxes{"10", "", "1000", "300", "9"} << none << 1 << one;
    QTest::newRow("width 0") << Boxes{"10", "4", "0", "300", "9"} << none << 2
                             << QStringLiteral("0 より大きい");
    QTest::newRow("height overflowing")
        << Boxes{"10", "4", "1000", "1e999", "9"} << none << 3 << big;
    QTest::newRow("font beyond 16 bits")
        << Boxes{"10", "4", "1000", "300", "32767.5"} << none << 4 << big;
    QTest::newRow("first bad box wins") << Boxes{"10", "0", "0", "0", "0"} << none << 1 << one;
}

void TestSettingsRules::readingBoxes() {
    QFETCH(Boxes, boxes);
    QFETCH(Boxes, stored);
    QFETCH(int, row);
    QFETCH(QString, words);
    const OptionsReading reading = readOptionBoxes(boxes);
    const QString message = reading.problem ? reading.problem->message : QString();
    QCOMPARE(reading.problem ? reading.problem->row : -1, row);
    if (row >= 0) {
        QVERIFY2(message.contains(QString::fromUtf16(kOptionRows[row].caption)),
                 qPrintable(message));
        QVERIFY2(message.contains(words), qPrintable(message));
    }
    for (int k = 0; k < kOptionCount && row < 0; ++k)
        QCOMPARE(formatBoxNumber(optionValue(reading.options, kOptionRows[k].field)), stored[k]);
}

void TestSettingsRules::barPositions() { // half to even, kept inside the bar
    QCOMPARE(barPosition(kOptionRows[0], 13.5), 14);
    QCOMPARE(barPosition(kOptionRows[2], 1e300), 2000);
    QCOMPARE(barPosition(kOptionRows[2], std::nan("")), 500);
}

void TestSettingsRules::folderCompletion_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("separator added") << QStringLiteral("/srv/roster") << "/srv/roster/";
    QTest::newRow("slash kept") << QStringLiteral("/srv/roster/") << "/srv/roster/";
    QTest::newRow("backslash kept") << QStringLiteral("C:\\roster\\") << "C:\\roster\\";
    QTest::newRow("empty stays empty") << QString() << "";
    QTest::newRow("trailing blank kept") << QStringLiteral("/srv/roster ") << "/srv/roster /";
    QTest::newRow("leading blanks kept") << QStringLiteral("  roster") << "  roster/";
}

void TestSettingsRules::folderCompletion() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(completeFolderPath(typed), stored);
}

void TestSettingsRules::folderExistence() {
    test::DataFolder work;
    QVERIFY(QDir(work.path()).mkdir(QStringLiteral("second")));
    work.write(QStringLiteral("plain"), "x");
    QVERIFY(folderExists(work.path(), work.file(QStringLiteral("second")) + u'/'));
    // A backslash separates, as in a folder file written on Windows.
    QVERIFY(folderExists(work.path(), QStringLiteral("second\\")));
    QVERIFY(!folderExists(work.path(), QStringLiteral("plain\\")));
    QVERIFY(!folderExists(work.path(), QStringLiteral("plain/")));
}

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"

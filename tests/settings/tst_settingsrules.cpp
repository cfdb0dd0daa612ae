#include "settings/FolderRules.h"
#include "settings/OptionRules.h"
#include "support/DataFolder.h"

#include <QDir>
#include <QTest>
#include <cmath>

using namespace zel;

using Boxes = std::array<QString, kOptionCount>;
Q_DECLARE_METATYPE(Boxes)

// The rules behind the two settings dialogs: how a box is read, checked and shown, and how a
// typed folder path is completed.
class TestSettingsRules : public QObject {
    Q_OBJECT

  private slots:
    void leadingNumber_data();
    void leadingNumber();
    void storedValues_data();
    void storedValues();
    void refusals_data();
    void refusals();
    void boxesAndBars();
    void folderCompletion_data();
    void folderCompletion();
    void folderExistence();
};

void TestSettingsRules::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("fraction") << "12.5" << 12.5;
    QTest::newRow("units after") << "7cm" << 7.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("letters first") << "x12" << 0.0;
    QTest::newRow("blanks anywhere") << " 1 2 0 0 " << 1200.0;
    QTest::newRow("ideographic blank") << QStringLiteral("\u30009") << 9.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 0.0;
}

void TestSettingsRules::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readLeadingNumber(text), value);
}

void TestSettingsRules::storedValues_data() {
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<Boxes>("stored"); // as the box shows the stored value
    QTest::newRow("fractions kept where they may be")
        << Boxes{"12.5", "4", "1000.25", "300", "9"} << Boxes{"12.5", "4", "1000.25", "300", "9"};
    QTest::newRow("halves to even")
        << Boxes{"10", "2.5", "1000", "350.5", "9.5"} << Boxes{"10", "2", "1000", "350", "10"};
    QTest::newRow("units after") << Boxes{"7cm", "3.5 pcs", "900tw", "300", "10pt"}
                                 << Boxes{"7", "4", "900", "300", "10"};
    QTest::newRow("smallest") << Boxes{"0.5001", "0.5001", "0.001", "0.51", "0.6"}
                              << Boxes{"0.5001", "1", "0.001", "1", "1"};
    QTest::newRow("largest") << Boxes{"32767", "32767", "32767", "32767", "32767"}
                             << Boxes{"32767", "32767", "32767", "32767", "32767"};
}

void TestSettingsRules::storedValues() {
    QFETCH(Boxes, boxes);
    QFETCH(Boxes, stored);
    const OptionsReading reading = readOptionBoxes(boxes);
    QVERIFY2(!reading.problem, qPrintable(reading.problem ? reading.problem->message : QString()));
    for (int k = 0; k < kOptionCount; ++k)
        QCOMPARE(formatBoxNumber(optionValue(reading.options, kOptionRows[k].field)), stored[k]);
}

void TestSettingsRules::refusals_data() {
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("words");
    const QString one = QStringLiteral("1 以上");
    const QString big = QStringLiteral("32767");
    QTest::newRow("names round to 0") << Boxes{"0.5", "4", "1000", "300", "9"} << 0 << one;
    QTest::newRow("names letters") << Boxes{"abc", "4", "1000", "300", "9"} << 0 << one;
    QTest::newRow("names too many") << Boxes{"32767.5", "4", "1000", "300", "9"} << 0 << big;
    QTest::newRow("duties empty") << Boxes{"10", "", "1000", "300", "9"} << 1 << one;
    QTest::newRow("duties negative") << Boxes{"10", "-2", "1000", "300", "9"} << 1 << one;
    QTest::newRow("width 0") << Boxes{"10", "4", "0", "300", "9"} << 2
                             << QStringLiteral("0 より大きい");
    QTest::newRow("width beyond 16 bits") << Boxes{"10", "4", "32767.01", "300", "9"} << 2 << big;
    QTest::newRow("height rounds to 0") << Boxes{"10", "4", "1000", "0.4", "9"} << 3 << one;
    QTest::newRow("height overflowing") << Boxes{"10", "4", "1000", "1e999", "9"} << 3 << big;
    QTest::newRow("font beyond 16 bits") << Boxes{"10", "4", "1000", "300", "32767.5"} << 4 << big;
    QTest::newRow("first bad box wins") << Boxes{"10", "0", "0", "0", "0"} << 1 << one;
}

void TestSettingsRules::refusals() {
    QFETCH(Boxes, boxes);
    QFETCH(int, row);
    QFETCH(QString, words);
    const OptionsReading reading = readOptionBoxes(boxes);
    QVERIFY(reading.problem);
    QCOMPARE(reading.problem->row, row);
    const QString& message = reading.problem->message;
    QVERIFY2(message.contains(QString::fromUtf16(kOptionRows[row].caption)), qPrintable(message));
    QVERIFY2(message.contains(words), qPrintable(message));
}

void TestSettingsRules::boxesAndBars() {
    QCOMPARE(formatBoxNumber(12), QStringLiteral("12"));
    QCOMPARE(formatBoxNumber(12.5), QStringLiteral("12.5"));
    QCOMPARE(formatBoxNumber(-3), QStringLiteral("-3"));
    const OptionRow& names = kOptionRows[0];
    QCOMPARE(barPosition(names, 12.5), 12);
    QCOMPARE(barPosition(names, 13.5), 14);
    QCOMPARE(barPosition(names, 0), 3);
    QCOMPARE(barPosition(names, 100), 30);
    QCOMPARE(barPosition(kOptionRows[2], 1e300), 2000);
    QCOMPARE(barPosition(kOptionRows[2], std::nan("")), 500);
}

void TestSettingsRules::folderCompletion_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("separator added") << "/srv/roster"
                                     << "/srv/roster/";
    QTest::newRow("slash kept") << "/srv/roster/"
                                << "/srv/roster/";
    QTest::newRow("backslash kept") << "C:\\roster\\"
                                    << "C:\\roster\\";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("trailing blank kept") << "/srv/roster "
                                         << "/srv/roster /";
    QTest::newRow("leading blanks kept") << "  roster"
                                         << "  roster/";
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
    QVERIFY(folderExists(work.path(), QString()));
    QVERIFY(folderExists(work.path(), QStringLiteral("second/")));
    QVERIFY(folderExists(work.path(), work.file(QStringLiteral("second")) + u'/'));
    QVERIFY(!folderExists(work.path(), QStringLiteral(" second/")));
    QVERIFY(!folderExists(work.path(), QStringLiteral("second\\"))); // a name, not a separator
    QVERIFY(!folderExists(work.path(), QStringLiteral("plain/")));
}

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"

#include "roster/CodePage.h"
#include "roster/FieldReader.h"
#include "roster/PrintWriter.h"

#include <QTest>

using namespace zel;

// Print-style writing: what reaches the file, that it reads back, and what is refused.
class TestPrintWriter : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(codePageAvailable()); }

    void numbers_data();
    void numbers();
    void texts_data();
    void texts();
    void refusals_data();
    void refusals();
};

void TestPrintWriter::numbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("positive") << 5.0 << QByteArray(" 5\r\n");
    QTest::newRow("zero") << 0.0 << QByteArray(" 0\r\n");
    QTest::newRow("negative") << -3.0 << QByteArray("-3\r\n");
    QTest::newRow("fraction") << 10.5 << QByteArray(" 10.5\r\n");
    QTest::newRow("negative fraction") << -0.25 << QByteArray("-0.25\r\n");
    QTest::newRow("beyond 16 bits") << 33000.0 << QByteArray(" 33000\r\n");
}

void TestPrintWriter::numbers() {
    QFETCH(double, value);
    QFETCH(QByteArray, line);
    PrintWriter writer;
    writer.number(value);
    QCOMPARE(writer.contents().toLatin1(), line);
}

void TestPrintWriter::texts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << "山田" << QByteArray("\x8e\x52\x93\x63\r\n");
    QTest::newRow("quote inside, no quoting needed") << "a\"b" << QByteArray("a\"b\r\n");
    QTest::newRow("backslash and tilde")
        << QStringLiteral("C:\\～") << QByteArray("C:\x5C\x81\x60\r\n");
    QTest::newRow("empty") << "" << QByteArray("\"\"\r\n");
    QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"\r\n");
    QTest::newRow("leading blank") << " a" << QByteArray("\" a\"\r\n");
    QTest::newRow("trailing blank") << "a " << QByteArray("\"a \"\r\n");
    QTest::newRow("leading ideographic blank") << QStringLiteral("\u3000a")
                                               << QByteArray("\"\x81\x40"
                                                             "a\"\r\n");
    QTest::newRow("trailing ideographic blank")
        << QStringLiteral("a\u3000") << QByteArray("\"a\x81\x40\"\r\n");
}

void TestPrintWriter::texts() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    PrintWriter writer;
    QVERIFY(writer.text(text));
    QVERIFY(!writer.failed());
    QCOMPARE(encodeDataFile(writer.contents()).value_or("<unencodable>"), bytes);
    // Any reader that follows the free-format rules gets the text back unchanged.
    FieldReader reader(decodeDataFile(bytes));
    QCOMPARE(reader.readText(), std::optional<QString>(text));
}

void TestPrintWriter::refusals_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("leading quote") << "\"a";
    QTest::newRow("quote with comma") << "a,\"b";
    QTest::newRow("quote with trailing blank") << "a\"b ";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("line feed") << "a\nb";
    QTest::newRow("wave dash U+301C") << QStringLiteral("a\u301Cb");
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600");
    QTest::newRow("replacement character") << QStringLiteral("名\uFFFD");
}

void TestPrintWriter::refusals() {
    QFETCH(QString, text);
    PrintWriter writer;
    writer.text(QStringLiteral("ok"));
    QVERIFY(!writer.text(text));
    QVERIFY(writer.failed());
    QVERIFY(!writer.error().isEmpty());
    QCOMPARE(writer.contents(), QStringLiteral("ok\r\n")); // nothing of the refused text
    QVERIFY(unstorableTextReason(text).has_value());
}

QTEST_APPLESS_MAIN(TestPrintWriter)
#include "tst_printwriter.moc"

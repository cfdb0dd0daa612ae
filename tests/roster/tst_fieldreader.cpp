#include "roster/CodePage.h"
#include "roster/FieldReader.h"

#include <QTest>

using namespace zel;

// Free-format reading of the data files, from the raw bytes a file holds.
class TestFieldReader : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(codePageAvailable()); }

    void reads_data();
    void reads();
};

namespace {
QString none() {
    return QStringLiteral("<none>");
}

// Reads one field per letter of `kinds`: n number, i 16-bit integer, l 32-bit integer, t text.
QStringList readFields(const QByteArray& bytes, const QString& kinds) {
    FieldReader reader(decodeDataFile(bytes));
    QStringList out;
    for (QChar kind : kinds) {
        if (kind == u't') {
            out << reader.readText().value_or(none());
        } else {
            std::optional<double> v;
            if (kind == u'n')
                v = reader.readNumber();
            else if (kind == u'i')
                v = reader.readInt16();
            else
                v = reader.readInt32();
            out << (v ? QString::number(*v) : none());
        }
    }
    return out;
}
} // namespace

void TestFieldReader::reads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QStringList>("expected");

    const QString x = none();
    // Numbers as the print-style writer leaves them, and as people type them.
    QTest::newRow("leading blank or none, negative")
        << QByteArray(" 5\r\n7\r\n-3\r\n") << "nnn" << QStringList{"5", "7", "-3"};
    QTest::newRow("fraction kept") << QByteArray(" 10.5\r\n") << "n" << QStringList{"10.5"};
    QTest::newRow("blanks and tabs between")
        << QByteArray(" 1  2\t3\r\n") << "nnn" << QStringList{"1", "2", "3"};
    QTest::newRow("commas between")
        << QByteArray("1,2 , 3\r\n") << "nnn" << QStringList{"1", "2", "3"};
    QTest::newRow("empty field between commas is 0")
        << QByteArray("1,,2\r\n") << "nnn" << QStringList{"1", "0", "2"};
    QTest::newRow("marker record")
        << QByteArray(" 102  7  1800\r\n") << "iil" << QStringList{"102", "7", "1800"};
    QTest::newRow("record across lines")
        << QByteArray(" 3\r\n 4\r\n\r\n 600\r\n") << "iil" << QStringList{"3", "4", "600"};
    QTest::newRow("not a number is skipped")
        << QByteArray("abc\r\n 7\r\n") << "nn" << QStringList{x, "7"};
    QTest::newRow("past the end") << QByteArray(" 5\r\n") << "nt" << QStringList{"5", x};
    QTest::newRow("empty file") << QByteArray() << "t" << QStringList{x};
    QTest::newRow("16-bit half to even")
        << QByteArray("10.5\r\n11.5\r\n-2.5\r\n") << "iii" << QStringList{"10", "12", "-2"};
    QTest::newRow("16-bit out of range")
        << QByteArray("32768\r\n-32768\r\n") << "ii" << QStringList{x, "-32768"};
    QTest::newRow("32-bit offset past 16 bits")
        << QByteArray(" 33000\r\n") << "l" << QStringList{"33000"};

    // Line ends: CR LF, LF and a lone CR; empty lines are skipped like blanks.
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "tt" << QStringList{"a", "b"};
    QTest::newRow("LF") << QByteArray("a\nb\n") << "tt" << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << "tt" << QStringList{"a", "b"};
    QTest::newRow("empty line skipped")
        << QByteArray("a\r\n\r\nb\r\n") << "tt" << QStringList{"a", "b"};

    // Texts.
    QTest::newRow("comma splits a text")
        << QByteArray("ab,cd\r\nef\r\n") << "ttt" << QStringList{"ab", "cd", "ef"};
    QTest::newRow("outer blanks dropped") << QByteArray("  ab  \r\n") << "t" << QStringList{"ab"};
    QTest::newRow("quoted keeps comma and blanks")
        << QByteArray("\" a, b \"\r\n") << "t" << QStringList{" a, b "};
    QTest::newRow("quoted empty") << QByteArray("\"\"\r\nx\r\n") << "tt" << QStringList{"", "x"};
    QTest::newRow("leading quote runs to the next")
        << QByteArray("\"ab\"cd,ef\r\n") << "tt" << QStringList{"ab", "ef"};
    QTest::newRow("quote inside is kept") << QByteArray("a\"b\r\n") << "t" << QStringList{"a\"b"};
    QTest::newRow("number then text on a line")
        << QByteArray(" 2 ab\r\n") << "nt" << QStringList{"2", "ab"};

    // The Windows variant of Shift-JIS.
    QTest::newRow("names") << QByteArray("\x8e\x52\x93\x63\r\n\x8d\xb2\x93\xa1\r\n") << "tt"
                           << QStringList{"山田", "佐藤"};
    QTest::newRow("0x5C is a backslash")
        << QByteArray("C:\x5Croster\x5C\r\n") << "t" << QStringList{"C:\\roster\\"};
    QTest::newRow("81 60 is U+FF5E")
        << QByteArray("\x81\x60\r\n") << "t" << QStringList{QString(QChar(0xFF5E))};
    QTest::newRow("87 40 is circled one") << QByteArray("\x87\x40\r\n") << "t" << QStringList{"①"};
    QTest::newRow("undefined bytes read as U+FFFD")
        << QByteArray("a\xa0\x85\x40\xff\x81\n\x1a\r\n") << "tt"
        << QStringList{QStringLiteral("a\uFFFD\uFFFD\uFFFD\uFFFD"), QStringLiteral("\u001A")};
    QTest::newRow("cut inside a two-byte character")
        << QByteArray("\x96\xbc\x96") << "t" << QStringList{QStringLiteral("名\uFFFD")};
}

void TestFieldReader::reads() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kinds);
    QFETCH(QStringList, expected);
    QCOMPARE(readFields(bytes, kinds), expected);
}

QTEST_APPLESS_MAIN(TestFieldReader)
#include "tst_fieldreader.moc"

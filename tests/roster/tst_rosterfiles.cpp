#include "roster/CodePage.h"
#include "roster/FieldReader.h"
#include "roster/PrintWriter.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"

#include <QDir>
#include <QTest>

using namespace zel;
using namespace Qt::StringLiterals;
using zel::test::cp932Lines;
using zel::test::DataFolder;

// The data files and the roster record: fields read from raw bytes, written or refused, what a
// load puts into the roster, the exact bytes each save writes, the markers' running widths and
// repacked offsets. Saves that fail, and the folder file, are in tst_savefaults.

namespace {
// "persons, names 0-3, 100 | markers, 1-3 as duty/person/offset | widths of persons 0-2, widest"
QString describe(const RosterState& s) {
    QStringList parts{QString::number(s.personCount)};
    for (int i : {0, 1, 2, 3, 100})
        parts << s.personNames[i];
    parts << "|" << QString::number(s.markerCount);
    for (int m = 1; m <= std::min(s.markerCount, 3); ++m)
        parts << u"%1/%2/%3"_s.arg(s.markerDuty[m]).arg(s.markerPerson[m]).arg(s.markerOffset[m]);
    parts << "|";
    for (int i = 0; i < 3; ++i)
        parts << QString::number(s.personMarkerWidth[i]);
    return (parts << QString::number(s.maxPersonMarkerWidth)).join(u' ');
}

// Markers 1, 2, ... from "duty/person" items.
void setMarkers(RosterState& s, const QString& markers) {
    const QStringList items = markers.split(u' ');
    s.markerCount = int(items.size());
    for (int m = 1; m <= s.markerCount; ++m)
        std::tie(s.markerDuty[m], s.markerPerson[m]) = std::pair(
            items[m - 1].section(u'/', 0, 0).toInt(), items[m - 1].section(u'/', 1).toInt());
}

} // namespace

class TestRosterFiles : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(codePageAvailable()); }

    void reads_data() {
        // Per field the read (n number, i/l 16/32-bit integer, t text), then what it gave ("?").
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("signs, fraction") << u"n5|n7|n-3|n10.5"_s << " 5\r\n7\r\n-3\r\n 10.5\r\n"_ba;
        QTest::newRow("blanks, tabs, commas") << u"n1|n2|n3|n4|n5"_s << " 1  2\t3,4 , 5\r\n"_ba;
        QTest::newRow("empty field is 0") << u"n1|n0|n2"_s << "1,,2\r\n"_ba;
        QTest::newRow("exponents, D too") << u"n1000|n200|n-0.5"_s << "1e3 2D2 -5E-1\r\n"_ba;
        QTest::newRow("across lines") << u"i102|i7|l33000"_s << " 102  7\r\n\r\n 33000\r\n"_ba;
        QTest::newRow("not a number is skipped") << u"n?|n?|n7"_s << "abc\r\n1x\r\n 7\r\n"_ba;
        QTest::newRow("number forms") << u"n0.5|n5|n7|n100|n?|n?|n?|n?|n?|n?"_s
                                      << ".5 5. +7 1E+2 1e - . 1.2.3 e5 \x82\x50\r\n"_ba;
        QTest::newRow("past the end") << u"n5|t?"_s << " 5\r\n"_ba;
        QTest::newRow("16-bit half to even") << u"i10|i12|i-2"_s << "10.5\r\n11.5\r\n-2.5\r\n"_ba;
        QTest::newRow("16-bit limits") << u"i?|i-32768|i32767"_s << "32768\r\n-32768\r\n32767.4"_ba;
        QTest::newRow("32-bit limits") << u"l?|l-2147483648"_s << "2147483648\r\n-2147483648"_ba;
        // CR LF, LF and a lone CR all end a line; empty lines are skipped.
        QTest::newRow("line ends") << u"ta|tb|tc|td|te"_s << "a\r\nb\nc\rd\r\n\r\ne"_ba;
        QTest::newRow("comma splits a text") << u"tab|tcd|tef"_s << "ab,cd\r\nef\r\n"_ba;
        QTest::newRow("outer blanks dropped") << u"tab"_s << "  ab  \r\n"_ba;
        QTest::newRow("quoted empty") << u"t|tx"_s << "\"\"\r\nx\r\n"_ba;
        QTest::newRow("leading quote runs to the next") << u"tab|tef"_s << "\"ab\"cd,ef\r\n"_ba;
        // The Windows variant of Shift-JIS: 0x5C is a backslash, 81 60 is U+FF5E.
        QTest::newRow("Shift-JIS") << u"t山田|tC:\\r\\|t\uFF5E①"_s
                                   << "\x8e\x52\x93\x63\r\nC:\x5Cr\x5C\r\n\x81\x60\x87\x40"_ba;
        QTest::newRow("undefined bytes as U+FFFD")
            << u"ta\uFFFD\uFFFD\uFFFD\uFFFD|t\u001A"_s << "a\xa0\x85\x40\xff\x81\n\x1a"_ba;
        QTest::newRow("cut inside a character") << u"t名\uFFFD"_s << "\x96\xbc\x96"_ba;
    }

    void reads() {
        QFETCH(QString, fields);
        QFETCH(QByteArray, bytes);
        FieldReader reader(decodeDataFile(bytes));
        const auto number = [](auto value) {
            return value ? QString::number(double(*value), 'g', 12) : u"?"_s;
        };
        QStringList read;
        for (const QString& field : fields.split(u'|'))
            read << field[0] + (field[0] == u't'   ? reader.readText().value_or("?")
                                : field[0] == u'n' ? number(reader.readNumber())
                                : field[0] == u'i' ? number(reader.readInt16())
                                                   : number(reader.readInt32()));
        QCOMPARE(read.join(u'|'), fields);
    }

    void writesTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused, nothing written
        QTest::addColumn<QString>("reason");
        const QString ok;
        QTest::newRow("quote inside, no quoting needed") << u"a\"b"_s << "a\"b\r\n"_ba << ok;
        QTest::newRow("backslash and tilde") << u"C:\\\uFF5E"_s << "C:\x5C\x81\x60\r\n"_ba << ok;
        QTest::newRow("empty") << QString() << "\"\"\r\n"_ba << ok;
        QTest::newRow("comma") << u"a,b"_s << "\"a,b\"\r\n"_ba << ok;
        QTest::newRow("leading blank") << u" a"_s << "\" a\"\r\n"_ba << ok;
        QTest::newRow("trailing blank") << u"a "_s << "\"a \"\r\n"_ba << ok;
        QTest::newRow("ideographic blank") << u"\u3000a"_s << "\"\x81\x40\x61\"\r\n"_ba << ok;
        const QByteArray none;
        const QString quote =
            u"「,」や前後の空白、先頭の「\"」を含む文字列には、「\"」を使えません。"_s;
        const QString control = u"制御文字 (U+%1) は保存できません。"_s;
        const QString code = u"「%1」(U+%2) は Shift-JIS で保存できない文字です。"_s;
        QTest::newRow("leading quote") << u"\"a"_s << none << quote;
        QTest::newRow("quote with comma") << u"a,\"b"_s << none << quote;
        QTest::newRow("tab") << u"a\tb"_s << none << control.arg("0009");
        QTest::newRow("delete") << u"a\x7f"_s << none << control.arg("007F");
        QTest::newRow("wave dash") << u"a\u301Cb"_s << none << code.arg(u"\u301C"_s, "301C");
        QTest::newRow("emoji") << u"a\U0001F600"_s << none << code.arg(u"\U0001F600"_s, "1F600");
        QTest::newRow("U+FFFD") << u"名\uFFFD"_s << none << code.arg(u"\uFFFD"_s, "FFFD");
    }

    void writesTexts() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        PrintWriter writer;
        QCOMPARE(writer.text(text), reason.isEmpty());
        QCOMPARE(writer.error(), reason);
        QCOMPARE(encodeDataFile(writer.contents()).value_or("<unencodable>"), bytes);
        // Any reader that follows the free-format rules gets a written text back unchanged.
        if (reason.isEmpty())
            QCOMPARE(FieldReader(decodeDataFile(bytes)).readText(), text);
    }

    void loadPersonsAndMarkers_data() {
        QTest::addColumn<QByteArray>("persons"); // empty: no file
        QTest::addColumn<QByteArray>("jobs");
        QTest::addColumn<QString>("loaded"); // as describe() puts it

        QTest::newRow("as written on Windows")
            << QByteArray(" 3\r\n\x8e\x52\x93\x63\r\n\x8d\xb2\x93\xa1\r\n\x97\xe9\x96\xd8\r\n")
            << " 3\r\n 100  0  0\r\n 1  0  900\r\n 100  2  0\r\n"_ba
            << u"3 山田 佐藤 鈴木 - - | 3 100/0/0 1/0/900 100/2/0 | 5 0 3 5"_s;
        QTest::newRow("negative counts")
            << QByteArray("-2\r\n") << "-1\r\n 100 0 0\r\n"_ba << u"0 - - - - - | 0 | 0 0 0 0"_s;
        QTest::newRow("ghost records") << QByteArray() << " 5\r\n 100 1 0\r\n 1 1 900\r\n"_ba
                                       << u"9 - - - - - | 2 100/1/0 1/1/900 | 0 5 0 5"_s;
        QTest::newRow("record cut short") << QByteArray() << " 2\r\n 100 1 0\r\n 1 1\r\n"_ba
                                          << u"9 - - - - - | 1 100/1/0 | 0 3 0 3"_s;
        QTest::newRow("surplus lines ignored")
            << QByteArray(" 2\r\na\r\nb\r\nc\r\n") << " 1\r\n 1 0 0\r\n 1 0 300\r\n"_ba
            << u"2 a b - - - | 1 1/0/0 | 2 0 0 2"_s;
        QTest::newRow("short person file keeps old names")
            << cp932Lines({" 4", "新"}) << " 0\r\n"_ba << u"4 新 - - - - | 0 | 0 0 0 0"_s;
        QTest::newRow("no files") << QByteArray() << QByteArray() << u"9 - - - - - | 0 | 0 0 0 0"_s;
        QTest::newRow("counts past the arrays")
            << cp932Lines(QStringList{" 150"} + QStringList(150, "p"))
            << cp932Lines(QStringList{" 120"} + QStringList(120, " 1 1 0"))
            << u"101 p p p p p | 100 1/1/0 1/1/0 1/1/0 | 0 200 0 200"_s;
    }

    void loadPersonsAndMarkers() {
        QFETCH(QByteArray, persons);
        QFETCH(QByteArray, jobs);
        QFETCH(QString, loaded);
        DataFolder dir;
        // Green "掃除係" is 3 characters wide, yellow "花", "ゴミ" 2.
        dir.write(kGreenListFile, " 2\r\n\x91\x7c\x8f\x9c\x8c\x57\r\n\x93\x96\x94\xd4\r\n");
        dir.write(kYellowListFile, " 2\r\n\x89\xd4\r\n\x83\x53\x83\x7e\r\n");
        if (!persons.isEmpty())
            dir.write(kPersonFile, persons);
        if (!jobs.isEmpty())
            dir.write(kJobFile, jobs);
        // As an earlier load left it: 9 persons named "-", 5 markers.
        RosterState s;
        s.personCount = 9;
        s.personNames.fill("-");
        s.markerCount = 5;
        FileStore store;
        RosterFiles(store, dir.path()).loadAll(s);
        QCOMPARE(describe(s), loaded);
    }

    // A folder file written on Windows separates with backslashes: the files are read from and
    // saved into that folder, never into files named "roster\zeljob.dat" beside it.
    void windowsFolderSeparators() {
        DataFolder dir;
        QVERIFY(QDir(dir.path()).mkpath(u"roster/week"_s));
        dir.write(kFolderFile, "\"roster\\week\\\"\r\n"_ba);
        dir.write(u"roster/week/"_s + kPersonFile, " 1\r\n\x8e\x52\x93\x63\r\n"_ba);
        RosterState s;
        FileStore store;
        RosterFiles files(store, dir.path());
        files.loadAll(s);
        QCOMPARE(s.personCount, 1);
        QCOMPARE(s.personNames[0], u"山田"_s);
        QVERIFY(files.saveJobFile(s).ok);
        QVERIFY(dir.exists(u"roster/week/"_s + kJobFile));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{kFolderFile});
        QCOMPARE(dir.read(kFolderFile), "\"roster\\week\\\"\r\n"_ba);
    }

    // Options the board cannot use fall back in memory only; the file stays as it is.
    void options_data() {
        QTest::addColumn<QByteArray>("file"); // empty: no parameter file
        QTest::addColumn<QString>("after");
        const QString fallback = u"10 5 1000 300 9"_s;
        QTest::newRow("no file") << QByteArray() << u"10 5 1000 450 9"_s;
        QTest::newRow("fraction") << " 10.5\r\n 4\r\n 1200\r\n 400\r\n 12"_ba
                                  << u"10.5 4 1200 400 12"_s;
        QTest::newRow("zeros") << " 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n"_ba << fallback;
        QTest::newRow("negatives") << "-3\r\n-1\r\n-500\r\n-300\r\n-9\r\n"_ba << fallback;
        QTest::newRow("past 16 bits")
            << "40000\r\n40000\r\n40000\r\n 400\r\n 12"_ba << u"10 5 1000 400 12"_s;
        QTest::newRow("0.4 rounds to none") << "0.4,2,800,200,8\r\n"_ba << u"10 2 800 200 8"_s;
        QTest::newRow("short file") << " 8\r\n"_ba << u"8 5 1000 450 9"_s;
    }

    void options() {
        QFETCH(QByteArray, file);
        QFETCH(QString, after);
        DataFolder dir;
        if (!file.isEmpty())
            dir.write(kParameterFile, file);
        RosterState s; // all 0, as on a first start, but for a tag height an earlier load left
        s.tagHeight = 450;
        FileStore store;
        RosterFiles(store, dir.path()).loadAll(s);
        QCOMPARE(QString::asprintf("%g %d %g %d %d", s.namesPerColumn, s.dutiesPerColumn,
                                   s.tagWidth, s.tagHeight, s.fontSize),
                 after);
        QCOMPARE(dir.read(kParameterFile), file);
    }

    void saves() {
        DataFolder dir;
        // The yellow list links to a file of mode 640: a save follows the link and keeps the mode.
        dir.write("yellow.dat", " 0\r\n");
        QVERIFY(QFile::setPermissions(dir.file("yellow.dat"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(dir.file("yellow.dat"), dir.file(kYellowListFile)));
        FileStore store;
        RosterFiles files(store, dir.path());
        RosterState s;
        const QStringList names{"山田", "a,b", "", " 空白"};
        QVERIFY(files.savePersonFile(s, names).ok);
        QCOMPARE(dir.read(kPersonFile),
                 " 4\r\n\x8e\x52\x93\x63\r\n\"a,b\"\r\n\"\"\r\n\" \x8b\xf3\x94\x92\"\r\n");
        files.loadAll(s);
        QCOMPARE(QStringList(s.personNames.begin(), s.personNames.begin() + s.personCount), names);
        // Neither the same bytes written again by another program nor this program's own saves
        // are a change it has missed; nor is a file missing at load and still missing.
        dir.write(kPersonFile, dir.read(kPersonFile));
        QVERIFY(files.savePersonFile(s, {"x"}).ok);
        QVERIFY(files.savePersonFile(s, {"x", "y"}).ok);
        QVERIFY(files.saveDutyList(s, DutyColour::Yellow, {"花"}).ok);
        QCOMPARE(dir.read("yellow.dat"), " 1\r\n\x89\xd4\r\n");
        QVERIFY(QFileInfo(dir.file(kYellowListFile)).isSymLink());
        QCOMPARE(int(QFile::permissions(dir.file("yellow.dat")) & 0xf0ff), 0x6040); // rw-r-----
        // Numbers: a blank in the sign place, none before a minus.
        QVERIFY(files.saveParameterFile({10.5, 5, 33000, 0, -9}).ok);
        QCOMPARE(dir.read(kParameterFile), " 10.5\r\n 5\r\n 33000\r\n 0\r\n-9\r\n");
        QVERIFY(files.saveFolderFile("sub/").ok);
        QCOMPARE(dir.read(kFolderFile), "sub/\r\n");
        for (const QString folder : {"", "sub/", "C:\\roster\\"}) // a separator is not doubled
            QCOMPARE(withTrailingSeparator(folder), folder);
        // Texts and counts no file can hold are refused before anything is written.
        QCOMPARE(files.savePersonFile(s, QStringList(102, "p")).reason, "名前は 101 人までです。");
        QCOMPARE(files.saveDutyList(s, DutyColour::Green, QStringList(102, "d")).reason,
                 "当番は 101 個までです。");
        QCOMPARE(files.savePersonFile(s, {"波\u301C"}).reason,
                 "「\u301C」(U+301C) は Shift-JIS で保存できない文字です。");
        QCOMPARE(dir.read(kPersonFile), " 2\r\nx\r\ny\r\n");
        QVERIFY(!dir.exists(kGreenListFile));

        // Marker 1 left out: the rest of person 1's row moves up; person 150 is written with 0.
        s.greenMarkerWidth = 6;
        s.yellowMarkerWidth = 4;
        setMarkers(s, "100/1 3/1 101/150 2/1");
        QVERIFY(files.saveJobFile(s, 1).ok);
        QCOMPARE(dir.read(kJobFile), " 3\r\n 3  1  0\r\n 101  150  0\r\n 2  1  1200\r\n");
        QCOMPARE(s.markerOffset[4], 1200); // the state takes the repacked offsets
        QVERIFY(files.clearJobFile(s).ok);
        QCOMPARE(dir.read(kJobFile), " 0\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6); // nothing else
    }

    void repack_data() {
        QTest::addColumn<int>("greenWidth");
        QTest::addColumn<int>("yellowWidth");
        QTest::addColumn<QString>("markers"); // "duty/person" of markers 1, 2, ...
        // Offsets of the markers | widths of persons 0-3 and 100 | widest of persons 0-2.
        QTest::addColumn<QString>("expected");
        QTest::newRow("two persons interleaved")
            << 6 << 4 << u"100/0 3/1 101/0 4/0 5/1"_s << u"0 0 1800 3600 1200 | 16 8 0 0 0 | 16"_s;
        QTest::newRow("empty yellow list does not advance")
            << 2 << 0 << u"3/2 100/2 4/2"_s << u"0 0 600 | 0 0 2 0 0 | 2"_s;
        QTest::newRow("person 100 counts, 101 and -1 get offset 0")
            << 6 << 4 << u"100/100 100/101 100/-1 100/100"_s << u"0 0 0 1800 | 0 0 0 0 12 | 0"_s;
        QTest::newRow("person past personCount counts, not in the widest")
            << 6 << 4 << u"100/3 100/3 3/0"_s << u"0 1800 0 | 4 0 0 12 0 | 4"_s;
        QTest::newRow("beyond 109 characters, offsets past 16 bits")
            << 40 << 0 << u"100/0 100/0 100/0 100/0"_s
            << u"0 12000 24000 36000 | 160 0 0 0 0 | 160"_s;
    }

    void repack() {
        QFETCH(int, greenWidth);
        QFETCH(int, yellowWidth);
        QFETCH(QString, markers);
        QFETCH(QString, expected);
        RosterState s;
        s.personCount = 3;
        s.greenMarkerWidth = greenWidth;
        s.yellowMarkerWidth = yellowWidth;
        setMarkers(s, markers);
        s.markerOffset.fill(12345); // stale, as a job file edited by hand may hold
        const auto describe = [&s] {
            QStringList parts;
            for (int m = 1; m <= s.markerCount; ++m)
                parts << QString::number(s.markerOffset[m]);
            parts << "|";
            for (int p : {0, 1, 2, 3, 100})
                parts << QString::number(s.personMarkerWidth[p]);
            s.updateMaxPersonWidth();
            return (parts << "|" << QString::number(s.maxPersonMarkerWidth)).join(u' ');
        };
        s.personMarkerWidth.fill(-7);
        s.repackOffsets();
        QCOMPARE(describe(), expected);
        // A load walks the same markers and must arrive at the same widths, at every reload.
        s.personMarkerWidth.fill(-7);
        s.accumulatePersonWidths();
        s.accumulatePersonWidths();
        QCOMPARE(describe(), expected);
    }

    // In UTF-16 code units, over the names the count takes in, never past slot 100.
    void longestName() {
        const std::array<QString, kSlots> names{"掃除", "\U0001F600\U0001F600\U0001F600",
                                                "ずっと長い名前"};
        QCOMPARE((QList<int>{longestNameLength(names, 1), longestNameLength(names, 2),
                             longestNameLength(names, 500)}),
                 (QList<int>{2, 6, 7}));
    }
};

QTEST_APPLESS_MAIN(TestRosterFiles)
#include "tst_rosterfiles.moc"

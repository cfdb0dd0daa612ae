// The data files and the roster record: fields read from raw bytes, texts written or refused,
// what a load puts into the roster, the exact bytes each save writes, the markers' running widths
// and repacked offsets. Saves that fail are in tst_savefaults.
#include "roster/CodePage.h"
#include "roster/FieldReader.h"
#include "roster/PrintWriter.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QDirIterator>
#include <QTest>

using namespace zel;
using zel::test::row;
using namespace Qt::StringLiterals;
using zel::test::cp932Lines;
using zel::test::DataFolder;

namespace {
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
    void reads_data() {
        // Per field the read (n number, i/l 16/32-bit integer, t text), then what it gave ("?").
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QByteArray>("bytes");
        row("blanks, tabs, commas; empty field is 0", u"n1|n2|n3|n4|n5|n0|n6"_s,
            " 1  2\t3,4 , 5,,6\r\n"_ba);
        // A field that is not a number is skipped: the next read goes on after it.
        row("number forms", u"n0.5|n5|n7|n100|n200|n-0.5|n?|n?|n?|n?|n?|n?|n?"_s,
            ".5 5. +7 1e+2 2D2 -5E-1 1e - . 1.2.3 e5 1x \x82\x50\r\n"_ba);
        row("16-bit half to even", u"i10|i12|i-2"_s, "10.5\r\n11.5\r\n-2.5\r\n"_ba);
        row("16-bit limits", u"i?|i-32768|i32767"_s, "32768\r\n-32768\r\n32767.4"_ba);
        row("32-bit limits", u"l?|l-2147483648"_s, "2147483648\r\n-2147483648"_ba);
        // CR LF, LF and a lone CR all end a line; empty lines are skipped.
        row("line ends", u"ta|tb|tc|td|te"_s, "a\r\nb\nc\rd\r\n\r\ne"_ba);
        row("comma, outer blanks, quotes", u"tab|tcd|tef|t|tgh|tij"_s,
            "ab,cd\r\n  ef  \r\n\"\"\r\n\"gh\"x,ij"_ba);
        // The Windows variant of Shift-JIS: 0x5C is a backslash, 81 60 is U+FF5E.
        row("Shift-JIS", u"t山田|tC:\\r\\|t\uFF5E①"_s,
            "\x8e\x52\x93\x63\r\nC:\x5Cr\x5C\r\n\x81\x60\x87\x40"_ba);
        row("undefined bytes as U+FFFD", u"ta\uFFFD\uFFFD\uFFFD\uFFFD|t\u001A"_s,
            "a\xa0\x85\x40\xff\x81\n\x1a"_ba);
        row("cut inside a character", u"t名\uFFFD"_s, "\x96\xbc\x96"_ba);
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

    // Texts no reader could get back unchanged are refused, one row a kind of message.
    void refusesTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        const QString code = u"「%1」(U+%2) は Shift-JIS で保存できない文字です。"_s;
        row("leading quote", u"\"a"_s,
            u"「,」や前後の空白、先頭の「\"」を含む文字列には、「\"」を使えません。"_s);
        row("tab", u"a\tb"_s, u"制御文字 (U+0009) は保存できません。"_s);
        row("emoji", u"a\U0001F600"_s, code.arg(u"\U0001F600"_s, "1F600"));
        // Typed by input methods too, but without a look-alike in the code page.
        row("yen sign", u"\u00A5100"_s, code.arg(u"\u00A5"_s, "00A5"));
        row("U+FFFD", u"名\uFFFD"_s, code.arg(u"\uFFFD"_s, "FFFD"));
    }

    void refusesTexts() {
        QFETCH(QString, text);
        PrintWriter writer;
        QVERIFY(!writer.text(text));
        QTEST(writer.error(), "reason");
        QCOMPARE(writer.contents(), QString());
    }

    // Input methods type these in their JIS form; the files hold the character of the same look
    // the code page has, and reading gives that one back.
    void storesInputMethodForms_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");
        row("wave dash", u"月\u301C金"_s, "\x8c\x8e\x81\x60\x8b\xe0"_ba, u"月\uFF5E金"_s);
        row("double vertical line", u"a\u2016b"_s, "a\x81\x61\x62"_ba, u"a\u2225b"_s);
        row("minus sign", u"\u22125"_s, "\x81\x7c\x35"_ba, u"\uFF0D5"_s);
        row("cent sign", u"\u00A2"_s, "\x81\x91"_ba, u"\uFFE0"_s);
        row("pound sign", u"\u00A3"_s, "\x81\x92"_ba, u"\uFFE1"_s);
        row("not sign", u"\u00AC"_s, "\x81\xca"_ba, u"\uFFE2"_s);
        // 81 5C ends in the byte of "\": still one character, read back whole.
        row("em dash", u"A\u2014B"_s, "A\x81\x5c\x42"_ba, u"A\u2015B"_s);
        row("quoted, all of them", u" \u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014"_s,
            "\" \x81\x60\x81\x61\x81\x7c\x81\x91\x81\x92\x81\xca\x81\x5c\""_ba,
            u" \uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015"_s);
    }
    void storesInputMethodForms() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QVERIFY(!unstorableTextReason(typed));
        DataFolder dir;
        FileStore store;
        RosterFiles files(store, dir.path());
        RosterState s;
        QVERIFY(files.savePersonFile(s, {typed}).ok);
        QVERIFY(files.saveDutyList(s, DutyColour::Green, {typed}).ok);
        QCOMPARE(dir.read(kPersonFile), " 1\r\n" + bytes + "\r\n");
        QCOMPARE(dir.read(kGreenListFile), dir.read(kPersonFile));
        files.loadAll(s);
        QCOMPARE(s.personNames[0], read);
        QCOMPARE(s.greenDutyNames[0], read);
    }

    void loadPersonsAndMarkers_data() {
        QTest::addColumn<QByteArray>("persons"); // empty: no file
        QTest::addColumn<QByteArray>("jobs");
        // "persons, names 0-3, 100 | markers, 1-3 as duty/person/offset | widths 0-2, widest"
        QTest::addColumn<QString>("loaded");
        row("as written on Windows, surplus lines ignored",
            QByteArray(" 3\r\n\x8e\x52\x93\x63\r\n\x8d\xb2\x93\xa1\r\n\x97\xe9\x96\xd8\r\nx\r\n"),
            " 3\r\n 100  0  0\r\n 1  0  900\r\n 100  2  0\r\n 1  1  0\r\n"_ba,
            u"3 山田 佐藤 鈴木 - - | 3 100/0/0 1/0/900 100/2/0 | 5 0 3 5"_s);
        row("negative counts", "-2\r\n"_ba, "-1\r\n 100 0 0\r\n"_ba,
            u"0 - - - - - | 0 | 0 0 0 0"_s);
        row("ghost records, record cut short", QByteArray(),
            " 5\r\n 100 1 0\r\n 1 1 900\r\n 1 1\r\n"_ba,
            u"9 - - - - - | 2 100/1/0 1/1/900 | 0 5 0 5"_s);
        row("short person file keeps old names", cp932Lines({" 4", "新"}), " 0\r\n"_ba,
            u"4 新 - - - - | 0 | 0 0 0 0"_s);
        row("no files", QByteArray(), QByteArray(), u"9 - - - - - | 0 | 0 0 0 0"_s);
        // The 100 markers kept, all in one place, are laid side by side.
        row("counts past the arrays", cp932Lines(QStringList{" 150"} + QStringList(150, "p")),
            cp932Lines(QStringList{" 120"} + QStringList(120, " 1 1 0")),
            u"101 p p p p p | 100 1/1/0 1/1/600 1/1/1200 | 0 200 0 200"_s);
    }

    void loadPersonsAndMarkers() {
        QFETCH(QByteArray, persons);
        QFETCH(QByteArray, jobs);
        DataFolder dir;
        // Green "掃除係" is 3 characters wide; yellow "花", "😀" (UTF-8) 2 UTF-16 code units.
        dir.write(kGreenListFile, " 2\r\n\x91\x7c\x8f\x9c\x8c\x57\r\n\x93\x96\x94\xd4\r\n");
        dir.write(kYellowListFile, "\xEF\xBB\xBF" + u" 2\r\n花\r\n\U0001F600\r\n"_s.toUtf8());
        if (!persons.isEmpty())
            dir.write(kPersonFile, persons);
        if (!jobs.isEmpty())
            dir.write(kJobFile, jobs);
        RosterState s; // as an earlier load left it: 9 persons named "-", 5 markers
        s.personCount = 9;
        s.personNames.fill("-");
        s.markerCount = 5;
        FileStore store;
        RosterFiles(store, dir.path()).loadAll(s);
        QStringList got{QString::number(s.personCount)};
        for (int i : {0, 1, 2, 3, 100})
            got << s.personNames[i];
        got << "|" << QString::number(s.markerCount);
        for (int m = 1; m <= std::min(s.markerCount, 3); ++m)
            got << u"%1/%2/%3"_s.arg(s.markerDuty[m]).arg(s.markerPerson[m]).arg(s.markerOffset[m]);
        got << "|";
        for (int p : {0, 1, 2})
            got << QString::number(s.personMarkerWidth[p]);
        QTEST((got << QString::number(s.maxPersonMarkerWidth)).join(u' '), "loaded");
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
        row("no file", QByteArray(), u"10 5 1000 450 9"_s);
        row("fraction", " 10.5\r\n 4\r\n 1200\r\n 400\r\n 12"_ba, u"10.5 4 1200 400 12"_s);
        row("zeros", " 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n"_ba, u"10 5 1000 300 9"_s);
        row("past 16 bits", "40000\r\n40000\r\n40000\r\n 400\r\n 12"_ba, u"10 5 1000 400 12"_s);
        row("0.4 rounds to none", "0.4,2,800,200,8\r\n"_ba, u"10 2 800 200 8"_s);
        row("short file", " 8\r\n"_ba, u"8 5 1000 450 9"_s);
    }

    void options() {
        QFETCH(QByteArray, file);
        DataFolder dir;
        if (!file.isEmpty())
            dir.write(kParameterFile, file);
        RosterState s; // all 0, as on a first start, but for a tag height an earlier load left
        s.tagHeight = 450;
        FileStore store;
        RosterFiles(store, dir.path()).loadAll(s);
        QTEST(QString::asprintf("%g %d %g %d %d", s.namesPerColumn, s.dutiesPerColumn, s.tagWidth,
                                s.tagHeight, s.fontSize),
              "after");
        QCOMPARE(dir.read(kParameterFile), file);
    }

    void saves() {
        DataFolder dir;
        // The yellow list links to a link to a file of mode 640: a save follows the whole chain
        // and keeps the mode.
        dir.write("yellow.dat", " 0\r\n");
        QVERIFY(QFile::setPermissions(dir.file("yellow.dat"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link("yellow.dat", dir.file("current.dat")));
        QVERIFY(QFile::link(dir.file("current.dat"), dir.file(kYellowListFile)));
        FileStore store;
        RosterFiles files(store, dir.path());
        RosterState s;
        // Quoted where the reader would change the text; 0x5C and 81 60 are "\" and U+FF5E.
        const QStringList names{"山田", "a,b", "", " a", "a ", "\u3000a", "a\"b", "C:\\\uFF5E"};
        QVERIFY(files.savePersonFile(s, names).ok);
        QCOMPARE(dir.read(kPersonFile),
                 " 8\r\n\x8e\x52\x93\x63\r\n\"a,b\"\r\n\"\"\r\n\" a\"\r\n\"a \"\r\n"
                 "\"\x81\x40\x61\"\r\na\"b\r\nC:\x5C\x81\x60\r\n");
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
        QVERIFY(QFileInfo(dir.file("current.dat")).isSymLink());
        QCOMPARE(int(QFile::permissions(dir.file("yellow.dat")) & 0xf0ff), 0x6040); // rw-r-----
        // Texts and counts no file can hold are refused before anything is written.
        QCOMPARE(files.savePersonFile(s, QStringList(102, "p")).reason, "名前は 101 人までです。");
        QCOMPARE(files.saveDutyList(s, DutyColour::Green, QStringList(102, "d")).reason,
                 "当番は 101 個までです。");
        QCOMPARE(files.savePersonFile(s, {"波\u2603"}).reason,
                 "「\u2603」(U+2603) は Shift-JIS で保存できない文字です。");
        QCOMPARE(dir.read(kPersonFile), " 2\r\nx\r\ny\r\n");
        QVERIFY(!dir.exists(kGreenListFile));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4); // nothing else
    }

    // Every character the writer takes reads back as it was, in a name of 9000 characters, but
    // for input methods' forms, which read back as their look-alikes; a list larger than a load
    // reads is refused.
    void everyStorableCharacterReadsBack() {
        QString all;
        for (char32_t c = 1; c < 0x10000; ++c) {
            const QString one = QString::fromUcs4(&c, 1);
            if (!QChar::isSurrogate(c) && c != u'"' && !unstorableTextReason(u'x' + one))
                all += one;
        }
        QVERIFY(all.size() > 9000);
        for (QChar c : u"\\ソ表①～,"_s)
            QVERIFY(all.contains(c));
        QVERIFY(!all.contains(QChar(0xF86F))); // written as the bytes of "№"
        DataFolder dir;
        FileStore store;
        RosterFiles files(store, dir.path());
        RosterState s;
        const QStringList names{all, u"a\"b"_s, u" 両端 "_s};
        QVERIFY(files.saveDutyList(s, DutyColour::Green, names).ok);
        files.loadAll(s);
        QCOMPARE(QStringList(s.greenDutyNames.begin(), s.greenDutyNames.begin() + s.greenDutyCount),
                 QStringList({withCodePageLookAlikes(all), names[1], names[2]}));
        QVERIFY(withCodePageLookAlikes(all) != all);
        const QString huge(FileStore::kMaxReadBytes / 101 / 2 + 1, u'名');
        QCOMPARE(files.savePersonFile(s, QStringList(101, huge)).reason,
                 u"ファイルが 4 MB を超えてしまうため、保存できません。"_s);
        QVERIFY(!dir.exists(kPersonFile));
    }

    // A job file save repacks the offsets: a marker starts 300 twips per character of the markers
    // before it in its person's row. A load walks the markers to the same running widths.
    void savesJobFile() {
        DataFolder dir;
        dir.writeLines(kGreenListFile, {" 1", QString(40, u'g')}); // 12000 twips a marker
        dir.writeLines(kYellowListFile, {" 1", "yyyy"});           // 1200 twips
        FileStore store;
        RosterFiles files(store, dir.path());
        RosterState s;
        files.loadAll(s);
        s.personCount = 3;
        // Marker 2 left out moves marker 4 up; persons 101 and -1 get offset 0 and add nothing;
        // person 100 counts; so does person 3, but not for the widest; offsets pass 16 bits.
        setMarkers(s, "100/0 3/1 4/1 4/1 100/101 5/-1 100/100 100/3 100/3 100/3 100/3 4/100");
        s.markerOffset.fill(12345); // stale, as a job file edited by hand may hold
        QVERIFY(files.saveJobFile(s, 2).ok);
        QCOMPARE(dir.read(kJobFile),
                 " 11\r\n 100  0  0\r\n 4  1  0\r\n 4  1  1200\r\n 100  101  0\r\n"
                 " 5 -1  0\r\n 100  100  0\r\n 100  3  0\r\n 100  3  12000\r\n"
                 " 100  3  24000\r\n 100  3  36000\r\n 4  100  12000\r\n");
        const auto widths = [&s] {
            return QList<int>{s.personMarkerWidth[0], s.personMarkerWidth[1],
                              s.personMarkerWidth[2], s.personMarkerWidth[3],
                              s.personMarkerWidth[100]};
        };
        QCOMPARE(widths(), (QList<int>{40, 8, 0, 160, 44})); // the state takes the repacked rows
        QCOMPARE(s.markerOffset[4], 1200);
        s.personMarkerWidth.fill(-7);
        files.loadAll(s);
        QCOMPARE(widths(), (QList<int>{40, 8, 0, 160, 44}));
        QCOMPARE(s.maxPersonMarkerWidth, 40);
        QVERIFY(files.clearJobFile(s).ok);
        QCOMPARE(dir.read(kJobFile), " 0\r\n");
    }

    // A job file whose offsets were packed for other duty names: where a person's markers would
    // overlap, the load packs that person's markers again; other rows keep their offsets.
    // Markers: "duty/person@offset"; offsets afterwards in marker order.
    void loadRepacksOverlappingRows_data() {
        QTest::addColumn<int>("greenLength"); // characters of the longest green name
        QTest::addColumn<QString>("markers");
        QTest::addColumn<QString>("offsets");
        // Yellow names are 4 characters long: 1200 twips.
        row("longer green names, job file of the shorter ones", 8,
            "100/0@0 100/0@1200 1/1@0 100/1@1200 100/2@5000", "0 2400 0 1200 5000");
        row("shorter names leave gaps, shown as stored", 2, "100/0@0 100/0@1200", "0 1200");
        row("two markers in one place, edited by hand", 4, "1/3@0 1/4@0 100/3@0", "0 0 1200");
        row("packed again in marker order, not by place", 8, "100/0@1200 1/0@9000 100/0@0",
            "0 2400 3600");
        row("just touching is no overlap", 4, "100/0@1200 100/0@0", "1200 0");
        row("a person beyond the list, markers of no width", 0,
            "100/101@0 100/101@0 100/0@0 100/0@0", "0 0 0 0");
    }
    void loadRepacksOverlappingRows() {
        QFETCH(int, greenLength);
        QFETCH(QString, markers);
        DataFolder dir;
        dir.writeLines(kPersonFile, {" 5", "a", "b", "c", "d", "e"});
        dir.writeLines(kGreenListFile, {" 1", greenLength ? QString(greenLength, u'g') : "\"\""});
        dir.writeLines(kYellowListFile, {" 1", "yyyy"});
        QStringList job{QString::number(markers.count(u'/'))};
        for (const QString& marker : markers.split(u' '))
            job << QString(marker).replace(u'/', u' ').replace(u'@', u' ');
        dir.writeLines(kJobFile, job);
        const QByteArray stored = dir.read(kJobFile);
        FileStore store;
        RosterState s;
        RosterFiles(store, dir.path()).loadAll(s);
        QStringList offsets;
        for (int m = 1; m <= s.markerCount; ++m)
            offsets << QString::number(s.markerOffset[m]);
        QTEST(offsets.join(u' '), "offsets");
        QCOMPARE(dir.read(kJobFile), stored); // packed in memory only
    }

    // Temporary files of saves killed before their rename go at the next load, a minute later;
    // younger ones and anything else stay. The green list is a link into another folder.
    void loadRemovesStaleTemporaries() {
        DataFolder dir;
        QVERIFY(QDir(dir.path()).mkpath("roster/elsewhere"));
        dir.write(kFolderFile, "roster/\r\n");
        dir.write("roster/elsewhere/green.dat", " 0\r\n");
        QVERIFY(QFile::link("elsewhere/green.dat", dir.file("roster/zelto1.dat")));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QMap<QString, int> ages{// seconds since each was last written
                                      {"zelpara.dat.q1W2e3", 3600},
                                      {"roster/zeljob.dat.Ab3dE9", 61},
                                      {"roster/elsewhere/green.dat.k9k9k9", 600},
                                      {"roster/zeljob.dat.Xy12Zq", 20},
                                      {"roster/zeljob.dat.bak", 600},
                                      {"roster/zeljob.dat.ab-def", 600},
                                      {"roster/zeljob.dat.abcdefg", 600},
                                      {"roster/notes.txt.abcdef", 600},
                                      {"zelprsn.dat.abcdef", 600}}; // not the data folder
        for (const auto& [name, age] : ages.asKeyValueRange()) {
            dir.write(name, "x");
            QFile file(dir.file(name));
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(now.addSecs(-age), QFile::FileModificationTime));
        }
        QVERIFY(QDir(dir.path()).mkdir("roster/zelto2.dat.dirDIR"));
        QVERIFY(QFile::link("zeljob.dat.bak", dir.file("roster/zelprsn.dat.linked")));
        FileStore store;
        RosterState s;
        RosterFiles(store, dir.path()).loadAll(s);
        QStringList left;
        for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            left << QDir(dir.path()).relativeFilePath(it.next());
        left.sort();
        QCOMPARE(left, QStringList({"roster", "roster/elsewhere", "roster/elsewhere/green.dat",
                                    "roster/notes.txt.abcdef", "roster/zeljob.dat.Xy12Zq",
                                    "roster/zeljob.dat.ab-def", "roster/zeljob.dat.abcdefg",
                                    "roster/zeljob.dat.bak", "roster/zelprsn.dat.linked",
                                    "roster/zelto1.dat", "roster/zelto2.dat.dirDIR", "zelpath.dat",
                                    "zelprsn.dat.abcdef"}));
    }
};

QTEST_APPLESS_MAIN(TestRosterFiles)
#include "tst_rosterfiles.moc"

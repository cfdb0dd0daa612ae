// A data folder that is not there, or no longer the one the board loaded (a share unmounted
// under it): the load shows no old roster, saves are refused with the cause and create nothing.
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"

#include <QTest>

using namespace zel;
using namespace zel::test;
using Kind = FolderReport::Kind;

class TestFolderReach : public QObject {
    Q_OBJECT

    // A start folder whose folder file points at "roster/", holding two persons and a marker.
    static void writeRoster(const DataFolder& start) {
        start.write(kFolderFile, "roster/\r\n");
        QDir(start.path()).mkpath("roster");
        start.writeLines("roster/" + kPersonFile, {"2", "佐藤", "鈴木"});
        start.writeLines("roster/" + kGreenListFile, {"1", "掃除"});
        start.write("roster/" + kJobFile, " 1\r\n 100  1  0\r\n");
    }

  private slots:
    void afterTheLoad_data() {
        QTest::addColumn<QString>("change"); // what happens to the folder after the first load
        QTest::addColumn<int>("onLoad");
        QTest::addColumn<int>("onSave");
        QTest::newRow("nothing") << "" << int(Kind::Reachable) << int(Kind::Reachable);
        QTest::newRow("folder removed") << "remove" << int(Kind::Missing) << int(Kind::Missing);
        QTest::newRow("a file in its place")
            << "file" << int(Kind::NotFolder) << int(Kind::NotFolder);
        // An unmounted share leaves an empty mount point: another folder, none of the files.
        QTest::newRow("empty folder in its place") << "empty" << int(Kind::Gone) << int(Kind::Gone);
        QTest::newRow("every file gone") << "files" << int(Kind::Gone) << int(Kind::Gone);
        // Another folder with files of its own at that path loads, but takes no save from a
        // board that showed the old one.
        QTest::newRow("another roster in its place")
            << "other" << int(Kind::Reachable) << int(Kind::Gone);
    }
    void afterTheLoad() {
        QFETCH(QString, change);
        QFETCH(int, onLoad);
        QFETCH(int, onSave);
        DataFolder start;
        writeRoster(start);
        FileStore store;
        RosterFiles files(store, start.path());
        RosterState state;
        files.loadAll(state);
        QVERIFY(files.dataFolderReport().reachable());
        QCOMPARE(state.personCount, 2);

        QDir dir(start.path());
        if (change == "remove" || change == "file" || change == "empty" || change == "other")
            QVERIFY(dir.rename("roster", "away"));
        if (change == "file")
            start.write("roster", "x");
        if (change == "empty" || change == "other")
            QVERIFY(dir.mkdir("roster"));
        if (change == "other")
            start.writeLines("roster/" + kPersonFile, {"1", "田中"});
        if (change == "files")
            for (const QString& name : {kPersonFile, kGreenListFile, kJobFile})
                QVERIFY(dir.remove("roster/" + name));
        const QStringList before =
            QDir(start.file("roster"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        // The save first: it is refused by what the last load saw.
        RosterState edited = state;
        edited.markerPerson[1] = 0;
        const SaveResult saved = files.saveJobFile(edited);
        QCOMPARE(saved.ok, onSave == int(Kind::Reachable));
        const FolderReport expected{Kind(onSave), QDir::cleanPath(start.file("roster"))};
        if (onSave == int(Kind::Gone)) // a missing folder or a file: the store's own message
            QCOMPARE(saved.reason, expected.line());
        if (saved.ok)
            QCOMPARE(start.read("roster/" + kJobFile), QByteArray(" 1\r\n 100  0  0\r\n"));
        if (!saved.ok) // nothing made in the folder's place, not even a lock file
            QCOMPARE(QDir(start.file("roster"))
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     before);

        files.loadAll(state);
        QCOMPARE(int(files.dataFolderReport().kind), onLoad);
        if (onLoad != int(Kind::Reachable)) {
            QCOMPARE(state.personCount, 0); // no old names under the notice
            QCOMPARE(state.markerCount, 0);
            QVERIFY(
                files.dataFolderReport().line().contains(QDir::cleanPath(start.file("roster"))));
        }
    }

    void neverThereAtStart() {
        DataFolder start;
        start.write(kFolderFile, "/nonexistent/share/roster\\\r\n");
        FileStore store;
        RosterFiles files(store, start.path());
        RosterState state;
        files.loadAll(state);
        QCOMPARE(files.dataFolderReport().line(),
                 QStringLiteral("データフォルダ「/nonexistent/share/roster」が見つかりません。"));
        QVERIFY(!files.saveJobFile(state).ok);
        QVERIFY(!QFile::exists("/nonexistent"));
    }
};

QTEST_GUILESS_MAIN(TestFolderReach)
#include "tst_folderreach.moc"

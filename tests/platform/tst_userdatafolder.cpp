// The per-user data folder: made and seeded once from the sample roster, never overwriting or
// bringing back the user's files; and where the sample roster is.
#include "platform/UserDataFolder.h"
#include "support/DataFolder.h"

#include <QTest>

using namespace zel;
using zel::test::DataFolder;

class UserDataFolderTest : public QObject {
    Q_OBJECT

  private slots:
    void seededOnce() {
        DataFolder sample, home;
        sample.write("zelprsn.dat", " 1\r\nA\r\n");
        sample.write("zeljob.dat", " 0\r\n");
        const QString folder = home.file("zeltomil");
        QCOMPARE(prepareUserDataFolder(home.path(), sample.path()), folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"zeljob.dat", "zelprsn.dat"}));
        home.write("zeltomil/zelprsn.dat", " 0\r\n");
        QVERIFY(QFile::remove(home.file("zeltomil/zeljob.dat")));
        QCOMPARE(prepareUserDataFolder(home.path(), sample.path()), folder);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"zelprsn.dat"}));
        QCOMPARE(home.read("zeltomil/zelprsn.dat"), " 0\r\n");
        QCOMPARE(prepareUserDataFolder(home.file("zeltomil/zelprsn.dat"), {}), ""); // a file
    }

    void sampleFoundBesideAnInstalledProgram() {
        DataFolder prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin"));
        QCOMPARE(findSampleFolder(prefix.file("bin")), QString());
        QVERIFY(QDir(prefix.path()).mkpath("share/zeltomil/sample"));
        prefix.write("share/zeltomil/sample/zelprsn.dat", " 0\r\n");
        QCOMPARE(findSampleFolder(prefix.file("bin")), prefix.file("share/zeltomil/sample"));
    }
};

QTEST_GUILESS_MAIN(UserDataFolderTest)
#include "tst_userdatafolder.moc"

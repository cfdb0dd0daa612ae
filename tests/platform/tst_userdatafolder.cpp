#include "platform/UserDataFolder.h"
#include "support/DataFolder.h"

#include <QDir>
#include <QTest>

using namespace zel;
using zel::test::DataFolder;

class UserDataFolderTest : public QObject {
    Q_OBJECT
  private slots:
    void firstStartSeedsTheSampleOnce() {
        DataFolder sample;
        sample.write(QStringLiteral("zelprsn.dat"), " 1\r\nA\r\n");
        sample.write(QStringLiteral("zeljob.dat"), " 0\r\n");
        DataFolder home;

        const QString folder = prepareUserDataFolder(home.path(), sample.path());
        QCOMPARE(folder, QDir(home.path()).filePath(QStringLiteral("zeltomil")));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);

        // The user's changes survive the next start, even where the sample has changed.
        QFile persons(QDir(folder).filePath(QStringLiteral("zelprsn.dat")));
        QVERIFY(persons.open(QIODevice::WriteOnly | QIODevice::Truncate));
        persons.write(" 0\r\n");
        persons.close();
        QFile::remove(QDir(folder).filePath(QStringLiteral("zeljob.dat")));
        sample.write(QStringLiteral("zelprsn.dat"), " 2\r\nA\r\nB\r\n");

        QCOMPARE(prepareUserDataFolder(home.path(), sample.path()), folder);
        QVERIFY(persons.open(QIODevice::ReadOnly));
        QCOMPARE(persons.readAll(), QByteArray(" 0\r\n"));
        // A file the user removed is not brought back either.
        QVERIFY(!QFile::exists(QDir(folder).filePath(QStringLiteral("zeljob.dat"))));
    }

    void unusableHomeGivesNoFolder() {
        DataFolder home;
        home.write(QStringLiteral("blocker"), "x");
        const QString notAFolder = QDir(home.path()).filePath(QStringLiteral("blocker"));
        QCOMPARE(prepareUserDataFolder(notAFolder, QString()), QString());
    }

    void sampleFoundBesideAnInstalledOrBuiltProgram() {
        DataFolder prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/zeltomil/sample")));
        const QString bin = QDir(prefix.path()).filePath(QStringLiteral("bin"));
        QCOMPARE(findSampleFolder(bin), QString());
        prefix.write(QStringLiteral("share/zeltomil/sample/zelprsn.dat"), " 0\r\n");
        QCOMPARE(findSampleFolder(bin),
                 QDir(prefix.path()).absoluteFilePath(QStringLiteral("share/zeltomil/sample")));
    }
};

QTEST_GUILESS_MAIN(UserDataFolderTest)
#include "tst_userdatafolder.moc"

#include "roster/FileStore.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QTest>

using namespace zel;
using zel::test::DataFolder;
using zel::test::FailingFileStore;

// Atomic whole-file saves: a data file holds either its old or its new content.
class TestFileStore : public QObject {
    Q_OBJECT

  private slots:
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void saveReplacesFile();
    void missingFolder();
    void readsOnlyRegularFiles();
    void keepsPermissionsAndFollowsLinks();
};

namespace {
const QString kName = QStringLiteral("zelprsn.dat");
const QByteArray kOld(" 1\r\nold\r\n");
const QByteArray kNew(" 2\r\nnew one\r\nnew two\r\n");

QStringList entries(const DataFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

void TestFileStore::failedWriteKeepsOldFile_data() {
    QTest::addColumn<qint64>("failAfter");
    QTest::addColumn<bool>("oldFileExists");
    QTest::newRow("nothing written") << qint64(0) << true;
    QTest::newRow("a few bytes") << qint64(3) << true;
    QTest::newRow("all but the last byte") << qint64(kNew.size() - 1) << true;
    QTest::newRow("new file, midway") << qint64(7) << false;
}

void TestFileStore::failedWriteKeepsOldFile() {
    QFETCH(qint64, failAfter);
    QFETCH(bool, oldFileExists);
    DataFolder dir;
    if (oldFileExists)
        dir.write(kName, kOld);
    FailingFileStore store;
    store.failAfterBytes = failAfter;

    const SaveResult result = store.save(dir.file(kName), kNew);
    QVERIFY(!result.ok);
    QCOMPARE(result.fileName, kName);
    QVERIFY(!result.reason.isEmpty());
    QVERIFY(result.message().contains(kName));
    QVERIFY(result.message().contains(result.reason));
    // The old content stays, and no temporary file is left beside it.
    QCOMPARE(entries(dir), oldFileExists ? QStringList{kName} : QStringList{});
    if (oldFileExists)
        QCOMPARE(dir.read(kName), kOld);
}

void TestFileStore::saveReplacesFile() {
    DataFolder dir;
    dir.write(kName, kOld);
    FileStore store;
    const SaveResult result = store.save(dir.file(kName), kNew);
    QVERIFY(result.ok);
    QVERIFY(result.message().isEmpty());
    QCOMPARE(dir.read(kName), kNew);
    QVERIFY(store.save(dir.file(kName), QByteArray()).ok); // shorter content truncates
    QCOMPARE(dir.read(kName), QByteArray());
    QCOMPARE(entries(dir), QStringList{kName});
}

void TestFileStore::missingFolder() {
    DataFolder dir;
    FileStore store;
    const SaveResult result = store.save(dir.file(QStringLiteral("gone/") + kName), kNew);
    QVERIFY(!result.ok);
    QCOMPARE(result.fileName, kName);
    QVERIFY(result.reason.contains(QStringLiteral("gone")));
    QVERIFY(entries(dir).isEmpty());
}

void TestFileStore::readsOnlyRegularFiles() {
    DataFolder dir;
    dir.write(kName, kOld);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    FileStore store;
    QCOMPARE(store.read(dir.file(kName)), std::optional<QByteArray>(kOld));
    QVERIFY(!store.read(dir.file(QStringLiteral("missing.dat"))));
    QVERIFY(!store.read(dir.file(QStringLiteral("folder"))));
}

void TestFileStore::keepsPermissionsAndFollowsLinks() {
    DataFolder dir;
    dir.write(kName, kOld);
    const auto shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                        QFile::WriteGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(dir.file(kName), shared));
    QVERIFY(QFile::link(dir.file(kName), dir.file(QStringLiteral("link.dat"))));
    FileStore store;
    QVERIFY(store.save(dir.file(QStringLiteral("link.dat")), kNew).ok);
    QCOMPARE(dir.read(kName), kNew);
    QVERIFY(QFileInfo(dir.file(QStringLiteral("link.dat"))).isSymLink());
    QCOMPARE(QFile::permissions(dir.file(kName)) & QFile::Permissions(0xf0ff), shared);
    QCOMPARE(entries(dir), (QStringList{QStringLiteral("link.dat"), kName}));
}

QTEST_APPLESS_MAIN(TestFileStore)
#include "tst_filestore.moc"

#include "settings/DataFolderDialog.h"
#include "settings/SettingsFixture.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
const QString kFolderFileName = QStringLiteral("zelpath.dat");
const QByteArray kOldFolderFile("first/\r\n");
} // namespace

// The data folder dialog driven through its widgets: what Enter stores and how it reads
// back, the questions and refusals, and the three ways out.
class TestDataFolderDialog : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void opens();
    void enterStoresPath_data();
    void enterStoresPath();
    void refusalKeepsEditing_data();
    void refusalKeepsEditing();
    void missingFolderMayBeStored();
    void leavingWritesNothing_data();
    void leavingWritesNothing();

  private:
    DataFolderDialog* open();
    void type(const QString& text);
    void pressEnter();

    std::unique_ptr<SettingsFixture> f;
    QPointer<DataFolderDialog> dialog;
};

void TestDataFolderDialog::init() {
    f = std::make_unique<SettingsFixture>();
    f->state.dataFolder = QStringLiteral("first/");
    QDir work(f->work.path());
    for (const char* name : {"first", "second", "  spaced", "a,b", "quote\"in", "end "})
        QVERIFY(work.mkdir(QString::fromUtf8(name)));
}

void TestDataFolderDialog::cleanup() {
    delete dialog.data();
    f.reset();
}

DataFolderDialog* TestDataFolderDialog::open() {
    dialog = new DataFolderDialog(f->context(), f->host);
    dialog->show();
    return dialog;
}

void TestDataFolderDialog::type(const QString& text) {
    QLineEdit* box = dialog->pathBox();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void TestDataFolderDialog::pressEnter() {
    QTest::keyClick(dialog->pathBox(), Qt::Key_Return);
}

void TestDataFolderDialog::opens() {
    f->state.dataFolder = QStringLiteral("  spaced/");
    f->state.savedLeft = 3000;
    f->state.savedTop = 1500;
    DataFolderDialog* d = open();
    QCOMPARE(d->pathBox()->text(), QStringLiteral("  spaced/"));
    QCOMPARE(d->focusWidget(), d->pathBox());
    QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("Text1")), d->pathBox());
    QCOMPARE(d->pos(), QPoint(200, 100));
    QCOMPARE(d->size(), QSize(359, 159));
    QCOMPARE(d->pathBox()->geometry(), QRect(16, 40, 249, 18));
    QCOMPARE(d->backButton()->geometry(), QRect(296, 40, 49, 25));
    QVERIFY(!d->backButton()->autoDefault());
}

void TestDataFolderDialog::enterStoresPath_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("separator added") << "second"
                                     << "second/" << QByteArray("second/\r\n");
    QTest::newRow("separator kept") << "second/"
                                    << "second/" << QByteArray("second/\r\n");
    QTest::newRow("empty path") << ""
                                << "" << QByteArray("\"\"\r\n");
    QTest::newRow("leading blanks") << "  spaced"
                                    << "  spaced/" << QByteArray("\"  spaced/\"\r\n");
    QTest::newRow("comma") << "a,b"
                           << "a,b/" << QByteArray("\"a,b/\"\r\n");
    QTest::newRow("double quote inside") << "quote\"in"
                                         << "quote\"in/" << QByteArray("quote\"in/\r\n");
    QTest::newRow("trailing blank") << "end "
                                    << "end /" << QByteArray("end /\r\n");
}

void TestDataFolderDialog::enterStoresPath() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QByteArray, bytes);
    f->work.write(kFolderFileName, kOldFolderFile);
    open();
    type(typed);
    pressEnter();
    QCOMPARE(f->work.read(kFolderFileName), bytes);
    QCOMPARE(f->state.dataFolder, stored);
    QVERIFY(f->platform.confirmations.isEmpty());
    QVERIFY(f->platform.errors.isEmpty());
    // Enter confirms once and never reaches "戻る".
    QCOMPARE(f->host.calls, QStringList{"showBoard"});
    QVERIFY(deletedAfterClose(dialog));

    // The board's next load reads the same path back.
    RosterState loaded;
    f->files.loadFolderFile(loaded);
    QCOMPARE(loaded.dataFolder, stored);
}

void TestDataFolderDialog::refusalKeepsEditing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("failAfterBytes");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("error"); // words of the one message, if any
    QTest::newRow("missing folder, cancelled") << "later" << -1 << 1 << QString();
    QTest::newRow("path the file cannot hold")
        << "\"quoted,path" << -1 << 0 << QStringLiteral("保存できません");
    QTest::newRow("write fails") << "second" << 2 << 0 << kFolderFileName;
}

void TestDataFolderDialog::refusalKeepsEditing() {
    QFETCH(QString, typed);
    QFETCH(int, failAfterBytes);
    QFETCH(int, questions);
    QFETCH(QString, error);
    f->work.write(kFolderFileName, kOldFolderFile);
    f->platform.store.failAfterBytes = failAfterBytes;
    f->platform.answers = {false};
    DataFolderDialog* d = open();
    type(typed);
    pressEnter();
    QCOMPARE(f->platform.confirmations.size(), questions);
    QCOMPARE(f->platform.errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY(f->platform.errors[0].contains(error));
    QCOMPARE(f->work.read(kFolderFileName), kOldFolderFile);
    QVERIFY(d->isVisible());
    QCOMPARE(d->pathBox()->text(), typed);
    QCOMPARE(f->state.dataFolder, QStringLiteral("first/"));
    QVERIFY(f->host.calls.isEmpty());
}

void TestDataFolderDialog::missingFolderMayBeStored() {
    f->platform.answers = {true};
    open();
    type(QStringLiteral("later"));
    pressEnter();
    QCOMPARE(f->platform.confirmations.size(), 1);
    QVERIFY(f->platform.confirmations[0].contains(QStringLiteral("later/")));
    QCOMPARE(f->work.read(kFolderFileName), QByteArray("later/\r\n"));
    QCOMPARE(f->state.dataFolder, QStringLiteral("later/"));
    QCOMPARE(f->host.calls, QStringList{"showBoard"});
}

void TestDataFolderDialog::leavingWritesNothing_data() {
    QTest::addColumn<bool>("closeControl");
    QTest::addColumn<QString>("call");
    QTest::newRow("戻る") << false << "showBoard";
    QTest::newRow("close control") << true << "quitProgram";
}

void TestDataFolderDialog::leavingWritesNothing() {
    QFETCH(bool, closeControl);
    QFETCH(QString, call);
    f->work.write(kFolderFileName, kOldFolderFile);
    DataFolderDialog* d = open();
    type(QStringLiteral("second"));
    if (closeControl)
        d->close();
    else
        QTest::mouseClick(d->backButton(), Qt::LeftButton);
    QCOMPARE(f->host.calls, QStringList{call});
    QCOMPARE(f->work.read(kFolderFileName), kOldFolderFile);
    QCOMPARE(f->state.dataFolder, QStringLiteral("first/"));
    QVERIFY(deletedAfterClose(dialog));
}

QTEST_MAIN(TestDataFolderDialog)
#include "tst_datafolderdialog.moc"

// The options and data folder dialogs driven through their widgets: what they store, byte for
// byte, and that a refusal or a failed write keeps the window, the files and the record as they
// were. The rules behind them are tst_settingsrules'.
#include "settings/DataFolderDialog.h"
#include "settings/OptionsDialog.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"
#include "support/RecordingHost.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
const QString kParameters = QStringLiteral("zelpara.dat");
const QString kFolder = QStringLiteral("zelpath.dat");
const QByteArray kOldParameters(" 10\r\n 5\r\n 1000\r\n 300\r\n 9\r\n");
const QByteArray kOldFolder("\"  spaced/\"\r\n");

// A working directory with the old settings files, a scripted desktop and the record.
struct Fixture {
    DataFolder work;
    FakePlatform platform;
    RosterState state;
    RosterFiles files{platform.store, work.path()};
    RecordingHost host;
    AppContext context{state, files, platform};
};

void typeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class TestSettingsDialogs : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup() {
        delete window.data();
        f.reset();
    }
    void optionsDialog();
    void refusalKeepsEditing_data();
    void refusalKeepsEditing();

  private:
    std::unique_ptr<Fixture> f;
    QPointer<SettingsWindow> window;

    template <typename Dialog> Dialog* open() {
        auto* dialog = new Dialog(f->context, f->host);
        window = dialog;
        dialog->show();
        dialog->activateWindow();
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }
};

void TestSettingsDialogs::init() {
    f = std::make_unique<Fixture>();
    storeOptions(f->state, {12, 4, 1200, 300, 9});
    f->state.dataFolder = QStringLiteral("  spaced/");
    f->state.savedLeft = 3000;
    f->state.savedTop = 1500;
    f->work.write(kParameters, kOldParameters);
    f->work.write(kFolder, kOldFolder);
    for (const char* name : {" second", "second", "  spaced"})
        QVERIFY(QDir(f->work.path()).mkdir(QString::fromUtf8(name)));
}

void TestSettingsDialogs::optionsDialog() {
    // A fraction, and values beyond the bars' ends (a hand-edited file, say).
    storeOptions(f->state, {12.5, 4, 300, 650, 72});
    auto* d = open<OptionsDialog>();
    QVERIFY(d);
    const QStringList texts{"12.5", "4", "300", "650", "72"};
    const QList<int> bars{12, 4, 500, 600, 16};
    for (int k = 0; k < kOptionCount; ++k) {
        QCOMPARE(d->box(k)->text(), texts[k]);
        QCOMPARE(d->bar(k)->optionValue(), bars[k]);
    }
    QCOMPARE(d->pos(), QPoint(200, 100)); // where the board's corner was
    QCOMPARE(d->size(), QSize(327, 244)); // 5000 x 4100 twips outside, less the frame

    // An arrow steps from where the bar stands and replaces the box; typing leaves the bar.
    typeInto(d->box(2), QStringLiteral("1750"));
    QTest::mouseClick(d->bar(2), Qt::LeftButton, {}, QPoint(d->bar(2)->width() / 2, 1)); // up
    QCOMPARE(d->box(2)->text(), QStringLiteral("600"));
    typeInto(d->box(1), QStringLiteral("2.5"));

    // Enter in a box takes the focus to 書込み and writes nothing; Enter there writes.
    for (int k = 0; k < kOptionCount; ++k) {
        d->box(k)->setFocus();
        QTest::keyClick(d->box(k), k == 1 ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d->writeButton());
    }
    QCOMPARE(f->platform.store.saves, 0);
    QTest::keyClick(d->writeButton(), Qt::Key_Return);
    // The boxes are stored, not the bars: the fraction kept, a half rounded to even.
    QCOMPARE(f->work.read(kParameters), QByteArray(" 12.5\r\n 2\r\n 600\r\n 650\r\n 72\r\n"));
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->state.fontSize, 72);
}

void TestSettingsDialogs::refusalKeepsEditing_data() {
    QTest::addColumn<int>("row"); // the options box, or -1 for the folder dialog's path box
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("failAfterBytes");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("error"); // words of the one message, if any
    QTest::addColumn<QString>("then");  // 戻る, the close control ×, or a text that goes through
    QTest::addColumn<QString>("call");  // asked of the board then
    QTest::addColumn<QByteArray>("bytes"); // then in the dialog's file
    QTest::addColumn<QString>("folder");   // then the record's data folder

    const QString spaced = QStringLiteral("  spaced/");
    QTest::newRow("duties empty, then 戻る")
        << 1 << "" << -1 << 0 << QStringLiteral("当番名の縦並び数") << "戻る"
        << "showBoard" << kOldParameters << spaced;
    QTest::newRow("font beyond 16 bits, then the close control")
        << 4 << "40000" << -1 << 0 << QStringLiteral("フォントのサイズ") << "×"
        << "quitProgram" << kOldParameters << spaced;
    QTest::newRow("options file write fails, then goes through")
        << 0 << "15" << 3 << 0 << kParameters << "15"
        << "reloadBoard" << QByteArray(" 15\r\n 4\r\n 1200\r\n 300\r\n 9\r\n") << spaced;
    QTest::newRow("missing folder, cancelled, then confirmed")
        << -1 << "later" << -1 << 1 << QString() << "later"
        << "showBoard" << QByteArray("later/\r\n") << "later/";
    QTest::newRow("path the file cannot hold, then a leading blank")
        << -1 << "\"quoted,path" << -1 << 0 << QStringLiteral("保存できません") << " second"
        << "showBoard" << QByteArray("\" second/\"\r\n") << " second/";
    QTest::newRow("folder file write fails, then the empty path")
        << -1 << "second" << 2 << 0 << kFolder << ""
        << "showBoard" << QByteArray("\"\"\r\n") << "";
}

void TestSettingsDialogs::refusalKeepsEditing() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, failAfterBytes);
    QFETCH(int, questions);
    QFETCH(QString, error);
    QFETCH(QString, then);
    QFETCH(QString, call);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, folder);
    OptionsDialog* options = row >= 0 ? open<OptionsDialog>() : nullptr;
    DataFolderDialog* path = row < 0 ? open<DataFolderDialog>() : nullptr;
    QLineEdit* box = row >= 0 ? options->box(row) : path->pathBox();
    if (path) // the stored path, blanks kept, ready for typing
        QCOMPARE(box->text(), QStringLiteral("  spaced/"));
    auto confirm = [&] {
        if (options)
            options->writeButton()->click();
        else
            QTest::keyClick(box, Qt::Key_Return); // confirms once, never reaching 戻る
    };
    f->platform.store.failAfterBytes = failAfterBytes;
    f->platform.answers = {false};
    typeInto(box, typed);
    confirm();
    QCOMPARE(f->platform.confirmations.size(), questions);
    if (questions) // the question names the folder as it would be stored
        QVERIFY(f->platform.confirmations[0].contains(folder));
    QCOMPARE(f->platform.errors.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty())
        QVERIFY2(f->platform.errors[0].contains(error), qPrintable(f->platform.errors[0]));
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->text(), typed);
    QVERIFY(window->isVisible());
    QVERIFY(f->host.calls.isEmpty());
    QCOMPARE(f->work.read(kParameters), kOldParameters);
    QCOMPARE(f->work.read(kFolder), kOldFolder);
    QCOMPARE(f->state.namesPerColumn, 12.0);
    QCOMPARE(f->state.dataFolder, QStringLiteral("  spaced/"));

    f->platform.store.failAfterBytes = -1;
    if (then == "戻る") {
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    } else if (then == "×") {
        window->close();
    } else {
        typeInto(box, then);
        confirm();
    }
    QCOMPARE(f->host.calls, QStringList{call});
    QCOMPARE(f->work.read(options ? kParameters : kFolder), bytes);
    QCOMPARE(f->state.dataFolder, folder);
}

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"

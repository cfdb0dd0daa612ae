// The options and data folder dialogs driven through their widgets: what they store, byte for
// byte, and that a refusal or a failed write keeps the window, the files and the record as they
// were. The rules behind them are tst_settingsrules'.
#include "settings/DataFolderDialog.h"
#include "settings/OptionsDialog.h"
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

// A working directory with the old settings files and folders to find, a scripted desktop and
// the record, which holds other options than the file.
struct Fixture : DialogContext {
    Fixture() {
        storeOptions(state, {12, 4, 1200, 300, 9});
        state.personCount = 101; // in 9 columns
        state.dataFolder = QStringLiteral("  spaced/");
        folder.write(kParameters, kOldParameters);
        folder.write(kFolder, kOldFolder);
        for (const char* name : {" second", "second", "  spaced"})
            QDir(folder.path()).mkdir(QString::fromUtf8(name));
    }
};

void typeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

struct Refusal {
    int row; // the options box, or -1 for the folder dialog's path box
    QString typed;
    int failAfterBytes;
    int questions;
    QString error;    // words of the one message, if any
    QString then;     // 戻る, the close control ×, or a text that goes through
    QString call;     // asked of the board then
    QByteArray bytes; // then in the dialog's file
    QString folder;   // then the record's data folder
};
} // namespace
Q_DECLARE_METATYPE(Refusal)

class TestSettingsDialogs : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;
    QPointer<SettingsWindow> window;

    template <typename Dialog> Dialog* open() {
        auto* dialog = new Dialog(f->context, f->host);
        window = dialog;
        dialog->show();
        dialog->activateWindow();
        return QTest::qWaitForWindowActive(dialog) ? dialog : nullptr;
    }

  private slots:
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        delete window.data();
        f.reset();
    }

    // Escape in a box of either dialog does what 戻る does: back to the board, nothing written.
    void escapeGoesBack() {
        auto* options = open<OptionsDialog>();
        QVERIFY(options);
        typeInto(options->box(0), QStringLiteral("7"));
        QTest::keyClick(options->box(0), Qt::Key_Escape);
        QTRY_VERIFY(!window);
        auto* folder = open<DataFolderDialog>();
        QVERIFY(folder);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!window);
        QCOMPARE(f->host.calls, (QStringList{"showBoard", "showBoard"}));
        QCOMPARE(f->folder.read(kParameters), kOldParameters);
        QCOMPARE(f->folder.read(kFolder), kOldFolder);
        QCOMPARE(f->state.dataFolder, QStringLiteral("  spaced/"));
    }

    void optionsDialog() {
        // A fraction, and values beyond the bars' ends (a hand-edited file, say).
        storeOptions(f->state, {12.5, 4, 300, 650, 72});
        auto* d = open<OptionsDialog>();
        QVERIFY(d);
        QStringList shown;
        for (int k = 0; k < kOptionCount; ++k)
            shown << d->box(k)->text() + u'=' + QString::number(d->bar(k)->optionValue());
        QCOMPARE(shown.join(u' '), "12.5=12 4=4 300=500 650=600 72=16");
        QCOMPARE(QRect(d->pos(), d->size()),
                 QRect(200, 100, 327, 244)); // the board's corner; 5000 x 4100 twips

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
        QCOMPARE(f->folder.read(kParameters), QByteArray(" 12.5\r\n 2\r\n 600\r\n 650\r\n 72\r\n"));
        QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
        QCOMPARE(f->state.fontSize, 72);
    }

    void refusalKeepsEditing_data() {
        QTest::addColumn<Refusal>("r");
        const QString spaced = QStringLiteral("  spaced/");
        QTest::newRow("duties empty, then 戻る") << Refusal(
            1, "", -1, 0, u"当番名の縦並び数"_qs, u"戻る"_qs, "showBoard", kOldParameters, spaced);
        QTest::newRow("font beyond 16 bits, then the close control")
            << Refusal(4, "40000", -1, 0, u"フォントのサイズ"_qs, u"×"_qs, "quitProgram",
                       kOldParameters, spaced);
        // 1643 x 31966 pixels, more than the screen or memory takes.
        QTest::newRow("board too large, then a smaller tag height")
            << Refusal(3, "32767", -1, 0, u"万ピクセル"_qs, "600", "reloadBoard",
                       " 12\r\n 4\r\n 1200\r\n 600\r\n 9\r\n", spaced);
        QTest::newRow("options file write fails, then goes through")
            << Refusal(0, "15", 3, 0, kParameters, "15", "reloadBoard",
                       " 15\r\n 4\r\n 1200\r\n 300\r\n 9\r\n", spaced);
        QTest::newRow("missing folder, cancelled, then confirmed")
            << Refusal(-1, "later", -1, 1, "", "later", "showBoard", "later/\r\n", "later/");
        QTest::newRow("path the file cannot hold, then a leading blank")
            << Refusal(-1, "\"quoted,path", -1, 0, u"保存できません"_qs, " second", "showBoard",
                       "\" second/\"\r\n", " second/");
        QTest::newRow("folder file write fails, then the empty path")
            << Refusal(-1, "second", 2, 0, kFolder, "", "showBoard", "\"\"\r\n", "");
    }
    void refusalKeepsEditing() {
        QFETCH(Refusal, r);
        OptionsDialog* options = r.row >= 0 ? open<OptionsDialog>() : nullptr;
        DataFolderDialog* path = r.row < 0 ? open<DataFolderDialog>() : nullptr;
        QLineEdit* box = options ? options->box(r.row) : path->pathBox();
        if (path) // the stored path, blanks kept, ready for typing
            QCOMPARE(box->text(), QStringLiteral("  spaced/"));
        auto confirm = [&] {
            if (options)
                options->writeButton()->click();
            else
                QTest::keyClick(box, Qt::Key_Return); // confirms once, never reaching 戻る
        };
        f->platform.store.failAfterBytes = r.failAfterBytes;
        f->platform.answers = {false};
        typeInto(box, r.typed);
        confirm();
        QCOMPARE(f->platform.confirmations.size(), r.questions);
        if (r.questions) // the question names the folder as it would be stored
            QVERIFY(f->platform.confirmations[0].contains(r.folder));
        QCOMPARE(f->platform.errors.size(), r.error.isEmpty() ? 0 : 1);
        if (!r.error.isEmpty())
            QVERIFY2(f->platform.errors[0].contains(r.error), qPrintable(f->platform.errors[0]));
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->text(), r.typed);
        QVERIFY(window->isVisible() && f->host.calls.isEmpty());
        QCOMPARE(f->folder.read(kParameters) + f->folder.read(kFolder),
                 kOldParameters + kOldFolder);
        QCOMPARE(f->state.namesPerColumn, 12.0);
        QCOMPARE(f->state.dataFolder, QStringLiteral("  spaced/"));

        f->platform.store.failAfterBytes = -1;
        if (r.then == u"戻る"_qs)
            QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        else if (r.then == u"×"_qs)
            window->close();
        else {
            typeInto(box, r.then);
            confirm();
        }
        QCOMPARE(f->host.calls, QStringList{r.call});
        QCOMPARE(f->folder.read(options ? kParameters : kFolder), r.bytes);
        QCOMPARE(f->state.dataFolder, r.folder);
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"

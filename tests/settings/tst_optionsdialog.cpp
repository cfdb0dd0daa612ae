#include "settings/OptionsDialog.h"
#include "settings/SettingsFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
const QString kParameter = QStringLiteral("zelpara.dat");
const QByteArray kOldParameters(" 10\r\n 5\r\n 1000\r\n 300\r\n 9\r\n");

void setOptions(RosterState& state, double names, int duties, double width, int height, int font) {
    state.namesPerColumn = names;
    state.dutiesPerColumn = duties;
    state.tagWidth = width;
    state.tagHeight = height;
    state.fontSize = font;
}

// A click on the bar's top or bottom arrow, where the user would press.
void clickArrow(OptionBar* bar, bool up) {
    const QPoint at(bar->width() / 2, up ? 1 : bar->height() - 2);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
}

void typeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}
} // namespace

// The options dialog driven through its widgets: what it shows, how the bars step, what
// "書込み" writes or refuses, and its three ways out.
class TestOptionsDialog : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void opens();
    void openingKeepsStoredValues();
    void arrowsStepTheBox();
    void thumbDragReportsAtItsEnd();
    void enterMovesToWrite();
    void writesFile_data();
    void writesFile();
    void fractionComesBack();
    void refusesUnusableValues_data();
    void refusesUnusableValues();
    void failedWriteKeepsEverything();
    void leavingWritesNothing_data();
    void leavingWritesNothing();

  private:
    OptionsDialog* open();

    std::unique_ptr<SettingsFixture> f;
    QPointer<QWidget> dialog;
};

void TestOptionsDialog::init() {
    f = std::make_unique<SettingsFixture>();
    setOptions(f->state, 12, 4, 1200, 300, 9);
}

void TestOptionsDialog::cleanup() {
    delete dialog.data();
    f.reset();
}

OptionsDialog* TestOptionsDialog::open() {
    auto* d = new OptionsDialog(f->context(), f->host);
    dialog = d;
    d->show();
    return d;
}

void TestOptionsDialog::openingKeepsStoredValues() {
    // A fraction, and values beyond the bars' ends (a hand-edited file, say).
    setOptions(f->state, 12.5, 4, 300, 650, 72);
    OptionsDialog* d = open();
    const QStringList texts{"12.5", "4", "300", "650", "72"};
    const QList<int> bars{12, 4, 500, 600, 16};
    for (int k = 0; k < kOptionCount; ++k) {
        QCOMPARE(d->box(k)->text(), texts[k]);
        QCOMPARE(d->bar(k)->optionValue(), bars[k]);
    }
    // Writing at once stores the boxes, not the bars.
    d->writeButton()->click();
    QCOMPARE(f->work.read(kParameter), QByteArray(" 12.5\r\n 4\r\n 300\r\n 650\r\n 72\r\n"));
}

void TestOptionsDialog::opens() {
    f->state.savedLeft = 1500;
    f->state.savedTop = 3000;
    OptionsDialog* d = open();
    const QStringList texts{"12", "4", "1200", "300", "9"};
    const QList<int> bars{12, 4, 1200, 300, 9};
    for (int k = 0; k < kOptionCount; ++k) {
        QCOMPARE(d->box(k)->text(), texts[k]);
        QCOMPARE(d->bar(k)->optionValue(), bars[k]);
        QCOMPARE(d->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(k + 1)), d->box(k));
    }
    QCOMPARE(d->focusWidget(), d->box(0));
    QCOMPARE(d->pos(), QPoint(100, 200));
    // 5000 × 4100 outside, less the frame.
    QCOMPARE(d->size(), QSize(327, 244));
    QCOMPARE(d->box(2)->geometry(), QRect(224, 104, 53, 19));
    QCOMPARE(d->bar(4)->geometry(), QRect(288, 168, 25, 20));
    QCOMPARE(d->writeButton()->geometry(), QRect(176, 216, 57, 25));
    QCOMPARE(d->backButton()->geometry(), QRect(256, 216, 57, 25));
    QVERIFY(!d->writeButton()->autoDefault());
}

void TestOptionsDialog::arrowsStepTheBox() {
    f->state.tagWidth = 1000;
    OptionsDialog* d = open();
    OptionBar* widthBar = d->bar(2);
    clickArrow(widthBar, true);
    clickArrow(widthBar, true);
    QCOMPARE(d->box(2)->text(), QStringLiteral("1200"));
    QCOMPARE(widthBar->optionValue(), 1200);
    clickArrow(widthBar, false);
    QCOMPARE(d->box(2)->text(), QStringLiteral("1100"));

    // Typing leaves the bar where it is; the next step starts from the bar and replaces
    // the typed text.
    typeInto(d->box(2), QStringLiteral("1750"));
    QCOMPARE(widthBar->optionValue(), 1100);
    clickArrow(widthBar, true);
    QCOMPARE(d->box(2)->text(), QStringLiteral("1200"));
    // The Up key agrees with the up arrow.
    QTest::keyClick(widthBar, Qt::Key_Up);
    QCOMPARE(d->box(2)->text(), QStringLiteral("1300"));
    QTest::keyClick(widthBar, Qt::Key_Down);

    // The arrows stop at the bar's ends.
    for (int i = 0; i < 12; ++i)
        clickArrow(d->bar(4), true);
    QCOMPARE(d->box(4)->text(), QStringLiteral("16"));

    d->writeButton()->click();
    QCOMPARE(f->work.read(kParameter), QByteArray(" 12\r\n 4\r\n 1200\r\n 300\r\n 16\r\n"));
}

void TestOptionsDialog::thumbDragReportsAtItsEnd() {
    OptionsDialog* d = open();
    OptionBar* names = d->bar(0);
    names->setSliderDown(true);
    names->setSliderPosition(-20);
    QCOMPARE(d->box(0)->text(), QStringLiteral("12"));
    names->setSliderDown(false);
    QCOMPARE(d->box(0)->text(), QStringLiteral("20"));
}

void TestOptionsDialog::enterMovesToWrite() {
    OptionsDialog* d = open();
    QVERIFY(QTest::qWaitForWindowActive(d));
    for (int k = 0; k < kOptionCount; ++k) {
        d->box(k)->setFocus();
        QTest::keyClick(d->box(k), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d->writeButton());
    }
    d->box(1)->setFocus();
    QTest::keyClick(d->box(1), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), d->writeButton());
    QCOMPARE(d->box(1)->text(), QStringLiteral("4"));
    QVERIFY(f->host.calls.isEmpty());
    QVERIFY(!f->work.exists(kParameter));

    // A second Enter, now on "書込み", writes.
    QTest::keyClick(d->writeButton(), Qt::Key_Return);
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QVERIFY(f->work.exists(kParameter));
}

void TestOptionsDialog::writesFile_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("fraction kept") << QStringList{"12.5", "4", "1000.5", "300", "9"}
                                   << QByteArray(" 12.5\r\n 4\r\n 1000.5\r\n 300\r\n 9\r\n");
    QTest::newRow("halves to even") << QStringList{"10", "2.5", "1000", "250", "3.5"}
                                    << QByteArray(" 10\r\n 2\r\n 1000\r\n 250\r\n 4\r\n");
}

void TestOptionsDialog::writesFile() {
    QFETCH(QStringList, typed);
    QFETCH(QByteArray, bytes);
    OptionsDialog* d = open();
    for (int k = 0; k < kOptionCount; ++k)
        typeInto(d->box(k), typed[k]);
    d->writeButton()->click();
    QCOMPARE(f->work.read(kParameter), bytes);
    QVERIFY(f->platform.errors.isEmpty());
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->state.namesPerColumn, readLeadingNumber(typed[0]));
    QVERIFY(deletedAfterClose(dialog));
}

void TestOptionsDialog::fractionComesBack() {
    OptionsDialog* d = open();
    typeInto(d->box(0), QStringLiteral("12.5"));
    d->writeButton()->click();
    QVERIFY(deletedAfterClose(dialog));

    // The next opening starts from what the board loaded from the file.
    RosterState loaded;
    f->files.loadOptions(loaded);
    QCOMPARE(loaded.namesPerColumn, 12.5);
    f->state = loaded;
    OptionsDialog* again = open();
    QCOMPARE(again->box(0)->text(), QStringLiteral("12.5"));
    QCOMPARE(again->bar(0)->optionValue(), 12);
}

void TestOptionsDialog::refusesUnusableValues_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::newRow("no names per column") << 0 << "0";
    QTest::newRow("duties empty") << 1 << "";
    QTest::newRow("tag height letters only") << 3 << "abc";
    QTest::newRow("font beyond 16 bits") << 4 << "40000";
}

void TestOptionsDialog::refusesUnusableValues() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    f->work.write(kParameter, kOldParameters);
    OptionsDialog* d = open();
    QVERIFY(QTest::qWaitForWindowActive(d));
    typeInto(d->box(row), typed);
    d->writeButton()->click();
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors[0].contains(QString::fromUtf16(kOptionRows[row].caption)));
    QCOMPARE(QApplication::focusWidget(), d->box(row));
    QCOMPARE(d->box(row)->text(), typed);
    QCOMPARE(f->work.read(kParameter), kOldParameters);
    QVERIFY(f->host.calls.isEmpty());
    QVERIFY(d->isVisible());
    QCOMPARE(f->state.namesPerColumn, 12.0);
    QCOMPARE(f->state.fontSize, 9);
}

void TestOptionsDialog::failedWriteKeepsEverything() {
    f->work.write(kParameter, kOldParameters);
    f->platform.store.failAfterBytes = 3;
    OptionsDialog* d = open();
    typeInto(d->box(0), QStringLiteral("15"));
    d->writeButton()->click();
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors[0].contains(kParameter));
    QCOMPARE(f->work.read(kParameter), kOldParameters);
    QVERIFY(d->isVisible());
    QCOMPARE(d->box(0)->text(), QStringLiteral("15"));
    QCOMPARE(f->state.namesPerColumn, 12.0);
    QVERIFY(f->host.calls.isEmpty());

    // Once the disk takes the bytes again, the same press goes through.
    f->platform.store.failAfterBytes = -1;
    d->writeButton()->click();
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->state.namesPerColumn, 15.0);
}

void TestOptionsDialog::leavingWritesNothing_data() {
    QTest::addColumn<bool>("closeControl");
    QTest::addColumn<QString>("call");
    QTest::newRow("戻る") << false << "showBoard";
    QTest::newRow("close control") << true << "quitProgram";
}

void TestOptionsDialog::leavingWritesNothing() {
    QFETCH(bool, closeControl);
    QFETCH(QString, call);
    f->work.write(kParameter, kOldParameters);
    OptionsDialog* d = open();
    typeInto(d->box(0), QStringLiteral("20"));
    clickArrow(d->bar(2), true);
    if (closeControl)
        d->close();
    else
        d->backButton()->click();
    QCOMPARE(f->host.calls, QStringList{call});
    QCOMPARE(f->work.read(kParameter), kOldParameters);
    QCOMPARE(f->state.namesPerColumn, 12.0);
    QCOMPARE(f->state.tagWidth, 1200.0);
    QVERIFY(deletedAfterClose(dialog));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"

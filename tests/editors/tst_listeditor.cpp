// The name editor and the two duty editors share one window, ListEditor: every test runs once
// per editor (a global data column) through the real widgets. Where edits go: tst_listeditmodel.
#include "editors/ConfirmLineEdit.h"
#include "editors/DutyEditor.h"
#include "editors/NameEditor.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"
#include "support/RecordingHost.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
enum class Kind { Names, Green, Yellow };

// Three names, green width 4, yellow width 3; markers (p0 green, p1 green, p0 yellow, p0 green).
struct Fixture {
    DataFolder folder;
    FakePlatform platform;
    RosterFiles files{platform.store, folder.path()};
    RosterState state;
    RecordingHost host;
    AppContext context{state, files, platform};
    Fixture() {
        folder.writeLines(kPersonFile, {" 3", "太郎", "花子", "次郎"});
        folder.writeLines(kGreenListFile, {" 2", "掃除当番", "配膳"});
        folder.writeLines(kYellowListFile, {" 2", "日直係", "鍵"});
        folder.writeLines(kJobFile, {" 4", " 100  0  0", " 101  1  0", " 0  0  0", " 100  0  0"});
        state.savedLeft = 3000; // the board's corner
        state.savedTop = 1500;
    }
};

DutyColour colourOf(Kind kind) {
    return kind == Kind::Green ? DutyColour::Green : DutyColour::Yellow;
}
// The list as a roster record holds it.
QStringList recorded(const RosterState& s, Kind kind) {
    const DutyColour colour = colourOf(kind);
    const auto& names = kind == Kind::Names ? s.personNames : s.dutyNames(colour);
    return QStringList(names.begin(),
                       names.begin() + (kind == Kind::Names ? s.personCount : s.dutyCount(colour)));
}
QList<int> markerOffsets(const RosterState& s) {
    return QList<int>(s.markerOffset.begin() + 1, s.markerOffset.begin() + 1 + s.markerCount);
}
} // namespace

Q_DECLARE_METATYPE(Kind)

class TestListEditor : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase_data();
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() {
        delete e; // no-op when it closed itself and was deleted
        f.reset();
    }
    void openEditAndLeave();
    void limit();
    void failedWriteKeepsTheEditor();

  private:
    std::unique_ptr<Fixture> f;
    QPointer<ListEditor> e;

    static Kind kind() {
        QFETCH_GLOBAL(Kind, kind);
        return kind;
    }
    void open() {
        f->files.loadAll(f->state);
        e = kind() == Kind::Names
                ? static_cast<ListEditor*>(new NameEditor(f->context, f->host))
                : new DutyEditor(f->context, f->host,
                                 kind() == Kind::Green ? DutyEditorConfig::green()
                                                       : DutyEditorConfig::yellow());
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void selectRow(int row) {
        QTest::mouseClick(e->list()->viewport(), Qt::LeftButton, {},
                          e->list()->visualItemRect(e->list()->item(row)).center());
    }
    void enter(ConfirmLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }
    // Replaces the box's text with what an input method commits, then presses Enter.
    void typeAndEnter(ConfirmLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
        enter(box);
    }
    void add(const QString& text) {
        click(e->addButton());
        typeAndEnter(e->addBox(), text);
    }
    QStringList shown() const {
        QStringList out;
        for (int i = 0; i < e->list()->count(); ++i)
            out << e->list()->item(i)->text();
        return out;
    }
    QWidget* focus() const { return QApplication::focusWidget(); }
    // The list shows what the model holds, and the two selections agree.
    void showsTheModel() {
        QCOMPARE(shown(), e->model().entries());
        const QModelIndexList rows = e->list()->selectionModel()->selectedIndexes();
        QCOMPARE(rows.isEmpty() ? -1 : rows.first().row(), e->model().selected().value_or(-1));
    }
};

// Everything in which the three editors differ.
void TestListEditor::initTestCase_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QSize>("size");       // 3500 or 3800 x 3000 twips, less the dialog frame
    QTest::addColumn<QString>("tabOrder"); // from the first focus
    QTest::addColumn<bool>("addBoxStays"); // after Enter, so that Enter again adds again
    QTest::addColumn<QString>("focusAfterRemove");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("leave"); // by the close control "×" or 戻る, and the board's call
    QTest::addColumn<int>("failAfterBytes"); // to fail the first write
    QTest::addColumn<QString>("failedFile"); // the list file is written first, then the job file
    QTest::addColumn<QList<int>>("offsets"); // of the markers, stored as 0, once written

    QTest::newRow("names") << Kind::Names << QSize(227, 171)
                           << "Command1 List1 Text1 Command2 Command3 Command4 Text2 Command5"
                           << true << "Command5" << 101 << "× quitProgram" << 4 << kPersonFile
                           << QList<int>{0, 0, 0, 0};
    QTest::newRow("green") << Kind::Green << QSize(247, 171)
                           << "List1 Command1 Text1 Command2 Command3 Command4 Text2 Command5"
                           << false << "Command5" << 101 << "× showBoard" << 3 << kGreenListFile
                           << QList<int>{0, 0, 1800, 2700};
    QTest::newRow("yellow") << Kind::Yellow << QSize(247, 171)
                            << "Command5 Text2 Command4 Command3 Command2 Text1 Command1 List1"
                            << false << "Command4" << 100 << "戻る showBoard" << 30 << kJobFile
                            << QList<int>{0, 0, 1200, 3000};
}

// One session per editor: what it shows on opening, each edit through the boxes and buttons,
// and leaving without writing.
void TestListEditor::openEditAndLeave() {
    QFETCH_GLOBAL(QSize, size);
    QFETCH_GLOBAL(QString, tabOrder);
    QFETCH_GLOBAL(bool, addBoxStays);
    QFETCH_GLOBAL(QString, focusAfterRemove);
    QFETCH_GLOBAL(QString, leave);
    open();
    QCOMPARE(e->pos(), QPoint(200, 100)); // where the board's corner was
    QCOMPARE(e->size(), size);
    const QStringList before = shown();
    QCOMPARE(before, recorded(f->state, kind()));
    QVERIFY(!e->model().selected()); // also where the focus starts in the list (green)
    showsTheModel();
    QStringList ring{focus()->objectName()}; // one round of Tab from the first focus
    for (QWidget* w = focus()->nextInFocusChain(); w != focus(); w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->parentWidget() == e)
            ring << w->objectName();
    }
    QCOMPARE(ring, tabOrder.split(u' '));
    for (QPushButton* b : e->findChildren<QPushButton*>())
        QVERIFY(!b->autoDefault() && !b->isDefault()); // Return never reaches a button

    // The current row alone is not a selection: 変更 and 削除 do nothing.
    e->list()->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    click(e->changeButton());
    QVERIFY(!e->changeBox()->isVisible());
    click(e->removeButton());
    QCOMPARE(shown(), before);
    // Texts the files cannot hold are refused where they were typed, with one message each.
    selectRow(1);
    click(e->changeButton());
    QCOMPARE(e->changeBox()->text(), before[1]);
    typeAndEnter(e->changeBox(), QStringLiteral("a\tb"));
    add(QStringLiteral("波〜"));
    QCOMPARE(f->platform.errors.size(), 2);
    QVERIFY(f->platform.errors.last().contains(QStringLiteral("U+301C")));
    QCOMPARE(e->addBox()->text(), QStringLiteral("波〜"));
    QCOMPARE(e->changeBox()->text(), QStringLiteral("a\tb"));
    QCOMPARE(shown(), before);

    // The change box still holds a selection's text: Enter there changes it.
    typeAndEnter(e->changeBox(), QStringLiteral("改名"));
    QCOMPARE(shown()[1], QStringLiteral("改名"));
    showsTheModel();
    QVERIFY(!e->changeBox()->isVisible());
    QCOMPARE(focus(), e->writeButton());

    add(QStringLiteral("Top"));
    QCOMPARE(shown().first(), QStringLiteral("Top"));
    showsTheModel();
    QCOMPARE(focus(), e->writeButton());
    QCOMPARE(e->addBox()->isVisible(), addBoxStays);
    if (addBoxStays) { // Enter again, without 追加: the same text once more
        enter(e->addBox());
        QCOMPARE(shown().mid(0, 2), (QStringList{"Top", "Top"}));
        showsTheModel();
    }
    // Enter while an input method composes belongs to the input method: no confirmation.
    const int count = e->list()->count();
    click(e->addButton());
    QInputMethodEvent composing(QStringLiteral("さぶろう"), {});
    QApplication::sendEvent(e->addBox(), &composing);
    enter(e->addBox());
    QCOMPARE(e->list()->count(), count);
    typeAndEnter(e->addBox(), QStringLiteral("三郎"));
    QCOMPARE(e->list()->count(), count + 1);
    showsTheModel();

    // 削除 with the change box open: Enter in the box then has no selection and is ignored.
    selectRow(0);
    click(e->changeButton());
    click(e->removeButton());
    QCOMPARE(e->list()->count(), count);
    showsTheModel();
    QCOMPARE(focus()->objectName(), focusAfterRemove);
    enter(e->changeBox());
    QCOMPARE(e->list()->count(), count);
    QVERIFY(e->changeBox()->isVisible());

    // Leaving writes nothing and asks the board for one thing: so no Enter reached a button.
    if (leave.startsWith(u'×'))
        e->close();
    else
        click(e->backButton());
    QCOMPARE(f->host.calls, QStringList{leave.section(u' ', 1)});
    QCOMPARE(f->platform.store.saves, 0);
    QCOMPARE(recorded(f->state, kind()), before);
    QTRY_VERIFY(!e);
}

void TestListEditor::limit() {
    QFETCH_GLOBAL(int, limit);
    f->folder.writeLines(kind() == Kind::Names ? kPersonFile : listFileOf(colourOf(kind())),
                         QStringList{QString::number(limit - 1)} + QStringList(limit - 1, "項"));
    open();
    add(QStringLiteral("最後"));
    QCOMPARE(e->list()->count(), limit);
    QVERIFY(!e->addButton()->isEnabled());
    selectRow(0);
    click(e->removeButton());
    QVERIFY(e->addButton()->isEnabled());
}

void TestListEditor::failedWriteKeepsTheEditor() {
    QFETCH_GLOBAL(int, failAfterBytes);
    QFETCH_GLOBAL(QString, failedFile);
    QFETCH_GLOBAL(QList<int>, offsets);
    open();
    const QStringList before = shown();
    selectRow(1);
    click(e->changeButton());
    typeAndEnter(e->changeBox(), QStringLiteral("六文字の当番"));
    const QStringList edited = shown();
    f->platform.store.failAfterBytes = failAfterBytes;
    click(e->writeButton());
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors.first().contains(failedFile));
    QVERIFY(f->host.calls.isEmpty());
    QVERIFY(e && e->isVisible());
    QCOMPARE(shown(), edited);
    // The record follows only what was written; no job file is tried after a list file failed.
    const bool listWritten = failedFile == kJobFile;
    QCOMPARE(recorded(f->state, kind()), listWritten ? edited : before);
    QCOMPARE(f->platform.store.saves, listWritten ? 2 : 1);
    QCOMPARE(markerOffsets(f->state), (QList<int>{0, 0, 0, 0}));

    f->platform.store.failAfterBytes = -1; // the disk has room again: the same press writes
    click(e->writeButton());
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    RosterState loaded; // what the board loads again: offsets repacked for the new widths
    f->files.loadAll(loaded);
    QCOMPARE(recorded(loaded, kind()), edited);
    QCOMPARE(markerOffsets(loaded), offsets);
    QTRY_VERIFY(!e); // closed and deleted
}

QTEST_MAIN(TestListEditor)
#include "tst_listeditor.moc"

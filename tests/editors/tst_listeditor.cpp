// The name editor and the two duty editors share one window, ListEditor: every test runs once
// per editor (a global data column) through the real widgets. Where edits go: tst_listeditmodel.
#include "editors/ConfirmLineEdit.h"
#include "editors/DutyEditor.h"
#include "editors/NameEditor.h"
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

// Everything in which the three editors differ.
struct Editor {
    Kind kind;
    QString file;
    QSize size;       // 3500 or 3800 x 3000 twips, less the dialog frame
    bool addBoxStays; // after Enter, so that Enter again adds again
    QString focusAfterRemove;
    int limit;
    QString leave;      // by the close control "×" or 戻る, and the board's call
    int failAfterBytes; // to fail the first write: the list file is written first, then the job
    QString failedFile;
    QList<int> offsets; // of the markers as the board loads them after the write
};

// Three names, green width 4, yellow width 3; markers (p0 green, p1 green, p0 yellow, p0 green),
// all stored at offset 0: p0's are laid side by side when loaded.
struct Fixture : DialogContext {
    Fixture() {
        folder.writeLines(kPersonFile, {" 3", "太郎", "花子", "次郎"});
        folder.writeLines(kGreenListFile, {" 2", "掃除当番", "配膳"});
        folder.writeLines(kYellowListFile, {" 2", "日直係", "鍵"});
        folder.writeLines(kJobFile, {" 4", " 100  0  0", " 101  1  0", " 0  0  0", " 100  0  0"});
    }
};

// The list as a roster record holds it, and the record's marker offsets.
QStringList recorded(const RosterState& s, Kind kind) {
    const DutyColour colour = kind == Kind::Green ? DutyColour::Green : DutyColour::Yellow;
    const auto& names = kind == Kind::Names ? s.personNames : s.dutyNames(colour);
    return {names.begin(),
            names.begin() + (kind == Kind::Names ? s.personCount : s.dutyCount(colour))};
}
QList<int> offsets(const RosterState& s) {
    return {s.markerOffset.begin() + 1, s.markerOffset.begin() + 1 + s.markerCount};
}
void click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
void enter(ConfirmLineEdit* box) {
    QTest::keyClick(box, Qt::Key_Return);
}
// Replaces the box's text with what an input method commits, then presses Enter.
void typeAndEnter(ConfirmLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
    enter(box);
}
QWidget* focus() {
    return QApplication::focusWidget();
}
} // namespace
Q_DECLARE_METATYPE(Editor)

class TestListEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;
    QPointer<ListEditor> e;
    Editor c;

    void open() {
        f->files.loadAll(f->state);
        e = c.kind == Kind::Names
                ? static_cast<ListEditor*>(new NameEditor(f->context, f->host))
                : new DutyEditor(f->context, f->host,
                                 c.kind == Kind::Green ? DutyEditorConfig::green()
                                                       : DutyEditorConfig::yellow());
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
    }
    void selectRow(int row) {
        QTest::mouseClick(e->list()->viewport(), Qt::LeftButton, {},
                          e->list()->visualItemRect(e->list()->item(row)).center());
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
    // The list shows what the model holds, and the two selections agree.
    void showsTheModel() {
        QCOMPARE(shown(), e->model().entries());
        const QModelIndexList rows = e->list()->selectionModel()->selectedIndexes();
        QCOMPARE(rows.isEmpty() ? -1 : rows.first().row(), e->model().selected().value_or(-1));
    }

  private slots:
    void initTestCase_data() {
        QTest::addColumn<Editor>("editor");
        QTest::newRow("names") << Editor(Kind::Names, kPersonFile, QSize(227, 171), true,
                                         "Command5", 101, "× quitProgram", 4, kPersonFile,
                                         QList<int>{0, 0, 1200, 2100});
        QTest::newRow("green") << Editor(Kind::Green, kGreenListFile, QSize(247, 171), false,
                                         "Command5", 101, "× showBoard", 3, kGreenListFile,
                                         QList<int>{0, 0, 1800, 2700});
        QTest::newRow("yellow") << Editor(Kind::Yellow, kYellowListFile, QSize(247, 171), false,
                                          "Command4", 100, "戻る showBoard", 30, kJobFile,
                                          QList<int>{0, 0, 1200, 3000});
    }
    void init() {
        QFETCH_GLOBAL(Editor, editor);
        c = editor;
        f = std::make_unique<Fixture>();
    }
    void cleanup() {
        delete e; // no-op when it closed itself and was deleted
        f.reset();
    }

    // One session per editor: what it shows on opening, each edit through the boxes and
    // buttons, and leaving without writing.
    void openEditAndLeave() {
        open();
        QCOMPARE(QRect(e->pos(), e->size()), QRect(QPoint(200, 100), c.size)); // the board's corner
        const QStringList before = shown();
        QCOMPARE(before, recorded(f->state, c.kind));
        showsTheModel();
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
        typeAndEnter(e->changeBox(), "a\tb");
        add(u"波☃"_qs);
        QCOMPARE(f->platform.errors.size(), 2);
        QVERIFY(f->platform.errors.last().contains("U+2603"));
        QCOMPARE(e->addBox()->text() + e->changeBox()->text(), u"波☃a\tb"_qs);
        QCOMPARE(shown(), before);

        // The change box still holds a selection's text: Enter there changes it.
        typeAndEnter(e->changeBox(), u"改名"_qs);
        QCOMPARE(shown()[1], u"改名"_qs);
        QVERIFY(!e->changeBox()->isVisible() && focus() == e->writeButton());
        add("Top");
        QCOMPARE(shown().first(), "Top");
        showsTheModel();
        QVERIFY(focus() == e->writeButton() && e->addBox()->isVisible() == c.addBoxStays);
        if (c.addBoxStays) { // Enter again, without 追加: the same text once more
            enter(e->addBox());
            QCOMPARE(shown().mid(0, 2), (QStringList{"Top", "Top"}));
        }
        // Enter while an input method composes belongs to the input method: no confirmation.
        const int count = e->list()->count();
        click(e->addButton());
        QInputMethodEvent composing(u"さぶろう"_qs, {});
        QApplication::sendEvent(e->addBox(), &composing);
        enter(e->addBox());
        QCOMPARE(e->list()->count(), count);
        typeAndEnter(e->addBox(), u"三郎"_qs);
        QCOMPARE(e->list()->count(), count + 1);

        // 削除 with the change box open: Enter in the box then has no selection and is ignored.
        selectRow(0);
        click(e->changeButton());
        click(e->removeButton());
        showsTheModel();
        QCOMPARE(focus()->objectName(), c.focusAfterRemove);
        enter(e->changeBox());
        QVERIFY(e->list()->count() == count && e->changeBox()->isVisible());

        // Leaving writes nothing and asks the board for one thing: so no Enter reached a button.
        c.leave.startsWith(u'×') ? void(e->close()) : click(e->backButton());
        QCOMPARE(f->host.calls, QStringList{c.leave.section(u' ', 1)});
        QCOMPARE(f->platform.store.saves, 0);
        QCOMPARE(recorded(f->state, c.kind), before);
        QTRY_VERIFY(!e);
    }

    // What a Linux input method gives for 〜 and − is taken without a message and written as
    // the code page's look-alikes ～ (81 60) and － (81 7C), which the board then shows.
    void inputMethodFormsAreWritten() {
        open();
        const QStringList before = shown();
        selectRow(1);
        click(e->changeButton());
        typeAndEnter(e->changeBox(), u"月\u301C金\u22121"_qs);
        add(u"\u00A2\u2014"_qs); // nothing selected: at the top
        QCOMPARE(f->platform.errors, QStringList());
        click(e->writeButton());
        QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
        const QByteArray count = " " + QByteArray::number(before.size() + 1) + "\r\n";
        QCOMPARE(f->folder.read(c.file), count + "\x81\x91\x81\x5c\r\n" + cp932Lines({before[0]}) +
                                             "\x8c\x8e\x81\x60\x8b\xe0\x81\x7c\x31\r\n" +
                                             cp932Lines(before.mid(2)));
        RosterState loaded;
        f->files.loadAll(loaded);
        QCOMPARE(recorded(loaded, c.kind),
                 QStringList({u"\uFFE0\u2015"_qs, before[0], u"月\uFF5E金\uFF0D1"_qs}) +
                     before.mid(2));
    }

    // Escape, even in the open change box, does what 戻る does: back, nothing written.
    void escapeGoesBack() {
        open();
        selectRow(0);
        click(e->changeButton());
        QTest::keyClicks(e->changeBox(), QStringLiteral("new"));
        QTest::keyClick(e->changeBox(), Qt::Key_Escape);
        QCOMPARE(f->host.calls, QStringList{"showBoard"});
        QCOMPARE(f->platform.store.saves, 0);
        QTRY_VERIFY(!e);
    }

    void limit() {
        f->folder.writeLines(c.file, QStringList{QString::number(c.limit - 1)} +
                                         QStringList(c.limit - 1, "項"));
        open();
        add("最後");
        QCOMPARE(e->list()->count(), c.limit);
        QVERIFY(!e->addButton()->isEnabled());
        selectRow(0);
        click(e->removeButton());
        QVERIFY(e->addButton()->isEnabled());
    }

    void failedWriteKeepsTheEditor() {
        open();
        const QStringList before = shown();
        selectRow(1);
        click(e->changeButton());
        typeAndEnter(e->changeBox(), u"六文字の当番"_qs);
        const QStringList edited = shown();
        const QList<int> loadedOffsets = offsets(f->state);
        f->platform.store.failAfterBytes = c.failAfterBytes;
        click(e->writeButton());
        QCOMPARE(f->platform.errors.size(), 1);
        QVERIFY(f->platform.errors.first().contains(c.failedFile));
        QVERIFY(f->host.calls.isEmpty() && e && e->isVisible());
        QCOMPARE(shown(), edited);
        // The record follows only what was written; no job file is tried after a list file failed.
        const bool listWritten = c.failedFile == kJobFile;
        QCOMPARE(recorded(f->state, c.kind), listWritten ? edited : before);
        QCOMPARE(f->platform.store.saves, listWritten ? 2 : 1);
        QCOMPARE(offsets(f->state), loadedOffsets);

        f->platform.store.failAfterBytes = -1; // the disk has room again: the same press writes
        click(e->writeButton());
        QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
        RosterState loaded; // what the board loads again: offsets repacked for the new widths
        f->files.loadAll(loaded);
        QCOMPARE(recorded(loaded, c.kind), edited);
        QCOMPARE(offsets(loaded), c.offsets);
        QTRY_VERIFY(!e); // closed and deleted
    }
};

QTEST_MAIN(TestListEditor)
#include "tst_listeditor.moc"

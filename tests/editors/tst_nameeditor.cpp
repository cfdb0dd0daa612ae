#include "editors/EditorDriver.h"
#include "editors/EditorFixture.h"
#include "editors/NameEditor.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QPointer>

using namespace zel;
using namespace zel::test;

namespace {
const QStringList kNames{QStringLiteral("太郎"), QStringLiteral("花子"), QStringLiteral("次郎")};
}

class TestNameEditor : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void window();
    void changeKeepsPlaceAndClearsSelection();
    void changeNeedsASelection();
    void addBoxStaysAndEnterAddsAgain();
    void imeCompositionEnterIsNotConfirm();
    void removeClearsSelection();
    void refusedTextStaysInTheBox();
    void limitOf101Names();
    void writeSavesAndReloads();
    void awkwardNamesComeBackIntact();
    void backAndCloseWriteNothing();
    void failedWriteKeepsTheEditor();

  private:
    std::unique_ptr<EditorFixture> f;
    QPointer<NameEditor> editor;
    std::unique_ptr<EditorDriver> d;
    QByteArray personFile;

    void openEditor() {
        f->load();
        personFile = f->folder.read(kPersonFile);
        editor = new NameEditor(f->context, f->host);
        d = std::make_unique<EditorDriver>(EditorDriver{*editor});
        QVERIFY(d->open());
    }
};

void TestNameEditor::init() {
    f = std::make_unique<EditorFixture>();
    QStringList lines{QString(" %1").arg(kNames.size())};
    f->folder.writeLines(kPersonFile, lines + kNames);
    f->state.savedLeft = 1500;
    f->state.savedTop = 3000;
}

void TestNameEditor::cleanup() {
    d.reset();
    delete editor; // no-op when it closed itself and was deleted
    f.reset();
}

void TestNameEditor::window() {
    openEditor();
    QCOMPARE(editor->windowTitle(), QStringLiteral("ゼルトミル"));
    QCOMPARE(editor->pos(), QPoint(100, 200));
    // 3500 x 3000 outside; 3410 x 2565 inside the fixed frame.
    QCOMPARE(editor->size(), QSize(227, 171));
    QCOMPARE(editor->minimumSize(), editor->maximumSize());
    QCOMPARE(editor->heading()->text(), QStringLiteral("名前の編集"));
    QCOMPARE(editor->heading()->geometry(), QRect(24, 8, 121, 24));
    QCOMPARE(editor->heading()->palette().color(QPalette::Window), QColor(255, 255, 192));
    QCOMPARE(editor->list()->geometry(), QRect(24, 40, 129, 76));
    QCOMPARE(editor->writeButton()->geometry(), QRect(160, 104, 65, 25));
    QCOMPARE(editor->backButton()->geometry(), QRect(176, 144, 41, 25));
    QCOMPARE(editor->addBox()->geometry(), editor->changeBox()->geometry());

    QCOMPARE(d->shown(), kNames);
    QVERIFY(d->nothingSelected());
    QVERIFY(!editor->changeBox()->isVisible());
    QVERIFY(!editor->addBox()->isVisible());
    QCOMPARE(d->focus(), editor->backButton());
    QCOMPARE(d->tabRing("Command1"), (QStringList{"Command1", "List1", "Text1", "Command2",
                                                  "Command3", "Command4", "Text2", "Command5"}));
    for (QPushButton* b : editor->findChildren<QPushButton*>())
        QVERIFY(!b->autoDefault() && !b->isDefault());
}

void TestNameEditor::changeKeepsPlaceAndClearsSelection() {
    openEditor();
    d->selectRow(2);
    d->click(editor->changeButton());
    QVERIFY(editor->changeBox()->isVisible());
    QCOMPARE(editor->changeBox()->text(), QStringLiteral("次郎"));
    QCOMPARE(d->focus(), editor->changeBox());

    d->type(editor->changeBox(), QStringLiteral("Saburo"));
    d->enter(editor->changeBox());
    QCOMPARE(d->shown(), (QStringList{"太郎", "花子", "Saburo"}));
    QVERIFY(d->nothingSelected());
    QVERIFY(!editor->changeBox()->isVisible());
    QCOMPARE(d->focus(), editor->writeButton());

    d->change(0, QString()); // an empty name is accepted, first entry keeps its place
    QCOMPARE(d->shown(), (QStringList{"", "花子", "Saburo"}));
    // Enter went to no button: nothing written, the board not asked for.
    QVERIFY(f->host.calls.isEmpty());
    QCOMPARE(f->folder.read(kPersonFile), personFile);
}

void TestNameEditor::changeNeedsASelection() {
    openEditor();
    // The current row alone is not a selection.
    editor->list()->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    d->click(editor->changeButton());
    QVERIFY(!editor->changeBox()->isVisible());
    d->click(editor->removeButton());
    QCOMPARE(d->shown(), kNames);

    // Enter in a change box left open after 削除 is ignored.
    d->selectRow(1);
    d->click(editor->changeButton());
    d->click(editor->removeButton());
    QCOMPARE(d->shown(), (QStringList{"太郎", "次郎"}));
    d->enter(editor->changeBox());
    QCOMPARE(d->shown(), (QStringList{"太郎", "次郎"}));
    QVERIFY(editor->changeBox()->isVisible());
}

void TestNameEditor::addBoxStaysAndEnterAddsAgain() {
    openEditor();
    d->add(QStringLiteral("Top")); // nothing selected: at the top
    QCOMPARE(d->shown(), (QStringList{"Top", "太郎", "花子", "次郎"}));
    QCOMPARE(editor->model().selected(), std::optional<int>(0));
    QVERIFY(editor->addBox()->isVisible());
    QCOMPARE(editor->addBox()->text(), QStringLiteral("Top"));
    QCOMPARE(d->focus(), editor->writeButton());

    d->enter(editor->addBox()); // again, without 追加: the same name below the one just added
    QCOMPARE(d->shown(), (QStringList{"Top", "Top", "太郎", "花子", "次郎"}));

    d->selectRow(4);
    d->add(QStringLiteral("A"));
    d->add(QStringLiteral("B"));
    QCOMPARE(d->shown(), (QStringList{"Top", "Top", "太郎", "花子", "次郎", "A", "B"}));
    QCOMPARE(editor->list()->selectionModel()->selectedIndexes().first().row(), 6);
}

void TestNameEditor::imeCompositionEnterIsNotConfirm() {
    openEditor();
    d->click(editor->addButton());
    QInputMethodEvent composing(QStringLiteral("さぶろう"), {});
    QApplication::sendEvent(editor->addBox(), &composing);
    d->enter(editor->addBox());
    QCOMPARE(d->shown(), kNames);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("三郎"));
    QApplication::sendEvent(editor->addBox(), &commit);
    d->enter(editor->addBox());
    QCOMPARE(d->shown().first(), QStringLiteral("三郎"));
}

void TestNameEditor::removeClearsSelection() {
    openEditor();
    d->selectRow(0);
    d->click(editor->removeButton());
    QCOMPARE(d->shown(), (QStringList{"花子", "次郎"}));
    QVERIFY(d->nothingSelected());
    QCOMPARE(d->focus(), editor->writeButton());
}

void TestNameEditor::refusedTextStaysInTheBox() {
    openEditor();
    d->add(QStringLiteral("波〜"));
    QCOMPARE(d->shown(), kNames);
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors.first().contains(QStringLiteral("U+301C")));
    QCOMPARE(editor->addBox()->text(), QStringLiteral("波〜"));
    QCOMPARE(d->focus(), editor->addBox());

    d->selectRow(0);
    d->click(editor->changeButton());
    editor->changeBox()->setText(QStringLiteral("a\tb"));
    d->enter(editor->changeBox());
    QCOMPARE(f->platform.errors.size(), 2);
    QCOMPARE(d->shown(), kNames);
    QVERIFY(editor->changeBox()->isVisible());
}

void TestNameEditor::limitOf101Names() {
    QStringList lines{QStringLiteral(" 100")};
    for (int i = 0; i < 100; ++i)
        lines << QStringLiteral("名%1").arg(i);
    f->folder.writeLines(kPersonFile, lines);
    openEditor();
    QVERIFY(editor->addButton()->isEnabled());
    d->add(QStringLiteral("最後"));
    QCOMPARE(editor->list()->count(), 101);
    QVERIFY(!editor->addButton()->isEnabled());
    QVERIFY(editor->addButton()->toolTip().contains(QStringLiteral("101")));

    d->enter(editor->addBox()); // the add box is still there
    QCOMPARE(editor->list()->count(), 101);
    QCOMPARE(f->platform.errors.size(), 1);

    d->selectRow(0);
    d->click(editor->removeButton());
    QVERIFY(editor->addButton()->isEnabled());
}

void TestNameEditor::writeSavesAndReloads() {
    openEditor();
    d->change(1, QStringLiteral("Hanako"));
    d->click(editor->writeButton());
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->folder.read(kPersonFile), cp932Lines({" 3", "太郎", "Hanako", "次郎"}));
    QCOMPARE(f->state.personNames[1], QStringLiteral("Hanako"));
    QTRY_VERIFY(!editor); // closed and deleted
}

void TestNameEditor::awkwardNamesComeBackIntact() {
    f->folder.writeLines(kPersonFile, {" 0"});
    openEditor();
    QCOMPARE(editor->list()->count(), 0);
    for (const QString& name : {QStringLiteral("山田,太郎"), QStringLiteral("  花子"), QString()})
        d->add(name);
    d->click(editor->writeButton());
    QCOMPARE(f->folder.read(kPersonFile),
             cp932Lines({" 3", "\"山田,太郎\"", "\"  花子\"", "\"\""}));
    RosterState reloaded;
    f->files.loadAll(reloaded);
    QCOMPARE(reloaded.personCount, 3);
    QCOMPARE(reloaded.personNames[0], QStringLiteral("山田,太郎"));
    QCOMPARE(reloaded.personNames[1], QStringLiteral("  花子"));
    QCOMPARE(reloaded.personNames[2], QString());
}

void TestNameEditor::backAndCloseWriteNothing() {
    openEditor();
    d->change(0, QStringLiteral("X"));
    d->click(editor->backButton());
    QCOMPARE(f->host.calls, QStringList{"showBoard"});
    QTRY_VERIFY(!editor);

    f->host.calls.clear();
    openEditor();
    d->change(0, QStringLiteral("X"));
    editor->close(); // the window's close control
    QCOMPARE(f->host.calls, QStringList{"quitProgram"});
    QCOMPARE(f->folder.read(kPersonFile), personFile);
    QCOMPARE(f->state.personNames[0], QStringLiteral("太郎"));
}

void TestNameEditor::failedWriteKeepsTheEditor() {
    openEditor();
    d->change(0, QStringLiteral("一郎"));
    f->platform.store.failAfterBytes = 4;
    d->click(editor->writeButton());
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors.first().contains(kPersonFile));
    QVERIFY(f->host.calls.isEmpty());
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(d->shown(), (QStringList{"一郎", "花子", "次郎"}));
    QCOMPARE(f->folder.read(kPersonFile), personFile);
    QCOMPARE(f->state.personNames[0], QStringLiteral("太郎"));

    f->platform.store.failAfterBytes = -1; // the disk has room again
    d->click(editor->writeButton());
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->state.personNames[0], QStringLiteral("一郎"));
}

QTEST_MAIN(TestNameEditor)
#include "tst_nameeditor.moc"

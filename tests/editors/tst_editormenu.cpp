#include "board/MainWindow.h"
#include "editors/DutyEditor.h"
#include "editors/EditorDriver.h"
#include "editors/EditorFixture.h"
#include "editors/NameEditor.h"

#include <QPointer>

using namespace zel;
using namespace zel::test;

Q_DECLARE_METATYPE(zel::DialogKind)

namespace {
ListEditor* openEditor() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* editor = qobject_cast<ListEditor*>(w); editor && editor->isVisible())
            return editor;
    }
    return nullptr;
}
} // namespace

// The menu opens the editors in place of the board, and the board comes back where it was.
class TestEditorMenu : public QObject {
    Q_OBJECT
  private slots:
    void editorTakesTheBoardsPlace_data();
    void editorTakesTheBoardsPlace();
};

void TestEditorMenu::editorTakesTheBoardsPlace_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("editorName");
    QTest::newRow("names") << DialogKind::Names << kPersonFile << "NameEditor";
    QTest::newRow("green") << DialogKind::GreenDuties << kGreenListFile << "GreenDutyEditor";
    QTest::newRow("yellow") << DialogKind::YellowDuties << kYellowListFile << "YellowDutyEditor";
}

void TestEditorMenu::editorTakesTheBoardsPlace() {
    QFETCH(DialogKind, kind);
    QFETCH(QString, file);
    QFETCH(QString, editorName);

    EditorFixture f;
    f.folder.writeLines(kPersonFile, {" 2", "太郎", "花子"});
    f.folder.writeLines(kGreenListFile, {" 1", "掃除"});
    f.folder.writeLines(kYellowListFile, {" 1", "日直"});
    f.folder.writeLines(kJobFile, {" 2", " 100  0  0", " 0  0  0"});
    MainWindow board(f.context);
    board.load();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.move(140, 90);
    const QPoint corner = board.frameGeometry().topLeft();

    board.openDialog(kind);
    QVERIFY(!board.isVisible());
    QPointer<ListEditor> editor = openEditor();
    QVERIFY(editor);
    QCOMPARE(editor->objectName(), editorName);
    QCOMPARE(editor->frameGeometry().topLeft(), corner);

    EditorDriver d{*editor};
    QVERIFY(d.open());
    d.add(QStringLiteral("新顔"));
    d.click(editor->writeButton());
    QTRY_VERIFY(!editor);
    QVERIFY(board.isVisible());
    QCOMPARE(board.frameGeometry().topLeft(), corner);
    QVERIFY(f.folder.read(file).contains(cp932Lines({"新顔"})));
    if (kind == DialogKind::Names)
        QCOMPARE(f.state.personNames[0], QStringLiteral("新顔"));
    else // the stored offset 0 of the yellow marker was repacked behind the green one
        QCOMPARE(f.folder.read(kJobFile), QByteArray(" 2\r\n 100  0  0\r\n 0  0  600\r\n"));
}

QTEST_MAIN(TestEditorMenu)
#include "tst_editormenu.moc"

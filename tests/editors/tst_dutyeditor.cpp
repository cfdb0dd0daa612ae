#include "editors/DutyEditor.h"
#include "editors/EditorDriver.h"
#include "editors/EditorFixture.h"

#include <QLabel>
#include <QPointer>

using namespace zel;
using namespace zel::test;

Q_DECLARE_METATYPE(zel::DutyColour)

namespace {
// Green width 4, yellow width 3; markers (p0, green), (p1, green), (p0, yellow).
void writeRoster(const DataFolder& folder) {
    folder.writeLines(kPersonFile, {" 2", "太郎", "花子"});
    folder.writeLines(kGreenListFile, {" 2", "掃除当番", "配膳"});
    folder.writeLines(kYellowListFile, {" 2", "日直係", "鍵"});
    folder.writeLines(kJobFile, {" 3", " 100  0  0", " 101  1  0", " 0  0  0"});
}
} // namespace

class TestDutyEditor : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void differences_data();
    void differences();
    void editing_data();
    void editing();
    void writeRepacksMarkers();
    void everyWayOutBringsTheBoardBack_data();
    void everyWayOutBringsTheBoardBack();
    void failedJobFileIsReported();
    void yellowStopsAt100();

  private:
    std::unique_ptr<EditorFixture> f;
    QPointer<DutyEditor> editor;
    std::unique_ptr<EditorDriver> d;

    void openEditor(DutyColour colour) {
        f->load();
        editor = new DutyEditor(f->context, f->host,
                                colour == DutyColour::Green ? DutyEditorConfig::green()
                                                            : DutyEditorConfig::yellow());
        d = std::make_unique<EditorDriver>(EditorDriver{*editor});
        QVERIFY(d->open());
    }
};

void TestDutyEditor::init() {
    f = std::make_unique<EditorFixture>();
    writeRoster(f->folder);
    f->state.savedLeft = 300;
    f->state.savedTop = 450;
}

void TestDutyEditor::cleanup() {
    d.reset();
    delete editor;
    f.reset();
}

void TestDutyEditor::differences_data() {
    QTest::addColumn<DutyColour>("colour");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QColor>("headingText");
    QTest::addColumn<bool>("fixedFrame");
    QTest::addColumn<QString>("firstFocus");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("green") << DutyColour::Green << QStringLiteral("緑色当番の編集")
                           << QColor(0, 255, 0) << false << "List1"
                           << QStringList{"List1",    "Command1", "Text1", "Command2",
                                          "Command3", "Command4", "Text2", "Command5"}
                           << QStringList{"掃除当番", "配膳"};
    QTest::newRow("yellow") << DutyColour::Yellow << QStringLiteral("黄色当番の編集")
                            << QColor(255, 255, 0) << true << "Command5"
                            << QStringList{"Command5", "Text2", "Command4", "Command3",
                                           "Command2", "Text1", "Command1", "List1"}
                            << QStringList{"日直係", "鍵"};
}

void TestDutyEditor::differences() {
    QFETCH(DutyColour, colour);
    QFETCH(QString, heading);
    QFETCH(QColor, headingText);
    QFETCH(bool, fixedFrame);
    QFETCH(QString, firstFocus);
    QFETCH(QStringList, tabOrder);
    QFETCH(QStringList, entries);

    openEditor(colour);
    QCOMPARE(editor->pos(), QPoint(20, 30));
    QCOMPARE(editor->size(), QSize(247, 171)); // 3800 x 3000 outside the frame
    QCOMPARE(editor->minimumSize() == editor->maximumSize(), fixedFrame);
    QCOMPARE(editor->heading()->text(), heading);
    QCOMPARE(editor->heading()->palette().color(QPalette::WindowText), headingText);
    QCOMPARE(editor->heading()->palette().color(QPalette::Window), QColor(0, 0, 192));
    QCOMPARE(editor->heading()->geometry(), QRect(8, 0, 145, 24));
    QCOMPARE(editor->changeButton()->geometry(), QRect(0, 136, 41, 25));
    QCOMPARE(editor->backButton()->geometry(), QRect(192, 136, 41, 25));
    QCOMPARE(d->shown(), entries);
    QVERIFY(d->nothingSelected()); // also with the focus in the list
    QCOMPARE(d->focus()->objectName(), firstFocus);
    QCOMPARE(d->tabRing(tabOrder.first()), tabOrder);
}

void TestDutyEditor::editing_data() {
    QTest::addColumn<DutyColour>("colour");
    QTest::addColumn<QString>("focusAfterRemove");
    QTest::newRow("green") << DutyColour::Green << "Command5";
    QTest::newRow("yellow") << DutyColour::Yellow << "Command4";
}

void TestDutyEditor::editing() {
    QFETCH(DutyColour, colour);
    QFETCH(QString, focusAfterRemove);
    openEditor(colour);
    const QStringList before = d->shown();

    d->add(QStringLiteral("新規"));
    QCOMPARE(d->shown(), QStringList{"新規"} + before);
    QVERIFY(!editor->addBox()->isVisible()); // Enter hides the add box here
    QCOMPARE(editor->model().selected(), std::optional<int>(0));
    QCOMPARE(d->focus(), editor->writeButton());

    d->change(2, QStringLiteral("最後"));
    QCOMPARE(d->shown(), (QStringList{"新規", before[0], "最後"}));
    QVERIFY(d->nothingSelected());

    d->selectRow(1);
    d->click(editor->removeButton());
    QCOMPARE(d->shown(), (QStringList{"新規", "最後"}));
    QVERIFY(d->nothingSelected());
    QCOMPARE(d->focus()->objectName(), focusAfterRemove);

    d->add(QString(110, u'長'));
    QCOMPARE(d->shown(), (QStringList{"新規", "最後"}));
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(editor->addBox()->isVisible());
}

void TestDutyEditor::writeRepacksMarkers() {
    openEditor(DutyColour::Green);
    d->change(0, QStringLiteral("掃除当番です")); // 6 characters
    d->click(editor->writeButton());
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->folder.read(kGreenListFile), cp932Lines({" 2", "掃除当番です", "配膳"}));
    QCOMPARE(f->folder.read(kJobFile),
             QByteArray(" 3\r\n 100  0  0\r\n 101  1  0\r\n 0  0  1800\r\n"));
    QCOMPARE(f->state.greenMarkerWidth, 6.0);
    QCOMPARE(f->state.markerOffset[3], 1800);
    QTRY_VERIFY(!editor);
}

void TestDutyEditor::everyWayOutBringsTheBoardBack_data() {
    QTest::addColumn<DutyColour>("colour");
    QTest::addColumn<bool>("closeControl");
    QTest::newRow("green back") << DutyColour::Green << false;
    QTest::newRow("green close control") << DutyColour::Green << true;
    QTest::newRow("yellow back") << DutyColour::Yellow << false;
    QTest::newRow("yellow close control") << DutyColour::Yellow << true;
}

void TestDutyEditor::everyWayOutBringsTheBoardBack() {
    QFETCH(DutyColour, colour);
    QFETCH(bool, closeControl);
    const QByteArray list = f->folder.read(listFileOf(colour));
    const QByteArray job = f->folder.read(kJobFile);
    openEditor(colour);
    d->change(0, QStringLiteral("とても長い当番の名前"));
    if (closeControl)
        editor->close();
    else
        d->click(editor->backButton());
    QCOMPARE(f->host.calls, QStringList{"showBoard"});
    QCOMPARE(f->folder.read(listFileOf(colour)), list);
    QCOMPARE(f->folder.read(kJobFile), job);
    QTRY_VERIFY(!editor);
}

void TestDutyEditor::failedJobFileIsReported() {
    openEditor(DutyColour::Yellow);
    d->change(1, QStringLiteral("鍵当番"));
    f->platform.store.failAfterBytes = 24; // the list file fits, the job file does not
    d->click(editor->writeButton());
    QCOMPARE(f->platform.errors.size(), 1);
    QVERIFY(f->platform.errors.first().contains(kJobFile));
    QVERIFY(f->host.calls.isEmpty());
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(f->folder.read(kYellowListFile), cp932Lines({" 2", "日直係", "鍵当番"}));
    const QByteArray unpacked(" 3\r\n 100  0  0\r\n 101  1  0\r\n 0  0  0\r\n");
    QCOMPARE(f->folder.read(kJobFile), unpacked);

    f->platform.store.failAfterBytes = -1;
    d->click(editor->writeButton()); // writing again repacks
    QCOMPARE(f->host.calls, QStringList{"reloadBoard"});
    QCOMPARE(f->folder.read(kJobFile),
             QByteArray(" 3\r\n 100  0  0\r\n 101  1  0\r\n 0  0  1200\r\n"));
}

void TestDutyEditor::yellowStopsAt100() {
    QStringList lines{QStringLiteral(" 99")};
    for (int i = 0; i < 99; ++i)
        lines << QStringLiteral("当番%1").arg(i);
    f->folder.writeLines(kYellowListFile, lines);
    openEditor(DutyColour::Yellow);
    d->add(QStringLiteral("百番目"));
    QCOMPARE(editor->list()->count(), 100);
    QVERIFY(!editor->addButton()->isEnabled());
    QVERIFY(editor->addButton()->toolTip().contains(QStringLiteral("100")));
}

QTEST_MAIN(TestDutyEditor)
#include "tst_dutyeditor.moc"

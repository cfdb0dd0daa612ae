// Undo, redo and rotation as the board's menu offers them: the items' names, shortcuts and
// states, each board action undone and redone through its item, a refused undo, and the names
// of marker steps.
#include "board/BoardView.h"
#include "board/StepNames.h"
#include "roster/SaveStep.h"
#include "support/BoardWindow.h"
#include "support/TableRow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace zel;
using namespace zel::test;
using namespace Qt::StringLiterals;

namespace {
// Green 掃除当番 and yellow 司会 for 佐藤, green 日直 for 高橋; offsets packed.
const QByteArray kJob(" 3\r\n 100  0  0\r\n 0  0  1200\r\n 101  2  0\r\n");

struct Board : BoardWindow {
    explicit Board(const QStringList& persons = {"佐藤 花子", "鈴木 一郎", "高橋 美咲"},
                   const QByteArray& job = kJob) {
        folder.write(kParameterFile, " 10\r\n 5\r\n 1000\r\n 300\r\n 9\r\n");
        folder.writeLines(kPersonFile, QStringList{QString::number(persons.size())} + persons);
        folder.writeLines(kGreenListFile, {"2", "掃除当番", "日直"});
        folder.writeLines(kYellowListFile, {"1", "司会"});
        folder.write(kJobFile, job);
        open();
    }
    QAction* item(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    // "text|shortcut|enabled" of an item.
    QString shown(const char* name) const {
        const QAction* a = item(name);
        return a->text() + u'|' + a->shortcut().toString() + u'|' +
               (a->isEnabled() ? u"on"_s : u"off"_s);
    }
    int markersShown() const { return window->board()->shownMarkers(); }
};
} // namespace

class TestHistoryMenu : public QObject {
    Q_OBJECT

  private slots:
    // The items there before keep their order, names and shortcuts; the new ones follow them.
    void menuItems() {
        Board b;
        const QMenu* menu = b.window->menuBar()->findChild<QMenu*>(u"m00"_s);
        QStringList items;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator())
                items << a->text() + u'|' + a->shortcut().toString();
        QCOMPARE(items, QStringList({"データのパス指定(F)|Ctrl+P", "名前編集(N)|Ctrl+N",
                                     "緑色当番編集(L)|Ctrl+G", "黄色当番編集(S)|Ctrl+Y",
                                     "オプション(&O)|Ctrl+O", "ヘルプ(&H)|Ctrl+H",
                                     "ﾊﾞｰｼﾞｮﾝ情報(&V)|", "印刷…|Ctrl+Shift+P", "書き出し…|Ctrl+E",
                                     "元に戻す|Ctrl+Z", "やり直し|Ctrl+Shift+Z",
                                     "当番を次の人へ|Ctrl+R", "当番を前の人へ|Ctrl+Shift+R"}));
        QCOMPARE(b.window->menuBar()->actions().last()->text(), u"終了"_s);
        QCOMPARE(b.shown("undo"), u"元に戻す|Ctrl+Z|off"_s);
        QCOMPARE(b.shown("redo"), u"やり直し|Ctrl+Shift+Z|off"_s);
        QCOMPARE(b.shown("rotateNext"), u"当番を次の人へ|Ctrl+R|on"_s);
    }

    // Each action on the board, undone and redone through the menu items, gives back the job
    // file's bytes and the board shows them.
    void undoRedoThroughTheItems_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("job");
        row("drop", "drop", u"掃除当番を鈴木 一郎へ"_s,
            " 4\r\n 100  0  0\r\n 0  0  1200\r\n 101  2  0\r\n 100  1  0\r\n"_ba);
        row("clear all", "clear", u"すべてのマークを消す"_s, " 0\r\n"_ba);
        row("rotate to the next", "next", u"当番を次の人へ"_s,
            " 3\r\n 100  1  0\r\n 0  1  1200\r\n 101  0  0\r\n"_ba);
        row("rotate to the previous", "previous", u"当番を前の人へ"_s,
            " 3\r\n 100  2  0\r\n 0  2  1200\r\n 101  1  0\r\n"_ba);
    }

    void undoRedoThroughTheItems() {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QFETCH(QByteArray, job);
        Board b;
        if (action == "drop") {
            b.window->pickDuty(PickerConfig::of(DutyColour::Green), 0);
            b.window->dropCarried(QPointF(600, 360 + 210)); // 鈴木's row
        } else if (action == "clear") {
            b.window->clearAllMarkers();
        } else {
            b.item(action == "next" ? "rotateNext" : "rotatePrevious")->trigger();
        }
        QCOMPARE(b.job(), job);
        QCOMPARE(b.shown("undo"), u"元に戻す: "_s + text + u"|Ctrl+Z|on"_s);
        const int markersAfter = b.markersShown();

        b.item("undo")->trigger();
        QCOMPARE(b.job(), kJob);
        QCOMPARE(b.markersShown(), 3);
        QCOMPARE(b.shown("undo"), u"元に戻す|Ctrl+Z|off"_s);
        QCOMPARE(b.shown("redo"), u"やり直し: "_s + text + u"|Ctrl+Shift+Z|on"_s);

        b.item("redo")->trigger();
        QCOMPARE(b.job(), job);
        QCOMPARE(b.markersShown(), markersAfter);
        QVERIFY(b.platform.errors.isEmpty());
    }

    // Another program wrote the job file after the drop: one message, nothing written, and the
    // board shows what the file holds.
    void refusedUndoShowsTheFiles() {
        Board b;
        b.window->clearAllMarkers();
        const QByteArray elsewhere = " 1\r\n 101  1  0\r\n";
        b.folder.write(kJobFile, elsewhere);
        b.item("undo")->trigger();
        QCOMPARE(b.platform.errors.size(), 1);
        QVERIFY(b.platform.errors[0].contains(u"ほかのプログラムで変更されています"_s));
        QCOMPARE(b.job(), elsewhere);
        QCOMPARE(b.markersShown(), 1);
        QVERIFY(b.item("undo")->isEnabled());
    }

    // The first data folder choice created zelpath.dat; its undo removes the file, and the board
    // goes back to the start folder's roster as a new start would, not to the folder in memory.
    void undoOfACreatedFile() {
        Board b;
        QDir(b.folder.path()).mkdir(u"sub"_s);
        b.folder.writeLines(u"sub/"_s + kPersonFile, {"1", "青木"});
        b.folder.write(u"sub/"_s + kJobFile, " 1\r\n 100  0  0\r\n");
        {
            SaveStep step(b.files, u"データのパス指定"_s);
            QVERIFY(b.files.saveFolderFile(u"sub/"_s).ok);
        }
        b.window->reload();
        QCOMPARE(b.state.personNames[0], u"青木"_s);
        b.item("undo")->trigger();
        QVERIFY(!b.folder.exists(kFolderFile));
        QCOMPARE(b.state.dataFolder, QString());
        QCOMPARE(b.state.personCount, 3);
        QCOMPARE(b.markersShown(), 3);
        b.item("redo")->trigger();
        QCOMPARE(b.state.dataFolder, u"sub/"_s);
        QCOMPARE(b.markersShown(), 1);
    }

    void rotationNeedsPersonsAndMarkers_data() {
        QTest::addColumn<QStringList>("persons");
        QTest::addColumn<QByteArray>("job");
        QTest::addColumn<bool>("enabled");
        row("persons and markers", QStringList{"A"}, kJob, true);
        row("no markers", QStringList{"A", "B"}, " 0\r\n"_ba, false);
        row("no persons", QStringList{}, kJob, false);
    }

    void rotationNeedsPersonsAndMarkers() {
        QFETCH(QStringList, persons);
        QFETCH(QByteArray, job);
        QFETCH(bool, enabled);
        Board b(persons, job);
        QCOMPARE(b.item("rotateNext")->isEnabled(), enabled);
        QCOMPARE(b.item("rotatePrevious")->isEnabled(), enabled);
        b.window->rotateDuties(RotateDirection::Next);
        if (!enabled)
            QCOMPARE(b.job(), job); // not even rewritten
    }

    void markerStepNames_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("dutyCode");
        QTest::addColumn<int>("person");
        QTest::addColumn<QString>("name");
        row("green drop", 0, 100, 0, u"掃除当番を佐藤 花子へ"_s);
        row("yellow move", 1, 0, 2, u"司会を高橋 美咲へ"_s);
        row("removal", 2, 101, 1, u"日直を外す"_s);
        row("duty not in the list", 0, 5, 1, u"当番マークを鈴木 一郎へ"_s);
        row("person not in the list", 1, 100, 7, u"掃除当番を名前のない行へ"_s);
    }

    void markerStepNames() {
        QFETCH(int, kind);
        QFETCH(int, dutyCode);
        QFETCH(int, person);
        QFETCH(QString, name);
        Board b;
        const MarkerEdit edit{MarkerEdit::Kind(kind), kind == 0 ? 0 : 1, dutyCode, person};
        QCOMPARE(markerEditStepName(b.state, edit), name);
    }
};

QTEST_MAIN(TestHistoryMenu)
#include "tst_historymenu.moc"

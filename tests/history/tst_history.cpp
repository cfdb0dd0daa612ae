// The undo history without widgets: a change to each file undone and redone gives back the exact
// bytes of every file (each board action through the menu: tst_historymenu); an undo after another
// program changed a file is refused and writes nothing, as does one while another program saves
// into the folder; an editor's two files go back together or not at all; the history comes back
// after a restart from the state folder, and is dropped when the files no longer match it.
#include "editors/ListWriter.h"
#include "history/History.h"
#include "platform/SaveLock.h"
#include "roster/RosterFiles.h"
#include "roster/Rotation.h"
#include "roster/SaveStep.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QTest>
#include <functional>

using namespace zel;
using zel::test::row;
using namespace Qt::StringLiterals;
using zel::test::cp932Lines;
using zel::test::DataFolder;

namespace {
using Snapshot = QMap<QString, QByteArray>; // file name to bytes; "<missing>" for none
const QByteArray kMissing = "<missing>";
const QStringList kAllFiles = {kFolderFile,    kParameterFile,  kPersonFile,
                               kGreenListFile, kYellowListFile, kJobFile};
const QByteArray kJob = " 3\r\n 100  0  0\r\n 1  0  1200\r\n 101  2  0\r\n";

// A store whose save of one file fails, as on a full disk.
class PickyStore : public FileStore {
  public:
    QString failing;
    SaveResult save(const QString& path, const QByteArray& bytes) override {
        if (!failing.isEmpty() && path.endsWith(failing))
            return SaveResult::failure(failing, u"ディスクに空きがありません。"_s);
        return FileStore::save(path, bytes);
    }
};

// The roster files of one start folder (the data folder is the same) and a history over them.
struct Roster {
    DataFolder& folder;
    PickyStore store;
    RosterState state;
    RosterFiles files{store, folder.path()};
    History history{files};

    explicit Roster(DataFolder& f, const QString& stateFolder = {}) : folder(f) {
        if (!stateFolder.isEmpty())
            history.persistIn(stateFolder);
        files.loadAll(state);
    }
    Snapshot snapshot() const {
        Snapshot out;
        for (const QString& name : kAllFiles)
            out[name] = folder.exists(name) ? folder.read(name) : kMissing;
        return out;
    }
};

QStringList leftLocks(const DataFolder& folder) {
    return QDir(folder.path())
        .entryList({SaveLock::fileName() + "*"}, QDir::Files | QDir::Hidden | QDir::System);
}

void writeStartRoster(const DataFolder& folder) {
    folder.write(kFolderFile, "\"\"\r\n");
    folder.write(kParameterFile, " 4\r\n 3\r\n 1200\r\n 300\r\n 10\r\n");
    folder.writeLines(kPersonFile, {" 3", "佐藤 花子", "鈴木 一郎", "高橋 美咲"});
    folder.writeLines(kGreenListFile, {" 2", "掃除当番", "日直"});
    folder.writeLines(kYellowListFile, {" 1", "司会"});
    folder.write(kJobFile, kJob);
}

using Action = std::function<void(Roster&)>;

// Each action as the board, an editor or a dialog makes it: one step around its saves.
QMap<QString, Action> actions() {
    return {
        {"drop",
         [](Roster& r) {
             SaveStep step(r.files, u"掃除当番を高橋 美咲へ"_s);
             const int n = ++r.state.markerCount;
             r.state.markerDuty[n] = 100;
             r.state.markerPerson[n] = 2;
             r.files.saveJobFile(r.state);
         }},
        {"clear all",
         [](Roster& r) {
             SaveStep step(r.files, u"すべてのマークを消す"_s);
             r.files.clearJobFile(r.state);
         }},
        {"rotation",
         [](Roster& r) {
             SaveStep step(r.files, u"当番を次の人へ"_s);
             rotateMarkers(r.state, RotateDirection::Next);
             r.files.saveJobFile(r.state);
         }},
        {"name editor",
         [](Roster& r) {
             writePersonList(r.state, r.files, {"A", "B"});
         }},
        {"duty editor",
         [](Roster& r) {
             writeDutyList(r.state, r.files, DutyColour::Green, {"とても長い掃除当番", "日直"});
         }},
        {"options",
         [](Roster& r) {
             SaveStep step(r.files, u"オプション"_s);
             r.files.saveParameterFile({5, 4, 1500, 330, 12});
         }},
        {"data folder",
         [](Roster& r) {
             SaveStep step(r.files, u"データのパス指定"_s);
             r.files.saveFolderFile(u"sub/"_s);
         }},
    };
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT

  private slots:
    void undoRedo_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("missing"); // a file that is not there before the action
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("written");
        const QStringList job{kJobFile};
        row("drop", "drop", "", u"掃除当番を高橋 美咲へ"_s, job);
        row("name editor", "name editor", "", u"名前編集"_s, QStringList{kPersonFile});
        row("duty editor: list and repacked markers", "duty editor", "", u"緑色当番編集"_s,
            QStringList{kGreenListFile, kJobFile});
        row("options", "options", "", u"オプション"_s, QStringList{kParameterFile});
        row("data folder", "data folder", "", u"データのパス指定"_s, QStringList{kFolderFile});
        // Undone, a file the action created is gone again.
        row("options, no file before", "options", kParameterFile, u"オプション"_s,
            QStringList{kParameterFile});
        row("drop, no job file before", "drop", kJobFile, u"掃除当番を高橋 美咲へ"_s, job);
    }

    void undoRedo() {
        QFETCH(QString, action);
        QFETCH(QString, missing);
        QFETCH(QString, text);
        QFETCH(QStringList, written);
        DataFolder folder;
        writeStartRoster(folder);
        if (!missing.isEmpty())
            QFile::remove(folder.file(missing));
        Roster r(folder);
        const Snapshot before = r.snapshot();
        actions()[action](r);
        const Snapshot after = r.snapshot();
        QStringList changed;
        for (const QString& name : kAllFiles)
            if (before[name] != after[name])
                changed << name;
        QCOMPARE(changed, written);
        QCOMPARE(r.history.stack().count(), 1);
        QCOMPARE(r.history.undoText(), text);

        QVERIFY(r.history.undo().ok);
        QCOMPARE(r.snapshot(), before);
        QVERIFY(!r.history.canUndo());
        QCOMPARE(r.history.redoText(), text);
        QVERIFY(r.history.redo().ok);
        QCOMPARE(r.snapshot(), after);
        // And once more: the files the undo wrote count as read, so nothing is refused.
        QVERIFY(r.history.undo().ok);
        QCOMPARE(r.snapshot(), before);
    }

    // Several actions undone newest first, then redone, pass through every state in turn; a new
    // action after an undo drops the steps that could have been redone.
    void stepsInTurn() {
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        QList<Snapshot> states{r.snapshot()};
        for (const char* action : {"drop", "duty editor", "rotation", "options"}) {
            actions()[action](r);
            states << r.snapshot();
        }
        for (int k = states.size() - 2; k >= 0; --k) {
            QVERIFY(r.history.undo().ok);
            QCOMPARE(r.snapshot(), states[k]);
        }
        QVERIFY(!r.history.canUndo());
        QVERIFY(r.history.redo().ok && r.history.redo().ok);
        QCOMPARE(r.snapshot(), states[2]);
        actions()["clear all"](r);
        QVERIFY(!r.history.canRedo());
        QCOMPARE(r.history.stack().count(), 3);
    }

    // Another program (or PC) changed one of the step's files since: refused, nothing written,
    // the step stays to be undone. For the duty editor's step the unchanged file stays too.
    void refusedAfterChangeElsewhere_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<bool>("undo"); // false: redo after an undo
        row("job file", "drop", kJobFile, true);
        row("job file removed", "clear all", kJobFile, true);
        row("duty editor: list changed", "duty editor", kGreenListFile, true);
        row("duty editor: job changed", "duty editor", kJobFile, true);
        row("redo: parameter file", "options", kParameterFile, false);
    }

    void refusedAfterChangeElsewhere() {
        QFETCH(QString, action);
        QFETCH(QString, changed);
        QFETCH(bool, undo);
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        actions()[action](r);
        if (!undo)
            QVERIFY(r.history.undo().ok);
        if (QTest::currentDataTag() == QByteArray("job file removed"))
            QFile::remove(folder.file(changed));
        else
            folder.write(changed, " 9\r\n");
        const Snapshot elsewhere = r.snapshot();
        const SaveResult result = undo ? r.history.undo() : r.history.redo();
        QVERIFY(!result.ok);
        QVERIFY(result.message().contains(u"ほかのプログラムで変更されています"_s));
        QCOMPARE(r.snapshot(), elsewhere);
        QCOMPARE(r.history.stack().index(), undo ? 1 : 0);
    }

    // Another program is saving into the folder (it holds the save lock) for longer than an undo
    // waits: nothing is written and the step stays; once the save has ended the undo goes through.
    void waitsForAnotherSave() {
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        actions()["drop"](r);
        const Snapshot after = r.snapshot();
        SaveLock otherSave(folder.path());
        QCOMPARE(otherSave.acquire(0), SaveLock::Outcome::Held);
        r.history.setLockWait(200);
        const SaveResult result = r.history.undo();
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, SaveLock::busyReason());
        QCOMPARE(r.snapshot(), after);
        QCOMPARE(r.history.stack().index(), 1);
        otherSave.release();
        QVERIFY(r.history.undo().ok);
        QVERIFY(r.snapshot() != after);
        QCOMPARE(leftLocks(folder), QStringList());
    }

    // The duty editor's step: when putting the job file back fails, the list file written just
    // before is put back too, so the pair never mixes sides.
    void pairGoesBackTogether() {
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        actions()["duty editor"](r);
        const Snapshot after = r.snapshot();
        r.store.failing = kJobFile;
        const SaveResult result = r.history.undo();
        QVERIFY(!result.ok);
        QCOMPARE(result.fileName, kJobFile);
        QCOMPARE(r.snapshot(), after);
        QVERIFY(r.history.canUndo());
        r.store.failing.clear();
        QVERIFY(r.history.undo().ok);
        QCOMPARE(r.snapshot()[kGreenListFile], cp932Lines({" 2", "掃除当番", "日直"}));
    }

    void oneActionIsOneStep() {
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        {
            SaveStep outer(r.files, u"外"_s);
            SaveStep inner(r.files, u"内"_s);
            r.files.saveParameterFile({5, 4, 1500, 330, 12});
            r.files.saveParameterFile({6, 4, 1500, 330, 12});
        }
        QCOMPARE(r.history.stack().count(), 1);
        QCOMPARE(r.history.undoText(), u"外"_s);
        QVERIFY(r.history.undo().ok);
        QCOMPARE(folder.read(kParameterFile), " 4\r\n 3\r\n 1200\r\n 300\r\n 10\r\n"_ba);
        // A save that writes what the file held, or one that failed, is no step.
        {
            SaveStep step(r.files, u"同じ"_s);
            r.files.saveFolderFile(u""_s);
            r.store.failing = kJobFile;
            r.files.clearJobFile(r.state);
        }
        QCOMPARE(r.history.stack().count(), 1);
        QVERIFY(r.history.canRedo()); // the step undone before is still there to redo
    }

    void keepsTheLastFifty() {
        DataFolder folder;
        writeStartRoster(folder);
        Roster r(folder);
        for (int k = 1; k <= History::kLimit + 5; ++k) {
            SaveStep step(r.files, QString::number(k));
            r.files.saveParameterFile({double(k), 4, 1500, 330, 12});
        }
        QCOMPARE(r.history.stack().count(), History::kLimit);
        QCOMPARE(r.history.kept().steps.front().text, u"6"_s);
    }

    // Closed and started again over the same folders: the steps are there, and undo and redo go
    // on where they were. The data folder holds its six files and nothing else.
    void survivesRestart() {
        DataFolder folder, stateHome;
        writeStartRoster(folder);
        const Snapshot start = Roster(folder).snapshot();
        {
            Roster r(folder, stateHome.path());
            actions()["drop"](r);
            actions()["duty editor"](r);
            QVERIFY(r.history.undo().ok);
            QVERIFY(QFile::exists(r.history.filePath()));
            QVERIFY(r.history.filePath().startsWith(stateHome.path()));
        }
        Roster again(folder, stateHome.path());
        QCOMPARE(again.history.stack().count(), 2);
        QCOMPARE(again.history.undoText(), u"掃除当番を高橋 美咲へ"_s);
        QCOMPARE(again.history.redoText(), u"緑色当番編集"_s);
        QVERIFY(again.history.redo().ok);
        QVERIFY(again.history.undo().ok);
        QVERIFY(again.history.undo().ok);
        QCOMPARE(again.snapshot(), start);
        QStringList expected = kAllFiles;
        expected.sort();
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
            expected);
    }

    // A history whose files changed while the program was closed, or that is not a history
    // file of this start folder, is dropped without a word; the next step starts a new one.
    void droppedWhenItNoLongerMatches_data() {
        QTest::addColumn<QString>("spoil");
        row("job file edited", "job");
        row("job file removed", "remove");
        row("history file cut short", "cut");
        row("history file of another start folder", "move");
    }

    void droppedWhenItNoLongerMatches() {
        QFETCH(QString, spoil);
        DataFolder folder, stateHome;
        writeStartRoster(folder);
        QString historyFile;
        {
            Roster r(folder, stateHome.path());
            actions()["drop"](r);
            historyFile = r.history.filePath();
        }
        if (spoil == "job")
            folder.write(kJobFile, kJob);
        else if (spoil == "remove")
            QFile::remove(folder.file(kJobFile));
        else if (spoil == "cut")
            QFile::resize(historyFile, QFileInfo(historyFile).size() - 3);
        DataFolder other;
        if (spoil == "move") {
            writeStartRoster(other);
            QFile::rename(historyFile,
                          QDir(stateHome.path()).filePath(historyFileName(other.path())));
        }
        Roster again(spoil == "move" ? other : folder, stateHome.path());
        QVERIFY(!again.history.canUndo());
        QVERIFY(!again.history.canRedo());
        actions()["options"](again);
        QCOMPARE(again.history.stack().count(), 1);
    }

    // What the history file holds comes back as it was; broken bytes give nothing.
    void historyFileRoundTrip() {
        KeptHistory history{u"/tmp/roster"_s, 1, {}};
        history.steps.push_back(
            {u"掃除当番を佐藤 花子へ"_s,
             {{u"/tmp/roster/zeljob.dat"_s, " 0\r\n"_ba, " 1\r\n 100  0  0\r\n"_ba}}});
        history.steps.push_back(
            {u"オプション"_s, {{u"/tmp/roster/zelpara.dat"_s, std::nullopt, ""_ba}}});
        const QByteArray bytes = encodeHistory(history);
        QCOMPARE(decodeHistory(bytes, 50), std::optional(history));
        QCOMPARE(decodeHistory(bytes, 1), std::nullopt); // more steps than allowed
        for (int cut = 0; cut < bytes.size(); cut += 7)
            QCOMPARE(decodeHistory(bytes.left(cut), 50), std::nullopt);
        QCOMPARE(decodeHistory(bytes + "x", 50), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"

// A marker change made while another PC saved the roster: made again on what the files hold
// then, or refused with one message when it no longer applies.
#include "board/SharedEdit.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using namespace zel::test;
using Kind = MarkerEdit::Kind;
using Outcome = SharedSaveResult::Outcome;

namespace {
const QStringList kPersons{"3", "佐藤", "鈴木", "高橋"};
const QStringList kGreen{"2", "掃除", "日直"};
const QStringList kYellow{"1", "司会"};
// 掃除 (green 0, code 100) for 佐藤, 司会 (yellow 0) for 鈴木.
const QByteArray kJob = " 2\r\n 100  0  0\r\n 0  1  0\r\n";

// The markers as "code:person", in file order.
QStringList markers(const RosterState& s) {
    QStringList out;
    for (int m = 1; m <= s.markerCount; ++m)
        out << QStringLiteral("%1:%2").arg(s.markerDuty[m]).arg(s.markerPerson[m]);
    return out;
}
} // namespace

class TestSharedEdit : public QObject {
    Q_OBJECT
  private slots:
    void editAfterAnotherSave_data() {
        QTest::addColumn<int>("kind"); // -1: clear all
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("person");
        QTest::addColumn<QString>("otherFile");
        // What the other PC saved; empty: nothing. A list it saved comes with a marker it added,
        // for only a changed job file makes this PC's save be refused.
        QTest::addColumn<QByteArray>("otherBytes");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<QStringList>("finally");
        const int add = int(Kind::Add), move = int(Kind::Move), remove = int(Kind::Remove);
        const QByteArray otherAdded = kJob + " 101  2  0\r\n";
        const QByteArray fixedCount = " 3" + otherAdded.mid(2);
        row("add, no one else saved", add, 0, 101, 2, kJobFile, QByteArray(), int(Outcome::Saved),
            1, QStringList{"100:0", "0:1", "101:2"});
        row("add after another add: both stay", add, 0, 0, 2, kJobFile, fixedCount,
            int(Outcome::Saved), 2, QStringList{"100:0", "0:1", "101:2", "0:2"});
        row("move a record the other PC moved in the file", move, 1, 100, 2, kJobFile,
            QByteArray(" 2\r\n 0  1  0\r\n 100  0  0\r\n"), int(Outcome::Saved), 2,
            QStringList{"0:1", "100:2"});
        row("remove after another add", remove, 2, 0, 1, kJobFile, fixedCount, int(Outcome::Saved),
            2, QStringList{"100:0", "101:2"});
        row("remove a marker the other PC removed", remove, 1, 100, 0, kJobFile,
            QByteArray(" 1\r\n 0  1  0\r\n"), int(Outcome::NoLongerApplies), 1, QStringList{"0:1"});
        row("move a marker the other PC moved elsewhere", move, 2, 0, 2, kJobFile,
            QByteArray(" 2\r\n 100  0  0\r\n 0  0  0\r\n"), int(Outcome::NoLongerApplies), 1,
            QStringList{"100:0", "0:0"});
        row("add for a person renamed meanwhile", add, 0, 100, 2, kPersonFile,
            cp932Lines({"3", "佐藤", "鈴木", "田中"}), int(Outcome::NoLongerApplies), 1,
            QStringList{"100:0", "0:1", "101:2"});
        row("add for a person list that only grew", add, 0, 100, 2, kPersonFile,
            cp932Lines({"4", "佐藤", "鈴木", "高橋", "田中"}), int(Outcome::Saved), 2,
            QStringList{"100:0", "0:1", "101:2", "100:2"});
        row("add a duty renamed meanwhile", add, 0, 101, 2, kGreenListFile,
            cp932Lines({"2", "掃除", "黒板"}), int(Outcome::NoLongerApplies), 1,
            QStringList{"100:0", "0:1", "101:2"});
        row("clear after another add", -1, 0, 0, 0, kJobFile, fixedCount, int(Outcome::Saved), 2,
            QStringList{});
    }
    void editAfterAnotherSave() {
        QFETCH(int, kind);
        QFETCH(int, marker);
        QFETCH(int, code);
        QFETCH(int, person);
        QFETCH(QString, otherFile);
        QFETCH(QByteArray, otherBytes);
        QFETCH(int, outcome);
        QFETCH(int, attempts);
        QFETCH(QStringList, finally);
        DataFolder folder;
        folder.writeLines(kPersonFile, kPersons);
        folder.writeLines(kGreenListFile, kGreen);
        folder.writeLines(kYellowListFile, kYellow);
        folder.write(kJobFile, kJob);
        FileStore store;
        RosterFiles files(store, folder.path());
        RosterState state;
        files.loadAll(state);
        if (!otherBytes.isEmpty())
            folder.write(otherFile, otherBytes);
        if (!otherBytes.isEmpty() && otherFile != kJobFile)
            folder.write(kJobFile, " 3" + kJob.mid(2) + " 101  2  0\r\n");

        const SharedSaveResult result =
            kind < 0
                ? saveSharedClear(files, state)
                : saveSharedMarkerEdit(files, state, MarkerEdit{Kind(kind), marker, code, person});
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.attempts, attempts);
        QCOMPARE(result.message().isEmpty(), outcome == int(Outcome::Saved));
        RosterState reread;
        files.loadAll(reread);
        QCOMPARE(markers(reread), finally);
        if (result.outcome != Outcome::Saved) // read again: what the other PC left
            QCOMPARE(markers(state), finally);
    }

    // A job file changed before every try: after a few tries the change is given up with
    // the refusal's own message.
    void givesUpAfterAFewTries() {
        DataFolder folder;
        folder.writeLines(kPersonFile, kPersons);
        folder.writeLines(kGreenListFile, kGreen);
        folder.write(kJobFile, kJob);
        struct Meddling : FileStore {
            DataFolder* folder = nullptr;
            std::optional<QByteArray> read(const QString& path) const override {
                // Every check before a save finds bytes no load has seen.
                if (path.endsWith(kJobFile) && saveCheck)
                    folder->write(kJobFile, kJob + QByteArray(++counter, ' '));
                return FileStore::read(path);
            }
            mutable int counter = 0;
            bool saveCheck = false;
        } store;
        store.folder = &folder;
        RosterFiles files(store, folder.path());
        RosterState state;
        files.loadAll(state);
        store.saveCheck = true;
        const SharedSaveResult result =
            saveSharedMarkerEdit(files, state, MarkerEdit{Kind::Add, 0, 101, 2});
        QCOMPARE(int(result.outcome), int(Outcome::Failed));
        QCOMPARE(result.attempts, kSharedSaveAttempts);
        QVERIFY(result.message().contains(RosterFiles::changedOnDiskReason()));
    }
};

QTEST_GUILESS_MAIN(TestSharedEdit)
#include "tst_sharededit.moc"

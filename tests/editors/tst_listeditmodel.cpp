// The editing rules behind the list editors, without widgets: where an edit goes, what the
// selection becomes, the list limits and the lengths the job file's offsets allow. Which
// characters a file cannot hold is tst_rosterfiles'; here only that the model refuses them.
#include "editors/ListEditModel.h"
#include "support/TableRow.h"

#include <QTest>

using namespace zel;
using zel::test::row;

namespace {
const QStringList kAbc{"A", "B", "C"};
ListRules rulesOf(int list) { // 0 persons, 1 green, 2 yellow
    return list == 0 ? ListRules::persons()
                     : ListRules::duties(list == 1 ? DutyColour::Green : DutyColour::Yellow);
}
} // namespace

class TestListEditModel : public QObject {
    Q_OBJECT
  private slots:
    // Selection before, the edit ("change X", "add X", "remove"); outcome, entries, selection.
    void edits_data() {
        QTest::addColumn<int>("selected"); // -1: none
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("selectedAfter");
        const int done = EditOutcome::Done, ignored = EditOutcome::Ignored;
        const int refused = EditOutcome::Refused;
        row("change first", 0, "change X", done, QStringList{"X", "B", "C"}, -1);
        row("change to empty", 1, "change ", done, QStringList{"A", "", "C"}, -1);
        row("change without selection", -1, "change X", ignored, kAbc, -1);
        row("change refused", 1, "change ☃", refused, kAbc, 1);
        // Stored as its look-alike ～ when written; the list keeps what was typed.
        row("change to a wave dash", 1, "change 月〜金", done, QStringList{"A", "月〜金", "C"}, -1);
        row("add below middle", 1, "add X", done, QStringList{"A", "B", "X", "C"}, 2);
        row("add at top without selection", -1, "add X", done, QStringList{"X", "A", "B", "C"}, 0);
        row("add, selection out of range", 42, "add X", done, QStringList{"X", "A", "B", "C"}, 0);
        row("add refused", 1, "add ☃", refused, kAbc, 1);
        row("remove middle", 1, "remove", done, QStringList{"A", "C"}, -1);
        row("remove without selection", -1, "remove", ignored, kAbc, -1);
    }
    void edits() {
        QFETCH(int, selected);
        QFETCH(QString, edit);
        QFETCH(int, kind);
        QFETCH(QStringList, entries);
        QFETCH(int, selectedAfter);
        ListEditModel model(kAbc, ListRules::persons());
        model.select(selected < 0 ? std::nullopt : std::optional<int>(selected));
        const QString text = edit.section(u' ', 1);
        const EditOutcome outcome = edit.startsWith("change") ? model.change(text)
                                    : edit.startsWith("add")  ? model.add(text)
                                                              : model.remove();
        QCOMPARE(int(outcome.kind), kind);
        QCOMPARE(model.entries(), entries);
        QCOMPARE(model.selected().value_or(-1), selectedAfter);
    }

    void limits_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("limit");
        row("names", 0, 101);
        row("green duties", 1, 101);
        row("yellow duties", 2, 100); // code 100 on are green duties
    }
    void limits() {
        QFETCH(int, list);
        QFETCH(int, limit);
        ListEditModel model(QStringList(limit - 1, "n"), rulesOf(list));
        QVERIFY(model.add("last").isDone() && model.isFull() && !model.writeProblem());
        const EditOutcome refused = model.add("one too many");
        QCOMPARE(refused.kind, EditOutcome::Refused);
        QVERIFY(refused.reason.contains(QString::number(limit)));
        QVERIFY(ListEditModel(QStringList(limit + 1, "n"), rulesOf(list)).writeProblem());
        // A name read from a damaged file that the code page cannot hold names its place.
        const auto damaged = ListEditModel({"A", u"B\uFFFD"_qs}, rulesOf(list)).writeProblem();
        QVERIFY(damaged && damaged->contains(u"2 番目"_qs));
        // Offsets are 300 twips a character: duty names end at 109 characters, names do not.
        QVERIFY(!model.refusal(QString(109, u'あ')));
        const auto refusal = model.refusal(QString(110, u'あ'));
        QCOMPARE(bool(refusal), list != 0);
        QVERIFY(!refusal || refusal->contains("109"));
    }
};

QTEST_APPLESS_MAIN(TestListEditModel)
#include "tst_listeditmodel.moc"

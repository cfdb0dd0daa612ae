#include "editors/ListEditModel.h"

#include <QTest>

using namespace zel;

namespace {
const QStringList kAbc{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
}

class TestListEditModel : public QObject {
    Q_OBJECT
  private slots:
    void edits_data();
    void edits();
    void addsFollowTheEntryJustAdded();
    void limits_data();
    void limits();
    void refusedTexts_data();
    void refusedTexts();
    void refusalKeepsListAndSelection();
    void writeProblems();
};

void TestListEditModel::edits_data() {
    QTest::addColumn<int>("selected"); // -1: none
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<int>("kind");

    const QString x = QStringLiteral("X");
    QTest::newRow("change first") << 0 << "change" << x << QStringList{x, "B", "C"} << -1
                                  << int(EditOutcome::Done);
    QTest::newRow("change last") << 2 << "change" << x << QStringList{"A", "B", x} << -1
                                 << int(EditOutcome::Done);
    QTest::newRow("change to empty")
        << 1 << "change" << QString() << QStringList{"A", "", "C"} << -1 << int(EditOutcome::Done);
    QTest::newRow("change without selection")
        << -1 << "change" << x << kAbc << -1 << int(EditOutcome::Ignored);
    QTest::newRow("add below middle")
        << 1 << "add" << x << QStringList{"A", "B", x, "C"} << 2 << int(EditOutcome::Done);
    QTest::newRow("add below last")
        << 2 << "add" << x << QStringList{"A", "B", "C", x} << 3 << int(EditOutcome::Done);
    QTest::newRow("add at top without selection")
        << -1 << "add" << x << QStringList{x, "A", "B", "C"} << 0 << int(EditOutcome::Done);
    QTest::newRow("add repeated name")
        << 0 << "add" << QStringLiteral("C") << QStringList{"A", "C", "B", "C"} << 1
        << int(EditOutcome::Done);
    QTest::newRow("remove middle")
        << 1 << "remove" << QString() << QStringList{"A", "C"} << -1 << int(EditOutcome::Done);
    QTest::newRow("remove without selection")
        << -1 << "remove" << QString() << kAbc << -1 << int(EditOutcome::Ignored);
}

void TestListEditModel::edits() {
    QFETCH(int, selected);
    QFETCH(QString, operation);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QFETCH(int, selectedAfter);
    QFETCH(int, kind);

    ListEditModel model(kAbc, ListRules::persons());
    model.select(selected < 0 ? std::nullopt : std::optional<int>(selected));
    const EditOutcome outcome = operation == "change" ? model.change(text)
                                : operation == "add"  ? model.add(text)
                                                      : model.remove();
    QCOMPARE(int(outcome.kind), kind);
    QCOMPARE(model.entries(), expected);
    QCOMPARE(model.selected().value_or(-1), selectedAfter);
}

void TestListEditModel::addsFollowTheEntryJustAdded() {
    ListEditModel model(kAbc, ListRules::duties(DutyColour::Green));
    model.select(0);
    QVERIFY(model.add(QStringLiteral("X")).isDone());
    QVERIFY(model.add(QStringLiteral("Y")).isDone());
    QVERIFY(model.add(QStringLiteral("Y")).isDone()); // Enter again: the same text once more
    QCOMPARE(model.entries(), (QStringList{"A", "X", "Y", "Y", "B", "C"}));
    QCOMPARE(model.selected(), std::optional<int>(3));
    model.select(42);
    QVERIFY(!model.selected());
}

void TestListEditModel::limits_data() {
    QTest::addColumn<int>("list"); // 0 persons, 1 green, 2 yellow
    QTest::addColumn<int>("limit");
    QTest::newRow("names") << 0 << 101;
    QTest::newRow("green duties") << 1 << 101;
    QTest::newRow("yellow duties") << 2 << 100;
}

void TestListEditModel::limits() {
    QFETCH(int, list);
    QFETCH(int, limit);
    const ListRules rules = list == 0   ? ListRules::persons()
                            : list == 1 ? ListRules::duties(DutyColour::Green)
                                        : ListRules::duties(DutyColour::Yellow);
    ListEditModel model(QStringList(limit - 1, QStringLiteral("n")), rules);
    QVERIFY(!model.isFull());
    QVERIFY(model.add(QStringLiteral("last")).isDone());
    QVERIFY(model.isFull());
    const EditOutcome refused = model.add(QStringLiteral("one too many"));
    QCOMPARE(refused.kind, EditOutcome::Refused);
    QVERIFY(refused.reason.contains(QString::number(limit)));
    QCOMPARE(model.size(), limit);
    QVERIFY(!model.writeProblem());

    ListEditModel over(QStringList(limit + 1, QStringLiteral("n")), rules);
    QVERIFY(over.writeProblem());
}

void TestListEditModel::refusedTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("duty");
    QTest::addColumn<QString>("reasonPart"); // empty: accepted

    QTest::newRow("wave dash") << QStringLiteral("当番〜") << false << "U+301C";
    QTest::newRow("emoji") << QString::fromUcs4(U"掃除\U0001F600") << true << "U+1F600";
    QTest::newRow("tab") << QStringLiteral("a\tb") << false << "U+0009";
    QTest::newRow("line feed") << QStringLiteral("a\nb") << true << "U+000A";
    QTest::newRow("comma and quote") << QStringLiteral("a,\"b\"") << false << "\"";
    QTest::newRow("leading quote") << QStringLiteral("\"abc") << true << "\"";
    QTest::newRow("fullwidth tilde") << QStringLiteral("～") << false << "";
    QTest::newRow("comma") << QStringLiteral("山田,太郎") << false << "";
    QTest::newRow("leading blanks") << QStringLiteral("  花子") << false << "";
    QTest::newRow("inner quote") << QStringLiteral("say \"hi\"") << false << "";
    QTest::newRow("empty") << QString() << true << "";
    QTest::newRow("duty of 109") << QString(109, u'あ') << true << "";
    QTest::newRow("duty of 110") << QString(110, u'あ') << true << "109";
    QTest::newRow("name of 110") << QString(110, u'あ') << false << "";
}

void TestListEditModel::refusedTexts() {
    QFETCH(QString, text);
    QFETCH(bool, duty);
    QFETCH(QString, reasonPart);
    const ListEditModel model({},
                              duty ? ListRules::duties(DutyColour::Yellow) : ListRules::persons());
    const auto refusal = model.refusal(text);
    if (reasonPart.isEmpty()) {
        QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    } else {
        QVERIFY(refusal);
        QVERIFY2(refusal->contains(reasonPart), qPrintable(*refusal));
    }
}

void TestListEditModel::refusalKeepsListAndSelection() {
    ListEditModel model(kAbc, ListRules::persons());
    model.select(1);
    QCOMPARE(model.change(QStringLiteral("〜")).kind, EditOutcome::Refused);
    QCOMPARE(model.add(QStringLiteral("〜")).kind, EditOutcome::Refused);
    QCOMPARE(model.entries(), kAbc);
    QCOMPARE(model.selected(), std::optional<int>(1));
}

void TestListEditModel::writeProblems() {
    // A name read from a damaged file that the code page cannot hold names its place.
    const ListEditModel model({QStringLiteral("A"), QStringLiteral("B\uFFFD")},
                              ListRules::persons());
    const auto problem = model.writeProblem();
    QVERIFY(problem);
    QVERIFY2(problem->contains(QStringLiteral("2 番目")), qPrintable(*problem));
}

QTEST_APPLESS_MAIN(TestListEditModel)
#include "tst_listeditmodel.moc"

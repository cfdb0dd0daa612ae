// The editing rules behind the list editors, without widgets: where an edit goes, what the
// selection becomes, the list limits, and the texts the files cannot hold.
#include "editors/ListEditModel.h"

#include <QTest>

using namespace zel;

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
    void edits_data();
    void edits();
    void limits_data();
    void limits();
    void refusedTexts_data();
    void refusedTexts();
};

void TestListEditModel::edits_data() {
    QTest::addColumn<int>("selected"); // -1: none
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<int>("kind");

    const int done = EditOutcome::Done, ignored = EditOutcome::Ignored;
    const int refused = EditOutcome::Refused;
    const QString x = QStringLiteral("X"), wave = QStringLiteral("〜");
    QTest::newRow("change first") << 0 << "change" << x << QStringList{x, "B", "C"} << -1 << done;
    QTest::newRow("change to empty")
        << 1 << "change" << QString() << QStringList{"A", "", "C"} << -1 << done;
    QTest::newRow("change without selection") << -1 << "change" << x << kAbc << -1 << ignored;
    QTest::newRow("change refused") << 1 << "change" << wave << kAbc << 1 << refused;
    QTest::newRow("add below middle")
        << 1 << "add" << x << QStringList{"A", "B", x, "C"} << 2 << done;
    QTest::newRow("add at top without selection")
        << -1 << "add" << x << QStringList{x, "A", "B", "C"} << 0 << done;
    QTest::newRow("add, selection out of range")
        << 42 << "add" << x << QStringList{x, "A", "B", "C"} << 0 << done;
    QTest::newRow("add refused") << 1 << "add" << wave << kAbc << 1 << refused;
    QTest::newRow("remove middle")
        << 1 << "remove" << QString() << QStringList{"A", "C"} << -1 << done;
    QTest::newRow("remove without selection")
        << -1 << "remove" << QString() << kAbc << -1 << ignored;
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

void TestListEditModel::limits_data() {
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("limit");
    QTest::newRow("names") << 0 << 101;
    QTest::newRow("green duties") << 1 << 101;
    QTest::newRow("yellow duties") << 2 << 100; // code 100 on are green duties
}

void TestListEditModel::limits() {
    QFETCH(int, list);
    QFETCH(int, limit);
    ListEditModel model(QStringList(limit - 1, QStringLiteral("n")), rulesOf(list));
    QVERIFY(model.add(QStringLiteral("last")).isDone());
    QVERIFY(model.isFull());
    const EditOutcome refused = model.add(QStringLiteral("one too many"));
    QCOMPARE(refused.kind, EditOutcome::Refused);
    QVERIFY(refused.reason.contains(QString::number(limit)));
    QVERIFY(!model.writeProblem());
    // A name read from a damaged file that the code page cannot hold names its place.
    const auto damaged =
        ListEditModel({"A", QStringLiteral("B\uFFFD")}, rulesOf(list)).writeProblem();
    QVERIFY(damaged && damaged->contains(QStringLiteral("2 番目")));
    QVERIFY(
        ListEditModel(QStringList(limit + 1, QStringLiteral("n")), rulesOf(list)).writeProblem());
}

void TestListEditModel::refusedTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("duty");
    QTest::addColumn<QString>("reasonPart"); // empty: accepted

    QTest::newRow("wave dash") << QStringLiteral("当番〜") << false << "U+301C";
    QTest::newRow("emoji, one character")
        << QString::fromUcs4(U"掃除\U0001F600") << true << "U+1F600";
    QTest::newRow("comma and quote") << QStringLiteral("a,\"b\"") << false << "\"";
    QTest::newRow("fullwidth tilde") << QStringLiteral("～") << false << "";
    QTest::newRow("empty") << QString() << true << "";
    QTest::newRow("duty of 109") << QString(109, u'あ') << true << "";
    QTest::newRow("duty of 110") << QString(110, u'あ') << true << "109";
    QTest::newRow("name of 110") << QString(110, u'あ') << false << "";
}

void TestListEditModel::refusedTexts() {
    QFETCH(QString, text);
    QFETCH(bool, duty);
    QFETCH(QString, reasonPart);
    const ListEditModel model({}, rulesOf(duty ? 2 : 0));
    const auto refusal = model.refusal(text);
    QCOMPARE(bool(refusal), !reasonPart.isEmpty());
    if (refusal)
        QVERIFY2(refusal->contains(reasonPart), qPrintable(*refusal));
}

QTEST_APPLESS_MAIN(TestListEditModel)
#include "tst_listeditmodel.moc"

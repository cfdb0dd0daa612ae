#include "board/MainWindow.h"
#include "settings/DataFolderDialog.h"
#include "settings/OptionsDialog.h"
#include "settings/SettingsFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zel;
using namespace zel::test;

namespace {
template <typename Dialog> Dialog* openDialogWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible())
            return d;
    }
    return nullptr;
}
} // namespace

// The settings dialogs opened from the board's menu and handing back to it.
class TestSettingsBoard : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void folderChangeLoadsSecondRoster();
    void optionsChangeRelayoutsBoard();

  private:
    std::unique_ptr<SettingsFixture> f;
    std::unique_ptr<MainWindow> board;
};

void TestSettingsBoard::init() {
    f = std::make_unique<SettingsFixture>();
    f->work.writeLines(QStringLiteral("zelprsn.dat"), {" 3", "佐藤", "鈴木", "高橋"});
    f->work.writeLines(QStringLiteral("zelto1.dat"), {" 1", "日直"});
    f->work.writeLines(QStringLiteral("zelto2.dat"), {" 1", "司会"});
    f->work.writeLines(QStringLiteral("zeljob.dat"), {" 0"});
    f->work.writeLines(QStringLiteral("zelpara.dat"), {" 10", " 5", " 1000", " 300", " 9"});
    QVERIFY(QDir(f->work.path()).mkdir(QStringLiteral("second")));
    f->work.writeLines(QStringLiteral("second/zelprsn.dat"), {" 2", "山田", "田中"});
    board = std::make_unique<MainWindow>(f->context());
    board->load();
    QCOMPARE(f->state.personCount, 3);
}

void TestSettingsBoard::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<SettingsWindow*>(w))
            delete w;
    }
    board.reset();
    f.reset();
}

void TestSettingsBoard::folderChangeLoadsSecondRoster() {
    board->openDialog(DialogKind::DataFolder);
    QVERIFY(!board->isLoaded());
    auto* dialog = openDialogWindow<DataFolderDialog>();
    QVERIFY(dialog);
    dialog->pathBox()->setText(QStringLiteral("second"));
    QTest::keyClick(dialog->pathBox(), Qt::Key_Return);
    QVERIFY(board->isLoaded());
    QCOMPARE(f->state.dataFolder, QStringLiteral("second/"));
    QCOMPARE(f->state.personCount, 2);
    QCOMPARE(f->state.personNames[0], QStringLiteral("山田"));
    QCOMPARE(int(board->layout().tags.size()), 2);
}

void TestSettingsBoard::optionsChangeRelayoutsBoard() {
    const double widthBefore = board->layout().tags[0].width;
    board->openDialog(DialogKind::Options);
    auto* dialog = openDialogWindow<OptionsDialog>();
    QVERIFY(dialog);
    dialog->box(2)->setText(QStringLiteral("1500"));
    dialog->writeButton()->click();
    QVERIFY(board->isLoaded());
    QCOMPARE(f->state.tagWidth, 1500.0);
    QVERIFY(board->layout().tags[0].width != widthBefore);
}

QTEST_MAIN(TestSettingsBoard)
#include "tst_settingsboard.moc"

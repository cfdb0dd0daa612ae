#include "board/BoardMenu.h"

#include "board/AppVersion.h"
#include "ui/Appearance.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>

namespace zel {

void buildBoardMenu(QMainWindow& window, const BoardMenuActions& actions) {
    QMenuBar* bar = window.menuBar();
    bar->setNativeMenuBar(false);
    bar->setFont(look::menuFont(bar->font()));
    QMenu* menu = bar->addMenu(QStringLiteral("おしながき"));
    menu->setObjectName(QStringLiteral("m00"));
    auto addItem = [&window, menu](const char* name, const QString& caption, const char* keys,
                                   std::function<void()> slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, &window, std::move(slot));
        window.addAction(action); // shortcuts work while the menu is closed
    };
    auto dialog = [&actions](DialogKind kind) {
        return [open = actions.openDialog, kind] { open(kind); };
    };
    addItem("m11", QStringLiteral("データのパス指定(F)"), "Ctrl+P", dialog(DialogKind::DataFolder));
    addItem("m21", QStringLiteral("名前編集(N)"), "Ctrl+N", dialog(DialogKind::Names));
    addItem("m22", QStringLiteral("緑色当番編集(L)"), "Ctrl+G", dialog(DialogKind::GreenDuties));
    addItem("m23", QStringLiteral("黄色当番編集(S)"), "Ctrl+Y", dialog(DialogKind::YellowDuties));
    addItem("m3", QStringLiteral("オプション(&O)"), "Ctrl+O", dialog(DialogKind::Options));
    addItem("m51", QStringLiteral("ヘルプ(&H)"), "Ctrl+H", actions.openHelp);
    QMenu* version = menu->addMenu(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));
    version->setObjectName(QStringLiteral("m4"));
    QAction* versionText =
        version->addAction(QStringLiteral("   ゼルトミル      Ver.") + versionNumber());
    versionText->setObjectName(QStringLiteral("m41"));
    menu->addSeparator();
    addItem("m61", QStringLiteral("印刷…"), "Ctrl+Shift+P", actions.print);
    addItem("m62", QStringLiteral("書き出し…"), "Ctrl+E", actions.exportBoard);

    QAction* quit = bar->addAction(QStringLiteral("終了"));
    quit->setObjectName(QStringLiteral("m14"));
    QObject::connect(quit, &QAction::triggered, &window, actions.quit);
}

} // namespace zel

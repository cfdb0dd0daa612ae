#include "board/HistoryMenu.h"

#include "history/History.h"
#include "roster/Rotation.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace zel {

void HistoryMenu::build(QMainWindow& window, const Actions& actions) {
    QMenu* menu = window.menuBar()->findChild<QMenu*>(QStringLiteral("m00"));
    if (!menu)
        menu = window.menuBar()->addMenu(QStringLiteral("おしながき"));
    menu->addSeparator();
    auto addItem = [&](const char* name, const QString& caption, const char* keys,
                       const std::function<void()>& slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, &window, slot);
        window.addAction(action); // shortcuts work while the menu is closed
        return action;
    };
    undo = addItem("undo", QStringLiteral("元に戻す"), "Ctrl+Z", actions.undo);
    redo = addItem("redo", QStringLiteral("やり直し"), "Ctrl+Shift+Z", actions.redo);
    menu->addSeparator();
    rotateNext =
        addItem("rotateNext", QStringLiteral("当番を次の人へ"), "Ctrl+R", actions.rotateNext);
    rotatePrevious = addItem("rotatePrevious", QStringLiteral("当番を前の人へ"), "Ctrl+Shift+R",
                             actions.rotatePrevious);
}

namespace {
// A name may hold "&", which a menu item would take for a shortcut letter.
QString menuText(const QString& item, const QString& step) {
    return item + QStringLiteral(": ") + QString(step).replace(u'&', QStringLiteral("&&"));
}
} // namespace

void HistoryMenu::update(const History& history, const RosterState& state) {
    if (!undo)
        return;
    undo->setEnabled(history.canUndo());
    undo->setText(history.canUndo() ? menuText(QStringLiteral("元に戻す"), history.undoText())
                                    : QStringLiteral("元に戻す"));
    redo->setEnabled(history.canRedo());
    redo->setText(history.canRedo() ? menuText(QStringLiteral("やり直し"), history.redoText())
                                    : QStringLiteral("やり直し"));
    const bool rotates = canRotate(state);
    rotateNext->setEnabled(rotates);
    rotatePrevious->setEnabled(rotates);
}

} // namespace zel

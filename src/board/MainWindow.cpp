#include "board/MainWindow.h"

#include "board/Appearance.h"
#include "board/BoardView.h"
#include "platform/Platform.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QPushButton>

namespace zel {

const QString MainWindow::kCaption = QStringLiteral("ゼルトミル");
const QString MainWindow::kBlinkCaption = QStringLiteral("ぜるとみる");

MainWindow::MainWindow(AppContext context, QWidget* parent)
    : QMainWindow(parent), m_context(context) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);
    setWindowIcon(look::applicationIcon());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, look::kWindowBackground);
    setPalette(pal);

    m_board = new BoardView(this);
    setCentralWidget(m_board);

    buildMenu();
    connect(m_board->eraseButton(), &QPushButton::clicked, this, &MainWindow::clearAllMarkers);

    m_timer1.setInterval(1);
    m_timer2.setInterval(50);
    m_timer3.setInterval(1000);
    connect(&m_timer3, &QTimer::timeout, this, &MainWindow::onTimer3);
}

MainWindow::~MainWindow() = default;

TwipScale MainWindow::scale() const {
    return {m_context.platform.twipsPerPixelX(), m_context.platform.twipsPerPixelY()};
}

void MainWindow::load() {
    RosterState& state = m_context.state;
    state.greenPickerOpen = 0;
    state.yellowPickerOpen = 0;
    state.pendingGreenPlacement = 0;
    state.pendingYellowPlacement = 0;
    m_context.files.loadAll(state);

    setWindowTitle(kCaption);
    m_timer1.stop();
    m_timer2.stop();
    m_timer3.start();
    layoutBoard();
    placeWindow();
    m_loaded = true;
    show();
}

void MainWindow::layoutBoard() {
    const RosterState& state = m_context.state;
    m_layout = computeBoardLayout(state);
    m_context.state.columnPitch = m_layout.grid.columnPitch;
    std::vector<QString> names(state.personNames.begin(),
                               state.personNames.begin() + m_layout.tags.size());
    m_board->applyLayout(m_layout, scale(), names, state.fontSize);
    // The window is as large as the board and the menu bar need; the board has a fixed size.
    if (QWidget* bar = menuWidget())
        bar->adjustSize();
    resize(minimumSizeHint());
}

void MainWindow::placeWindow() {
    const TwipScale s = scale();
    move(s.x(m_context.state.savedLeft), s.y(m_context.state.savedTop));
}

void MainWindow::recordPosition() {
    const TwipScale s = scale();
    const QPoint corner = frameGeometry().topLeft();
    m_context.state.savedLeft = toInt32(s.twipsX(corner.x()));
    m_context.state.savedTop = toInt32(s.twipsY(corner.y()));
}

void MainWindow::unload() {
    if (!m_loaded)
        return;
    recordPosition();
    m_timer1.stop();
    m_timer2.stop();
    m_loaded = false;
    hide();
}

void MainWindow::reload() {
    if (m_loaded) {
        recordPosition();
        m_loaded = false;
    }
    load();
}

void MainWindow::showBoard() {
    if (!m_loaded)
        load();
}

void MainWindow::reloadBoard() {
    reload();
}

void MainWindow::quitProgram() {
    m_quitting = true;
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_quitting)
        return;
    unload();
    quitProgram();
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    QMenu* menu = bar->addMenu(QStringLiteral("おしながき"));
    menu->setObjectName(QStringLiteral("m00"));
    auto addItem = [this, menu](const char* name, const QString& caption, const QKeySequence& keys,
                                auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action); // shortcuts work while the menu is closed
        return action;
    };
    addItem("m11", QStringLiteral("データのパス指定(F)"), QKeySequence(QStringLiteral("Ctrl+P")),
            [this] { openDialog(DialogKind::DataFolder); });
    addItem("m21", QStringLiteral("名前編集(N)"), QKeySequence(QStringLiteral("Ctrl+N")),
            [this] { openDialog(DialogKind::Names); });
    addItem("m22", QStringLiteral("緑色当番編集(L)"), QKeySequence(QStringLiteral("Ctrl+G")),
            [this] { openDialog(DialogKind::GreenDuties); });
    addItem("m23", QStringLiteral("黄色当番編集(S)"), QKeySequence(QStringLiteral("Ctrl+Y")),
            [this] { openDialog(DialogKind::YellowDuties); });
    addItem("m3", QStringLiteral("オプション(&O)"), QKeySequence(QStringLiteral("Ctrl+O")),
            [this] { openDialog(DialogKind::Options); });
    addItem("m51", QStringLiteral("ヘルプ(&H)"), QKeySequence(QStringLiteral("Ctrl+H")),
            [this] { openHelp(); });
    QMenu* version = menu->addMenu(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)"));
    version->setObjectName(QStringLiteral("m4"));
    QAction* versionText = version->addAction(QStringLiteral("   ゼルトミル      Ver.1.00"));
    versionText->setObjectName(QStringLiteral("m41"));

    QAction* quit = bar->addAction(QStringLiteral("終了"));
    quit->setObjectName(QStringLiteral("m14"));
    connect(quit, &QAction::triggered, this, &MainWindow::quitProgram);
}

void MainWindow::openDialog(DialogKind kind) {
    unload();
    if (QWidget* dialog = createDialog(kind, m_context, *this))
        dialog->show();
    else
        showBoard();
}

void MainWindow::openHelp() {
    m_context.platform.showHelp(QStringLiteral("zelto.hlp"));
}

void MainWindow::reportSaveFailure(const SaveResult& result) {
    m_context.platform.showError(this, kCaption, result.message());
}

void MainWindow::clearAllMarkers() {
    if (!m_context.platform.confirm(this, QStringLiteral("当番マークの消去"),
                                    QStringLiteral("すべてのマークを消します\n　よろしいですか？")))
        return;
    // Write first: on a failed write the board must go on showing what the file holds.
    const SaveResult result = m_context.files.clearJobFile(m_context.state);
    if (!result.ok)
        reportSaveFailure(result);
    reload();
}

void MainWindow::onTimer3() {
    RosterState& state = m_context.state;
    if (state.captionBlinkState != 0) {
        setWindowTitle(kCaption);
        state.captionBlinkState = 0;
    } else {
        setWindowTitle(kBlinkCaption);
        state.captionBlinkState = 1;
    }
}

} // namespace zel

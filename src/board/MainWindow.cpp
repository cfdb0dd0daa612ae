#include "board/MainWindow.h"

#include "board/BoardKeys.h"
#include "board/BoardMenu.h"
#include "board/BoardNames.h"
#include "board/BoardNotice.h"
#include "board/BoardOutput.h"
#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "board/FolderNotice.h"
#include "board/MarkerPictures.h"
#include "layout/BoardSizeLimit.h"
#include "pickers/DutyPicker.h"
#include "platform/Platform.h"
#include "roster/DataFileCheck.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "ui/Appearance.h"
#include "ui/Caption.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <cstdio>

namespace zel {

MainWindow::MainWindow(AppContext context, DialogFactory dialogs, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_dialogs(std::move(dialogs)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);
    m_board = new BoardView(this);
    setCentralWidget(m_board);
    m_notice = new BoardNotice(m_board);

    buildBoardMenu(*this,
                   {.openDialog = [this](DialogKind kind) { openDialog(kind); },
                    .openHelp = [this] { openHelp(); },
                    .print = [this] { printBoard(this, m_context, scale()); },
                    .exportBoard = [this] { exportBoardWithDialog(this, m_context, scale()); },
                    .quit = [this] { quitProgram(); }});
    m_historyMenu.build(*this, {[this] { undoStep(); }, [this] { redoStep(); },
                                [this] { rotateDuties(RotateDirection::Next); },
                                [this] { rotateDuties(RotateDirection::Previous); }});
    connect(&m_history.stack(), &QUndoStack::indexChanged, this,
            [this] { m_historyMenu.update(m_history, m_context.state); });
    connect(m_board->eraseButton(), &QPushButton::clicked, this, &MainWindow::clearAllMarkers);
    connect(m_board->greenButton(), &QPushButton::clicked, this, &MainWindow::toggleGreenPicker);
    connect(m_board->yellowButton(), &QPushButton::clicked, this, &MainWindow::toggleYellowPicker);
    connect(m_board, &BoardView::backgroundPressed, this, &MainWindow::freezeCarried);
    connect(m_board, &BoardView::markerPressed, this, &MainWindow::pickUpMarker);
    connect(m_board->carriedMarker(), &MarkerView::pressed, this, &MainWindow::dropCarried);
    connect(&m_timer1, &QTimer::timeout, this, &MainWindow::refreshMarkers);
    connect(&m_timer2, &QTimer::timeout, this, &MainWindow::trackPointer);

    m_timer1.setInterval(1);
    m_timer2.setInterval(50);
    m_timer3.setInterval(1000);
    connect(&m_timer3, &QTimer::timeout, this, &MainWindow::onTimer3);
    // Named once: the blinking caption is not a new name every second.
    setAccessibleName(kCaption);
    setUpKeyboard();

    m_folderNotice = new FolderNotice(m_board);
    connect(m_folderNotice, &FolderNotice::buttonPressed, this,
            [this] { openDialog(DialogKind::DataFolder); });
    connect(&m_watch, &FolderWatch::moved, this, &MainWindow::onFilesMoved);
    // A change seen while the board was busy is taken up at the next check once it is idle.
    connect(&m_watch.timer(), &QTimer::timeout, this, [this] {
        if (m_watchPending)
            onFilesMoved();
    });
}

MainWindow::~MainWindow() {
    // The board, a child, outlives the members it draws and names from.
    m_board->setMarkerArt(nullptr);
    m_board->setSpoken({});
}

TwipScale MainWindow::scale() const {
    return {m_context.platform.twipsPerPixelX(), m_context.platform.twipsPerPixelY()};
}

void MainWindow::load() {
    RosterState& state = m_context.state;
    state.greenPickerOpen = 0;
    state.yellowPickerOpen = 0;
    // Stamped before reading, so that a change made while the files are read shows next time.
    watchFiles();
    const QString folderBefore = state.dataFolder;
    m_context.files.loadAll(state);
    applyBoardSizeFallbacks(state, m_context.platform.twipsPerPixelX(),
                            m_context.platform.twipsPerPixelY());
    m_notice->setLines(dataFileNotices(m_context.files, state));
    if (state.dataFolder != folderBefore)
        watchFiles();
    m_watchPending = false;

    setWindowTitle(kCaption);
    endEveryCarry();
    m_timer3.start();
    layoutBoard();
    showFolderNotice();
    placeWindow();
    m_historyMenu.update(m_history, state);
    m_loaded = true;
    m_watch.start();
    show();
    // The keyboard focus stays on the person and the marker place it had before the reload.
    m_route.boardLoaded(routeBoard());
    showRouteFocus();
    m_board->setFocus();
    // Where the pointer goes over the window, Timer2 need not ask for it while it rests.
    windowHandle()->installEventFilter(this);
}

void MainWindow::watchFiles() {
    const QStringList paths = m_context.files.filePaths(m_context.state);
    // The folder too: a share mounted or unmounted changes no file stamp of an empty folder.
    m_watch.watch(paths, {QFileInfo(paths.last()).absolutePath()});
}

void MainWindow::showFolderNotice() {
    const FolderReport& report = m_context.files.dataFolderReport();
    if (report.reachable()) {
        m_folderNotice->hide();
        return;
    }
    const QString line = report.line();
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    m_folderNotice->setLine(line);
    const QSize size = m_board->size().expandedTo(m_folderNotice->sizeHint());
    m_board->setFixedSize(size);
    m_folderNotice->setGeometry(QRect(QPoint(), size));
    m_folderNotice->show();
    m_folderNotice->raise();
    if (QLayout* frameLayout = QMainWindow::layout()) {
        frameLayout->invalidate();
        frameLayout->activate();
    }
    resize(minimumSizeHint());
}

bool MainWindow::isIdle() const {
    return m_loaded && m_carry.isIdle() && !isPickerShown(DutyColour::Green) &&
           !isPickerShown(DutyColour::Yellow) && !QApplication::activeModalWidget();
}

void MainWindow::onFilesMoved() {
    if (!m_loaded)
        return; // an editor or dialog is open: the board reads the files when it comes back
    if (!isIdle()) {
        m_watchPending = true;
        return;
    }
    m_watchPending = false;
    // Only a real change reloads: a stamp moves also when a file is written with the same bytes.
    const RosterFiles& files = m_context.files;
    const FolderReport now = files.checkDataFolder(m_context.state);
    if (now != files.dataFolderReport() ||
        (now.reachable() && files.changedSinceSeen(m_context.state)))
        reload();
}

void MainWindow::layoutBoard() {
    const RosterState& state = m_context.state;
    m_layout = computeBoardLayout(state);
    m_context.state.columnPitch = m_layout.grid.columnPitch;
    std::vector<QString> names(state.personNames.begin(),
                               state.personNames.begin() + m_layout.tags.size());
    m_board->applyLayout(m_layout, scale(), names, state.fontSize);
    m_pictures.show(*m_board, int(m_layout.markers.size()), state, scale(),
                    m_context.platform.devicePixelRatio());
    nameBoardForReaders(*m_board, state);
    // The notice stands in the buttons' row between the picker buttons and the eraser.
    const TwipRect& green = m_layout.greenButton;
    const double rowLeft = green.right() + 100;
    m_notice->place(
        scale().rect({rowLeft, green.top, m_layout.eraseButton.left - 100 - rowLeft, green.height}),
        m_board->rect());
    // The window is as large as the board and the menu bar need; the board has a fixed size.
    if (QWidget* bar = menuWidget())
        bar->adjustSize();
    // While hidden, the layout keeps the last board's minimum size until it is asked again:
    // without this a board that got smaller would leave the window too wide.
    if (QLayout* frameLayout = QMainWindow::layout()) {
        frameLayout->invalidate();
        frameLayout->activate();
    }
    resize(minimumSizeHint());
}

void MainWindow::placeWindow() {
    const TwipScale s = scale();
    m_corner.place(*this, QPoint(s.x(m_context.state.savedLeft), s.y(m_context.state.savedTop)));
}

void MainWindow::recordPosition() {
    const TwipScale s = scale();
    const QPoint corner = m_corner.record(*this);
    m_context.state.savedLeft = toInt32(s.twipsX(corner.x()));
    m_context.state.savedTop = toInt32(s.twipsY(corner.y()));
}

void MainWindow::unload() {
    if (!m_loaded)
        return;
    recordPosition();
    m_pickers.close(DutyColour::Green);
    m_pickers.close(DutyColour::Yellow);
    endEveryCarry();
    m_watch.stop();
    m_loaded = false;
    hide();
}

void MainWindow::reload() {
    if (m_loaded) {
        recordPosition();
        m_pickers.close(DutyColour::Green);
        m_pickers.close(DutyColour::Yellow);
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

void MainWindow::openDialog(DialogKind kind) {
    unload();
    if (QWidget* dialog = m_dialogs ? m_dialogs(kind, m_context, *this) : nullptr)
        dialog->show();
    else
        showBoard();
}

void MainWindow::openHelp() {
    m_context.platform.showHelp(QStringLiteral("zelto.hlp"));
}

DutyPicker* MainWindow::picker(DutyColour colour) const {
    return m_pickers.picker(colour);
}

bool MainWindow::isPickerShown(DutyColour colour) const {
    return m_pickers.isShown(colour);
}

void MainWindow::toggleGreenPicker() {
    togglePicker(DutyColour::Green);
}
void MainWindow::toggleYellowPicker() {
    togglePicker(DutyColour::Yellow);
}

void MainWindow::togglePicker(DutyColour colour) {
    // Directly under the window, left edges aligned with its outer frame, unless the screen
    // ends there.
    const QScreen* shown = screen();
    m_pickers.toggle(colour, m_context.state, scale(), frameGeometry(),
                     shown ? shown->availableGeometry() : QRect());
    activateWindow();
    raise();
}

QRect MainWindow::boardRect(QPointF topLeft, QSizeF size) const {
    return scale().rect({topLeft.x(), topLeft.y(), size.width(), size.height()});
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

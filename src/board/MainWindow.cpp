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
#include "board/SharedEdit.h"
#include "board/StepNames.h"
#include "layout/BoardSizeLimit.h"
#include "pickers/DutyPicker.h"
#include "platform/Platform.h"
#include "roster/DataFileCheck.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "roster/SaveStep.h"
#include "ui/Appearance.h"
#include "ui/Caption.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMouseEvent>
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
    connect(m_board->carriedMarker(), &MarkerView::pressed, this,
            [this](int, QPointF position) { dropCarried(position); });
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

MainWindow::~MainWindow() = default;

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
    for (int m = 1; m <= int(m_layout.markers.size()); ++m) {
        MarkerView* view = m_board->marker(m);
        view->disconnect(this);
        connect(view, &MarkerView::pressed, this, &MainWindow::pickUpMarker);
    }
    m_pictures.draw(*m_board, int(m_layout.markers.size()), state, scale(),
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

void MainWindow::reportSaveFailure(const SaveResult& result) {
    m_context.platform.showError(this, kCaption, result.message());
}

void MainWindow::clearAllMarkers() {
    if (!m_context.platform.confirm(this, QStringLiteral("当番マークの消去"),
                                    QStringLiteral("すべてのマークを消します\n　よろしいですか？")))
        return;
    // Write first: on a failed write the board must go on showing what the file holds.
    const SharedSaveResult result = [this] {
        SaveStep step(m_context.files, kClearAllStepName);
        return saveSharedClear(m_context.files, m_context.state);
    }();
    if (result.outcome != SharedSaveResult::Outcome::Saved)
        m_context.platform.showError(this, kCaption, result.message());
    reload();
}

void MainWindow::undoStep() {
    if (!m_history.canUndo())
        return;
    if (const SaveResult result = m_history.undo(); !result.ok)
        reportSaveFailure(result);
    reloadFromScratch();
}

void MainWindow::redoStep() {
    if (!m_history.canRedo())
        return;
    if (const SaveResult result = m_history.redo(); !result.ok)
        reportSaveFailure(result);
    reloadFromScratch();
}

void MainWindow::reloadFromScratch() {
    // A load keeps what the record held for a file that is missing, and an undo can remove a
    // file its change created: start from a fresh record, as the program does, keeping only
    // the window's place.
    if (m_loaded)
        recordPosition();
    RosterState& state = m_context.state;
    RosterState fresh;
    fresh.savedTop = state.savedTop;
    fresh.savedLeft = state.savedLeft;
    fresh.captionBlinkState = state.captionBlinkState;
    state = fresh;
    reload();
}

void MainWindow::rotateDuties(RotateDirection direction) {
    RosterState& state = m_context.state;
    if (!canRotate(state))
        return;
    const SaveResult result = [&] {
        SaveStep step(m_context.files,
                      direction == RotateDirection::Next ? kRotateNextName : kRotatePreviousName);
        rotateMarkers(state, direction);
        return m_context.files.saveJobFile(state);
    }();
    if (!result.ok)
        reportSaveFailure(result);
    reload();
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

void MainWindow::endEveryCarry() {
    m_carry.end();
    m_board->carriedMarker()->hide();
    m_board->trashCan()->hide();
    m_timer1.stop();
    m_timer2.stop();
}

void MainWindow::syncTimers() {
    m_carry.tracksPointer() ? m_timer2.start() : m_timer2.stop();
    m_carry.refreshesMarkers() ? resumeMarkerRefresh() : m_timer1.stop();
}

void MainWindow::resumeMarkerRefresh() {
    // Timer1 runs while a carried board marker stands elsewhere than at the last refresh.
    if (m_carry.refreshesMarkers() && !m_timer1.isActive() &&
        m_board->carriedMarker()->geometry() != m_refreshedCarriedRect)
        m_timer1.start();
}

void MainWindow::returnMovedMarker() {
    if (const std::optional<int> m = m_carry.movingMarker(); m && *m <= m_board->shownMarkers())
        m_board->marker(*m)->show();
}

void MainWindow::pickDuty(const PickerConfig& config, int k) {
    // A pick starts one placement: whatever was carried before ends here.
    returnMovedMarker();
    endEveryCarry();

    RosterState& state = m_context.state;
    const PickerGeometry geometry = computePickerGeometry(state, config.colour);
    const QSizeF size(geometry.columnWidth + 30, geometry.rowPitch - config.carriedHeightLess);
    MarkerView* carried = m_board->carriedMarker();
    carried->setGeometry(boardRect({config.carriedLeft, pickedMarkerTop(m_layout)}, size));
    carried->setPicture(makePickerPainter(config, state, scale())
                            ->entryPicture(k, m_context.platform.devicePixelRatio()));
    carried->show();
    carried->raise();
    for (PickStep step : config.stepsAfterCopy)
        runPickStep(config, k, step);
}

void MainWindow::runPickStep(const PickerConfig& config, int k, PickStep step) {
    RosterState& state = m_context.state;
    const bool green = config.colour == DutyColour::Green;
    switch (step) {
    case PickStep::ClosePicker:
        m_pickers.close(config.colour);
        break;
    case PickStep::FocusBoard:
        activateWindow();
        break;
    case PickStep::MovePointer: {
        const TwipScale s = scale();
        const QPointF target = pickPointerTarget(m_layout);
        m_context.platform.setPointerPosition(
            m_board->mapToGlobal(QPoint(s.x(target.x()), s.y(target.y()))));
        m_heardPointer.reset(); // until the window hears of it
        break;
    }
    case PickStep::ClearOpenFlag:
        (green ? state.greenPickerOpen : state.yellowPickerOpen) = 0;
        break;
    case PickStep::EnableTracking:
        m_timer2.start();
        break;
    case PickStep::SetPendingFlag:
        m_carry.pick(config.colour, k);
        break;
    }
    if (pickStepObserver)
        pickStepObserver(step);
}

bool MainWindow::hearsPointer() const {
    return m_pointerInside && !QApplication::activePopupWidget() &&
           !QApplication::activeModalWidget();
}

void MainWindow::trackPointer() {
    MarkerView* carried = m_board->carriedMarker();
    const TwipScale s = scale();
    const QSizeF size(s.twipsX(carried->width()), s.twipsY(carried->height()));
    // While the window hears every move of the pointer, the last one it heard is where the
    // pointer is; asking the window system would cost a round trip each tick.
    const QPoint pointer =
        hearsPointer() && m_heardPointer ? *m_heardPointer : m_context.platform.pointerPosition();
    const QPointF topLeft =
        trackedMarkerTopLeft(m_layout, m_context.state.tagWidth,
                             m_board->toBoardTwips(m_board->mapFromGlobal(pointer)), size);
    const QPoint to(s.x(topLeft.x()), s.y(topLeft.y()));
    if (to != carried->pos()) {
        carried->move(to);
        if (m_carry.refreshesMarkers()) {
            // The markers it passed over are refreshed at once, so that Qt paints them with
            // what the move uncovered, in one pass; Timer1 runs only if a frame has not
            // passed since the last refresh.
            refreshMarkers();
            resumeMarkerRefresh();
        }
    } else if (hearsPointer() && rect().contains(mapFromGlobal(pointer))) {
        // The marker rests with the pointer over this window, which hears of the pointer's
        // next move (see eventFilter) and starts Timer2 again. Elsewhere, or under a menu or a
        // message that takes the pointer's events, only asking tells that it moved.
        m_timer2.stop();
    }
}

void MainWindow::resumeTracking() {
    if (m_carry.tracksPointer() && !m_timer2.isActive())
        m_timer2.start();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            m_heardPointer = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            m_pointerInside = true;
            resumeTracking();
            break;
        case QEvent::Enter:
            m_pointerInside = true;
            resumeTracking();
            break;
        case QEvent::Leave:
            m_pointerInside = false;
            m_heardPointer.reset();
            resumeTracking();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            resumeTracking();
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::refreshMarkers() {
    // Timer1 ticks every millisecond, far more often than the screen shows a new picture: ask
    // at most once a frame, with update() so that Qt merges the requests into one paint. Only
    // the markers the carried marker has passed over since the last request can need it, and
    // once it has not moved since then, nothing does: Timer1 stops until it moves again.
    const QRect carried = m_board->carriedMarker()->geometry();
    if (carried == m_refreshedCarriedRect) {
        m_timer1.stop();
        return;
    }
    if (m_markerRefresh.isValid() && m_markerRefresh.elapsed() < kMarkerRefreshMs)
        return;
    m_markerRefresh.start();
    // Where it stood then and stands now: a marker is repainted there, the part of it the
    // carried marker can have passed over.
    const QRegion swept = QRegion(carried) + QRegion(m_refreshedCarriedRect);
    const QRect bounds = swept.boundingRect();
    m_refreshedCarriedRect = carried;
    for (int m = 1; m <= m_board->shownMarkers(); ++m) {
        MarkerView* view = m_board->marker(m);
        if (view->geometry().intersects(bounds))
            view->update(swept.translated(-view->pos()) & view->rect());
    }
}

void MainWindow::freezeCarried() {
    m_carry.freeze();
    syncTimers();
}

void MainWindow::pickUpMarker(int m, QPointF boardPosition) {
    if (m < 1 || m > m_board->shownMarkers())
        return;
    // A new pick-up ends any other carry; an earlier picked-up marker returns to its place.
    returnMovedMarker();
    endEveryCarry();
    m_carry.pickUp(m, m_board->shownMarkers());

    const RosterState& state = m_context.state;
    const std::int64_t column = floorToInt(boardPosition.x() / m_layout.grid.columnPitch);
    MarkerView* source = m_board->marker(m);
    MarkerView* carried = m_board->carriedMarker();
    const TwipScale s = scale();
    const QPointF topLeft = pickUpTopLeft(m_layout, state.tagWidth, column);
    carried->setGeometry(QRect(QPoint(s.x(topLeft.x()), s.y(topLeft.y())), source->size()));
    carried->setPicture(source->picture());
    carried->show();
    m_refreshedCarriedRect = QRect(); // the markers are refreshed for this carry
    syncTimers();
    source->hide();

    QLabel* trash = m_board->trashCan();
    const QPointF trashAt = trashCanTopLeft(m_layout, state.tagWidth);
    trash->setGeometry(s.x(trashAt.x()), s.y(trashAt.y()), 32, 32);
    trash->show();
    carried->raise();
}

void MainWindow::dropCarried(QPointF boardPosition) {
    finishDrop(m_carry.drop(boardPosition, m_layout, m_context.state));
}

void MainWindow::finishDrop(const DropDecision& decision) {
    switch (decision.outcome) {
    case DropDecision::Outcome::KeepCarrying: // no one there: carry on and drop again
        return;
    case DropDecision::Outcome::EndCarry:
        endEveryCarry();
        return;
    case DropDecision::Outcome::Refuse:
        endEveryCarry();
        m_context.platform.showError(this, kCaption, decision.message);
        return;
    case DropDecision::Outcome::Store:
        endEveryCarry();
        saveMarkerEdit(*decision.edit);
        return;
    }
}

void MainWindow::saveMarkerEdit(const MarkerEdit& edit) {
    // Another PC may have saved since this board was read: the change is made again on what
    // the file holds then, and only a change that no longer applies is refused.
    const SharedSaveResult result = [&] {
        SaveStep step(m_context.files, markerEditStepName(m_context.state, edit));
        return saveSharedMarkerEdit(m_context.files, m_context.state, edit);
    }();
    if (result.outcome != SharedSaveResult::Outcome::Saved)
        m_context.platform.showError(this, kCaption, result.message());
    // The board shows what the file holds, whether or not the save went through.
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

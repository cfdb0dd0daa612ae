#include "board/MainWindow.h"

#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "pickers/DutyPicker.h"
#include "platform/Platform.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"
#include "ui/Appearance.h"
#include "ui/Caption.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>

namespace zel {

MainWindow::MainWindow(AppContext context, DialogFactory dialogs, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_dialogs(std::move(dialogs)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(kCaption);
    setWindowIcon(look::applicationIcon());
    m_board = new BoardView(this);
    setCentralWidget(m_board);

    buildMenu();
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
}

MainWindow::~MainWindow() {
    delete m_greenPicker;
    delete m_yellowPicker;
}

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
    endEveryCarry();
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
    for (int m = 1; m <= int(m_layout.markers.size()); ++m) {
        MarkerView* view = m_board->marker(m);
        view->disconnect(this);
        connect(view, &MarkerView::pressed, this, &MainWindow::pickUpMarker);
    }
    drawMarkerPictures();
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
    const QPoint corner(s.x(m_context.state.savedLeft), s.y(m_context.state.savedTop));
    if (m_frameMargins) {
        // A hidden window whose size changed no longer knows its frame, and Qt would then put
        // the inside of the window at the corner: place the inside by the frame last seen.
        setGeometry(QRect(corner + *m_frameMargins, size()));
    } else {
        move(corner);
    }
}

void MainWindow::recordPosition() {
    const TwipScale s = scale();
    QPoint corner = frameGeometry().topLeft();
    // The widget's cached frame can still be the empty one it had before the window manager
    // framed the window; the platform window asks the window manager for the real one.
    if (QWindow* handle = windowHandle(); handle && isVisible()) {
        const QMargins frame = handle->frameMargins();
        corner = geometry().topLeft() - QPoint(frame.left(), frame.top());
        m_frameMargins = QPoint(frame.left(), frame.top());
    }
    m_context.state.savedLeft = toInt32(s.twipsX(corner.x()));
    m_context.state.savedTop = toInt32(s.twipsY(corner.y()));
}

void MainWindow::unload() {
    if (!m_loaded)
        return;
    recordPosition();
    closePicker(DutyColour::Green);
    closePicker(DutyColour::Yellow);
    endEveryCarry();
    m_loaded = false;
    hide();
}

void MainWindow::reload() {
    if (m_loaded) {
        recordPosition();
        closePicker(DutyColour::Green);
        closePicker(DutyColour::Yellow);
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
    bar->setFont(look::menuFont(bar->font()));
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
    const SaveResult result = m_context.files.clearJobFile(m_context.state);
    if (!result.ok)
        reportSaveFailure(result);
    reload();
}

void MainWindow::drawMarkerPictures() {
    const RosterState& state = m_context.state;
    const TwipScale s = scale();
    const double dpr = m_context.platform.devicePixelRatio();
    // Pictures of duties whose entries look as they did at the last load are not drawn again.
    m_greenPictures.beginLoad(state, s, dpr);
    m_yellowPictures.beginLoad(state, s, dpr);
    for (int m = 1; m <= int(m_layout.markers.size()); ++m) {
        const int code = state.markerDuty[m];
        EntryPictureCache& pictures =
            colourOfCode(code) == DutyColour::Green ? m_greenPictures : m_yellowPictures;
        MarkerView* view = m_board->marker(m);
        view->setPicture(pictures.picture(dutyIndexOfCode(code)));
        view->setAccessibleName(QStringLiteral("当番マーク %1").arg(m));
        view->show();
    }
    m_greenPictures.endLoad();
    m_yellowPictures.endLoad();
}

DutyPicker* MainWindow::picker(DutyColour colour) const {
    return colour == DutyColour::Green ? m_greenPicker.data() : m_yellowPicker.data();
}

bool MainWindow::isPickerShown(DutyColour colour) const {
    const DutyPicker* p = picker(colour);
    return p && p->isVisible();
}

void MainWindow::closePicker(DutyColour colour) {
    if (DutyPicker* p = picker(colour))
        p->hide();
}

void MainWindow::toggleGreenPicker() {
    togglePicker(DutyColour::Green);
}
void MainWindow::toggleYellowPicker() {
    togglePicker(DutyColour::Yellow);
}

void MainWindow::togglePicker(DutyColour colour) {
    RosterState& state = m_context.state;
    const bool green = colour == DutyColour::Green;
    int& ownFlag = green ? state.greenPickerOpen : state.yellowPickerOpen;
    int& otherFlag = green ? state.yellowPickerOpen : state.greenPickerOpen;
    if (ownFlag != 0) {
        closePicker(colour);
        ownFlag = 0;
    } else {
        if (otherFlag == 1) {
            closePicker(green ? DutyColour::Yellow : DutyColour::Green);
            otherFlag = 0;
        }
        QPointer<DutyPicker>& slot = green ? m_greenPicker : m_yellowPicker;
        if (!slot) {
            const PickerConfig& config = PickerConfig::of(colour);
            slot = new DutyPicker(config);
            connect(slot, &DutyPicker::entryPressed, this,
                    [this, &config](int k) { pickDuty(config, k); });
        }
        // Directly under the window, left edges aligned with its outer frame.
        const QRect frame = frameGeometry();
        slot->open(state, scale(), QPoint(frame.left(), frame.bottom() + 1));
        ownFlag = 1;
    }
    activateWindow();
    raise();
}

QRect MainWindow::boardRect(QPointF topLeft, QSizeF size) const {
    return scale().rect({topLeft.x(), topLeft.y(), size.width(), size.height()});
}

void MainWindow::endEveryCarry() {
    RosterState& state = m_context.state;
    state.markerMovePending = 0;
    state.movingMarkerIndex = 0;
    state.dropRemovesMarker = 0;
    state.pendingGreenPlacement = 0;
    state.pendingYellowPlacement = 0;
    m_board->carriedMarker()->hide();
    m_board->trashCan()->hide();
    m_timer1.stop();
    m_timer2.stop();
}

void MainWindow::pickDuty(const PickerConfig& config, int k) {
    RosterState& state = m_context.state;
    // A pick starts one placement: whatever was carried before ends here.
    if (state.markerMovePending && state.movingMarkerIndex >= 1 &&
        state.movingMarkerIndex <= m_board->shownMarkers())
        m_board->marker(state.movingMarkerIndex)->show();
    endEveryCarry();

    state.pendingDutyIndex = k;
    const PickerGeometry geometry = computePickerGeometry(state, config.colour);
    const QSizeF size(geometry.columnWidth + 30, geometry.rowPitch - config.carriedHeightLess);
    MarkerView* carried = m_board->carriedMarker();
    carried->setGeometry(boardRect({config.carriedLeft, pickedMarkerTop(m_layout)}, size));
    carried->setPicture(makePickerPainter(config, state, scale())
                            ->entryPicture(k, m_context.platform.devicePixelRatio()));
    carried->show();
    carried->raise();
    for (PickStep step : config.stepsAfterCopy)
        runPickStep(config, step);
}

void MainWindow::runPickStep(const PickerConfig& config, PickStep step) {
    RosterState& state = m_context.state;
    const bool green = config.colour == DutyColour::Green;
    switch (step) {
    case PickStep::ClosePicker:
        closePicker(config.colour);
        break;
    case PickStep::FocusBoard:
        activateWindow();
        break;
    case PickStep::MovePointer: {
        const TwipScale s = scale();
        const QPointF target = pickPointerTarget(m_layout);
        m_context.platform.setPointerPosition(
            m_board->mapToGlobal(QPoint(s.x(target.x()), s.y(target.y()))));
        break;
    }
    case PickStep::ClearOpenFlag:
        (green ? state.greenPickerOpen : state.yellowPickerOpen) = 0;
        break;
    case PickStep::EnableTracking:
        m_timer2.start();
        break;
    case PickStep::SetPendingFlag:
        (green ? state.pendingGreenPlacement : state.pendingYellowPlacement) = 1;
        break;
    }
    if (pickStepObserver)
        pickStepObserver(step);
}

QPointF MainWindow::pointerOnBoard() const {
    const QPoint local = m_board->mapFromGlobal(m_context.platform.pointerPosition());
    return m_board->toBoardTwips(local);
}

void MainWindow::trackPointer() {
    MarkerView* carried = m_board->carriedMarker();
    const TwipScale s = scale();
    const QSizeF size(s.twipsX(carried->width()), s.twipsY(carried->height()));
    const QPointF topLeft =
        trackedMarkerTopLeft(m_layout, m_context.state.tagWidth, pointerOnBoard(), size);
    carried->move(s.x(topLeft.x()), s.y(topLeft.y()));
}

void MainWindow::refreshMarkers() {
    // Timer1 ticks every millisecond, far more often than the screen shows a new picture: ask
    // at most once a frame, with update() so that Qt merges the requests into one paint. Only
    // the markers the carried marker has passed over since the last request can need it.
    if (m_markerRefresh.isValid() && m_markerRefresh.elapsed() < kMarkerRefreshMs)
        return;
    m_markerRefresh.start();
    const QRect carried = m_board->carriedMarker()->geometry();
    const QRect swept = carried.united(m_refreshedCarriedRect);
    m_refreshedCarriedRect = carried;
    for (int m = 1; m <= m_board->shownMarkers(); ++m) {
        MarkerView* view = m_board->marker(m);
        if (view->geometry().intersects(swept))
            view->update();
    }
}

void MainWindow::freezeCarried() {
    m_timer2.stop();
}

void MainWindow::pickUpMarker(int m, QPointF boardPosition) {
    RosterState& state = m_context.state;
    if (m < 1 || m > m_board->shownMarkers())
        return;
    // A new pick-up ends any other carry; an earlier picked-up marker returns to its place.
    if (state.markerMovePending && state.movingMarkerIndex >= 1 &&
        state.movingMarkerIndex <= m_board->shownMarkers())
        m_board->marker(state.movingMarkerIndex)->show();
    endEveryCarry();

    const std::int64_t column = floorToInt(boardPosition.x() / m_layout.grid.columnPitch);
    MarkerView* source = m_board->marker(m);
    MarkerView* carried = m_board->carriedMarker();
    const TwipScale s = scale();
    const QPointF topLeft = pickUpTopLeft(m_layout, state.tagWidth, column);
    carried->setGeometry(QRect(QPoint(s.x(topLeft.x()), s.y(topLeft.y())), source->size()));
    carried->setPicture(source->picture());
    carried->show();
    m_timer2.start();
    m_timer1.start();
    source->hide();
    state.markerMovePending = 1;
    state.movingMarkerIndex = m;

    QLabel* trash = m_board->trashCan();
    const QPointF trashAt = trashCanTopLeft(m_layout, state.tagWidth);
    trash->setGeometry(s.x(trashAt.x()), s.y(trashAt.y()), 32, 32);
    trash->show();
    carried->raise();
}

void MainWindow::dropCarried(QPointF boardPosition) {
    RosterState& state = m_context.state;
    const bool wasTracking = m_timer2.isActive();
    const bool wasRefreshing = m_timer1.isActive();
    m_timer2.stop();
    m_timer1.stop();
    auto resumeCarry = [&] {
        if (wasTracking)
            m_timer2.start();
        if (wasRefreshing)
            m_timer1.start();
    };

    const bool inTrashZone = boardPosition.y() >= trashZoneStart(m_layout);
    const std::optional<int> person = personAt(m_layout.grid, state.personCount, boardPosition);
    const bool placing = (state.pendingGreenPlacement != 0) != (state.pendingYellowPlacement != 0);
    const bool moving = state.markerMovePending == 1 && state.pendingGreenPlacement == 0 &&
                        state.pendingYellowPlacement == 0;

    if (moving) {
        const int m = state.movingMarkerIndex;
        if (m < 1 || m > state.markerCount) {
            endEveryCarry();
            return;
        }
        if (!inTrashZone && !person) {
            resumeCarry(); // no one there: carry on and drop again
            return;
        }
        m_board->trashCan()->hide();
        m_board->carriedMarker()->hide();
        state.markerMovePending = 0;
        if (inTrashZone)
            state.dropRemovesMarker = 1;
        else
            state.markerPerson[m] = *person;
        saveMarkerRecords();
        return;
    }
    if (!placing) {
        endEveryCarry();
        return;
    }
    if (inTrashZone) {
        // Cancelling a placement: nothing is written and the board is not reloaded.
        endEveryCarry();
        return;
    }
    if (!person) {
        resumeCarry();
        return;
    }
    if (state.markerCount >= kMaxMarkers) {
        endEveryCarry();
        m_context.platform.showError(
            this, kCaption,
            QStringLiteral(
                "当番マークは %1 個までです。\nいらないマークをごみ箱に捨ててから置いてください。")
                .arg(kMaxMarkers));
        return;
    }
    const int n = state.markerCount + 1;
    state.markerDuty[n] = state.pendingGreenPlacement ? state.pendingDutyIndex + kGreenCodeBase
                                                      : state.pendingDutyIndex;
    state.markerPerson[n] = *person;
    state.markerOffset[n] = 0;
    state.markerCount = n;
    state.pendingGreenPlacement = 0;
    state.pendingYellowPlacement = 0;
    m_board->carriedMarker()->hide();
    saveMarkerRecords();
}

void MainWindow::saveMarkerRecords() {
    RosterState& state = m_context.state;
    SaveResult result;
    if (state.dropRemovesMarker == 1) {
        result = m_context.files.saveJobFile(state, state.movingMarkerIndex);
        if (result.ok)
            state.markerCount -= 1;
    } else {
        result = m_context.files.saveJobFile(state);
    }
    state.dropRemovesMarker = 0;
    if (!result.ok)
        reportSaveFailure(result);
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

// The main window's carry: a duty picked from a picker or a marker picked up from the board
// follows the pointer (Timer2), the markers it passes over are refreshed (Timer1), and a press
// drops it.
#include "board/MainWindow.h"

#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "platform/Platform.h"
#include "roster/RosterState.h"
#include "ui/Caption.h"
#include "units/Numbers.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

namespace zel {

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
        m_board->setMarkerShown(*m, true);
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
    m_refreshedCarriedRect = carried;
    m_board->repaintMarkersIn(swept);
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
    MarkerView* carried = m_board->carriedMarker();
    const TwipScale s = scale();
    const QPointF topLeft = pickUpTopLeft(m_layout, state.tagWidth, column);
    carried->setGeometry(
        QRect(QPoint(s.x(topLeft.x()), s.y(topLeft.y())), m_board->markerRect(m).size()));
    carried->setPicture(m_board->markerPicture(m));
    carried->show();
    m_refreshedCarriedRect = QRect(); // the markers are refreshed for this carry
    syncTimers();
    m_board->setMarkerShown(m, false);

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

} // namespace zel

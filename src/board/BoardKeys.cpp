// The board's keyboard route as the window runs it: keys in, focus frames, picker focus and
// the same saves a drop makes.
#include "board/BoardKeys.h"

#include "board/BoardNames.h"
#include "board/BoardRules.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "pickers/DutyPicker.h"
#include "ui/Appearance.h"

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace zel {

std::optional<RouteKey> routeKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods =
        event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return std::nullopt;
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    switch (event.key()) {
    case Qt::Key_Up:
        return RouteKey::Up;
    case Qt::Key_Down:
        return RouteKey::Down;
    case Qt::Key_Left:
        return RouteKey::Left;
    case Qt::Key_Right:
        return RouteKey::Right;
    case Qt::Key_Home:
        return RouteKey::Home;
    case Qt::Key_End:
        return RouteKey::End;
    case Qt::Key_Tab:
        return shift ? RouteKey::BackTab : RouteKey::Tab;
    case Qt::Key_Backtab:
        return RouteKey::BackTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return RouteKey::Enter;
    case Qt::Key_Delete:
        return RouteKey::Delete;
    case Qt::Key_Escape:
        return RouteKey::Escape;
    case Qt::Key_G:
        return shift ? std::nullopt : std::optional(RouteKey::G);
    case Qt::Key_Y:
        return shift ? std::nullopt : std::optional(RouteKey::Y);
    default:
        return std::nullopt;
    }
}

FocusFrame::FocusFrame(QWidget* board) : QWidget(board) {
    setObjectName(QStringLiteral("focusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusFrame::surround(const QRect& target) {
    if (target.isEmpty()) {
        hide();
        return;
    }
    // The frame lies just outside the target, so the target stays wholly visible. Only the
    // outline is painted: the mask lets the pointer and the paint of what lies inside through.
    const QRect outer = target.adjusted(-3, -3, 3, 3);
    setGeometry(outer);
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(2, 2, -2, -2))));
    show();
    raise();
    update();
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), look::kFocusFrame);
}

BoardKeyFilter::BoardKeyFilter(QWidget* board, std::function<void(RouteKey)> onKey)
    : QObject(board), m_onKey(std::move(onKey)) {
    board->installEventFilter(this);
}

bool BoardKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (const std::optional<RouteKey> key = routeKeyOf(*keyEvent)) {
            m_onKey(*key);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// --- MainWindow: the keyboard's part -------------------------------------------------------

void MainWindow::setUpKeyboard() {
    // The board takes the keys; the buttons stay pointer targets so Tab and Enter reach it.
    m_board->setFocusPolicy(Qt::StrongFocus);
    for (QPushButton* button :
         {m_board->greenButton(), m_board->yellowButton(), m_board->eraseButton()})
        button->setFocusPolicy(Qt::NoFocus);
    m_focusFrame = new FocusFrame(m_board);
    if (QWidget* bar = menuWidget())
        bar->setAccessibleName(QStringLiteral("メニューバー"));
    new BoardKeyFilter(m_board, [this](RouteKey key) { pressRouteKey(key); });
    // F1 opens help as Ctrl+H does; the menu keeps showing Ctrl+H.
    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("helpKey"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &MainWindow::openHelp);
    addAction(help);
}

RouteBoard MainWindow::routeBoard() const {
    RouteBoard board = routeBoardOf(m_context.state, m_layout.grid);
    board.markersOf.resize(std::min<size_t>(board.markersOf.size(), m_board->shownTags()));
    for (auto& row : board.markersOf)
        std::erase_if(row, [this](int m) { return m > m_board->shownMarkers(); });
    if (const auto& picker = m_route.picker())
        board.pickerShown = isPickerShown(picker->colour);
    board.carriedMarker = m_carry.movingMarker();
    return board;
}

void MainWindow::pressRouteKey(RouteKey key) {
    if (!m_loaded)
        return;
    const RouteCommand command = m_route.press(key, routeBoard());
    runRouteCommand(command);
    showRouteFocus();
}

void MainWindow::runRouteCommand(const RouteCommand& command) {
    using Kind = RouteCommand::Kind;
    RosterState& state = m_context.state;
    switch (command.kind) {
    case Kind::None:
    case Kind::Redraw:
        return;
    case Kind::OpenPicker: {
        // As its button does; the other picker closes first.
        togglePicker(command.colour);
        if (DutyPicker* p = picker(command.colour); p && isPickerShown(command.colour)) {
            m_route.pickerOpened(command.colour, p->entryCount(), p->geometry().perColumn);
        }
        return;
    }
    case Kind::ClosePicker:
        m_pickers.close(command.colour);
        (command.colour == DutyColour::Green ? state.greenPickerOpen : state.yellowPickerOpen) = 0;
        return;
    case Kind::Assign: {
        // One record, as a pick and a drop on the person's row would store it.
        returnMovedMarker();
        endEveryCarry();
        m_pickers.close(command.colour);
        (command.colour == DutyColour::Green ? state.greenPickerOpen : state.yellowPickerOpen) = 0;
        m_carry.pick(command.colour, command.entry);
        finishDrop(m_carry.dropAt(command.person, false, state));
        return;
    }
    case Kind::PickUp: {
        if (command.marker < 1 || command.marker > m_board->shownMarkers())
            return;
        const QRect at = m_board->markerRect(command.marker);
        pickUpMarker(command.marker, m_board->toBoardTwips(QPointF(at.center())));
        // It stands beside the focused tag, not at the pointer.
        freezeCarried();
        return;
    }
    case Kind::Drop:
        if (m_carry.movingMarker() != command.marker)
            return;
        finishDrop(m_carry.dropAt(command.person, false, state));
        return;
    case Kind::Remove:
        returnMovedMarker();
        endEveryCarry();
        if (!m_carry.pickUp(command.marker, m_board->shownMarkers()))
            return;
        finishDrop(m_carry.dropAt(std::nullopt, true, state));
        return;
    case Kind::Cancel:
        cancelCarry();
        return;
    }
}

void MainWindow::cancelCarry() {
    // The carried marker disappears, a moved one returns to its place; nothing is written.
    returnMovedMarker();
    endEveryCarry();
    for (DutyColour colour : {DutyColour::Green, DutyColour::Yellow})
        m_pickers.close(colour);
    m_context.state.greenPickerOpen = 0;
    m_context.state.yellowPickerOpen = 0;
}

void MainWindow::showRouteFocus() {
    const std::optional<int> person = m_route.person();
    for (DutyColour colour : {DutyColour::Green, DutyColour::Yellow})
        if (DutyPicker* p = picker(colour)) {
            const auto& focus = m_route.picker();
            p->setFocusedEntry(focus && focus->colour == colour ? std::optional(focus->entry)
                                                                : std::nullopt);
        }
    if (!person || *person >= m_board->shownTags()) {
        m_focusFrame->surround({});
        m_board->setReaderFocus(std::nullopt);
        return;
    }
    const RouteBoard board = routeBoard();
    if (const std::optional<int> m = m_route.carried()) {
        // The carried marker stands at the end of the focused person's row.
        const QRect rowEnd = m_board->tagRect(*person);
        int right = rowEnd.right() + scale().x(100);
        for (int other : board.markersOf[*person])
            if (other != *m)
                right = std::max(right, m_board->markerRect(other).right() + 1);
        MarkerView* carried = m_board->carriedMarker();
        carried->move(right, rowEnd.top() - scale().y(20));
        carried->raise();
        m_focusFrame->surround(carried->geometry());
        m_board->setReaderFocus(BoardView::ReaderFocus{.carried = true});
        return;
    }
    BoardView::ReaderFocus focus{.person = *person};
    if (const std::optional<int> place = m_route.markerPlace())
        focus.marker = board.markersOf[*person][*place];
    m_focusFrame->surround(focus.marker ? m_board->markerRect(focus.marker)
                                        : m_board->tagRect(*person));
    m_board->setReaderFocus(focus);
}

} // namespace zel

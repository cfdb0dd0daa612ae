#include "board/BoardAccessible.h"

#include <QPointer>

namespace zel {

namespace {
// One drawn piece: person p's tag (marker 0), or marker m.
class PieceAccessible : public QAccessibleInterface {
  public:
    PieceAccessible(BoardView* board, int person, int marker)
        : m_board(board), m_person(person), m_marker(marker) {}

    bool isValid() const override {
        if (!m_board)
            return false;
        // Not while the board is being destroyed.
        if (QAccessibleInterface* board = parent(); !board || !board->isValid())
            return false;
        return m_marker ? m_marker <= m_board->shownMarkers() : m_person < m_board->shownTags();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_board ? m_board->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return m_board ? QAccessible::queryAccessibleInterface(m_board.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (m_marker)
            return t == QAccessible::Name ? m_board->markerName(m_marker) : QString();
        if (t == QAccessible::Name)
            return m_board->tagName(m_person);
        return t == QAccessible::Description ? m_board->tagDescription(m_person) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = m_marker ? m_board->markerRect(m_marker) : m_board->tagRect(m_person);
        return QRect(m_board->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return m_marker ? QAccessible::Graphic : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        const auto focus = m_board ? m_board->readerFocus() : std::nullopt;
        s.focused = focus && !focus->carried && isValid() && m_board->hasFocus() &&
                    (m_marker ? focus->marker == m_marker
                              : focus->marker == 0 && focus->person == m_person);
        s.invisible =
            !isValid() || !m_board->isVisible() || (m_marker && !m_board->isMarkerShown(m_marker));
        return s;
    }

  private:
    QPointer<BoardView> m_board;
    int m_person;
    int m_marker;
};

QAccessibleInterface* boardFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("zel::BoardView"))
        if (auto* board = qobject_cast<BoardView*>(object))
            return new BoardAccessible(board);
    return nullptr;
}

QAccessibleInterface* registeredPiece(std::vector<QAccessible::Id>& ids, int index,
                                      BoardView* board, bool marker) {
    while (int(ids.size()) <= index) {
        const int n = int(ids.size());
        ids.push_back(QAccessible::registerAccessibleInterface(
            marker ? new PieceAccessible(board, -1, n + 1) : new PieceAccessible(board, n, 0)));
    }
    return QAccessible::accessibleInterface(ids[index]);
}
} // namespace

BoardAccessible::BoardAccessible(BoardView* board) : QAccessibleWidget(board, QAccessible::Pane) {}

BoardAccessible::~BoardAccessible() {
    for (const auto* ids : {&m_tags, &m_markers})
        for (QAccessible::Id id : *ids)
            QAccessible::deleteAccessibleInterface(id);
}

void BoardAccessible::install() {
    static const bool installed = (QAccessible::installFactory(boardFactory), true);
    Q_UNUSED(installed);
}

BoardView* BoardAccessible::board() const {
    return static_cast<BoardView*>(widget());
}

int BoardAccessible::childIndex(const BoardView& board, const BoardView::ReaderFocus& item) {
    return item.marker ? board.shownTags() + item.marker - 1 : item.person;
}

int BoardAccessible::childCount() const {
    if (!isValid())
        return 0;
    return board()->shownTags() + board()->shownMarkers() + QAccessibleWidget::childCount();
}

QAccessibleInterface* BoardAccessible::child(int index) const {
    if (!isValid())
        return nullptr;
    const int tags = board()->shownTags();
    const int markers = board()->shownMarkers();
    if (index < 0)
        return nullptr;
    if (index < tags)
        return registeredPiece(m_tags, index, board(), false);
    if (index < tags + markers)
        return registeredPiece(m_markers, index - tags, board(), true);
    return QAccessibleWidget::child(index - tags - markers);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!isValid())
        return -1;
    const int tags = board()->shownTags();
    const int markers = board()->shownMarkers();
    for (int p = 0; p < std::min<int>(tags, int(m_tags.size())); ++p)
        if (QAccessible::accessibleInterface(m_tags[p]) == child)
            return p;
    for (int m = 0; m < std::min<int>(markers, int(m_markers.size())); ++m)
        if (QAccessible::accessibleInterface(m_markers[m]) == child)
            return tags + m;
    const int control = QAccessibleWidget::indexOfChild(child);
    return control < 0 ? -1 : tags + markers + control;
}

QAccessibleInterface* BoardAccessible::childAt(int x, int y) const {
    if (!isValid())
        return nullptr;
    const QPoint local = board()->mapFromGlobal(QPoint(x, y));
    // The board's controls lie above what it draws; what lets presses through (the focus frame
    // around the focused piece) is not there for a reader either.
    if (QWidget* control = board()->childAt(local)) {
        while (control->parentWidget() != board())
            control = control->parentWidget();
        return QAccessible::queryAccessibleInterface(control);
    }
    if (const int m = board()->markerAt(local))
        return child(childIndex(*board(), {.marker = m}));
    if (const int p = board()->tagAt(local); p >= 0)
        return child(p);
    return nullptr;
}

QAccessibleInterface* BoardAccessible::focusChild() const {
    if (!isValid())
        return nullptr;
    if (const auto focus = board()->readerFocus(); focus && board()->hasFocus())
        return focus->carried ? QAccessible::queryAccessibleInterface(board()->carriedMarker())
                              : child(childIndex(*board(), *focus));
    return QAccessibleWidget::focusChild();
}

} // namespace zel

#pragma once

#include "board/BoardView.h"

#include <QAccessibleWidget>
#include <vector>

namespace zel {

// The board as assistive technology sees it: its controls, and the name tags and markers it
// draws, each an object of its own: a tag is a label named by the person and described by
// their duties, a marker is named by its duty and its person.
class BoardAccessible : public QAccessibleWidget {
  public:
    explicit BoardAccessible(BoardView* board);
    ~BoardAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The child index of a tag or a marker: the tags come first, then the markers, then the
    // board's controls.
    static int childIndex(const BoardView& board, const BoardView::ReaderFocus& item);

    // Makes Qt use this interface for every board.
    static void install();

  private:
    BoardView* board() const;
    // Registered interfaces of the drawn pieces, by kind and number, made when first asked.
    mutable std::vector<QAccessible::Id> m_tags;
    mutable std::vector<QAccessible::Id> m_markers;
};

} // namespace zel

#pragma once

#include <QLabel>

namespace zel {

// A notice on the board about the data files (one that cannot be read, say): black on yellow
// in the row of the picker buttons, between them and the eraser; where that row is too short
// for it, across the board just above the row, wrapped. Each new notice is also written to
// stderr. Presses pass through it to the board.
class BoardNotice : public QLabel {
    Q_OBJECT
  public:
    explicit BoardNotice(QWidget* board);

    // One line a problem; none: the notice goes.
    void setLines(const QStringList& lines);
    const QStringList& lines() const { return m_lines; }
    // `row`: the free part of the buttons' row; `board`: the whole board, in the board's pixels.
    void place(const QRect& row, const QRect& board);

  private:
    QStringList m_lines;
};

} // namespace zel

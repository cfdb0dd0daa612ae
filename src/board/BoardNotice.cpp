#include "board/BoardNotice.h"

#include <algorithm>
#include <cstdio>

namespace zel {

BoardNotice::BoardNotice(QWidget* board) : QLabel(board) {
    setObjectName(QStringLiteral("BoardNotice"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAutoFillBackground(true);
    setMargin(2);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 160));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void BoardNotice::setLines(const QStringList& lines) {
    if (lines == m_lines)
        return;
    m_lines = lines;
    const QString text = lines.join(u'\n');
    setText(text);
    setAccessibleName(text);
    setVisible(!lines.isEmpty());
    for (const QString& line : lines)
        std::fprintf(stderr, "ゼルトミル: %s\n", line.toUtf8().constData());
}

void BoardNotice::place(const QRect& row, const QRect& board) {
    if (m_lines.isEmpty())
        return;
    setWordWrap(false);
    const QSize wanted = sizeHint();
    setWordWrap(true);
    if (wanted.width() <= row.width() && wanted.height() <= row.height() + 4) {
        setGeometry(row);
    } else {
        const int width = std::max(1, board.width() - 8);
        const int height = heightForWidth(width);
        setGeometry(board.left() + 4, std::max(board.top(), row.top() - 2 - height), width, height);
    }
    raise();
}

} // namespace zel

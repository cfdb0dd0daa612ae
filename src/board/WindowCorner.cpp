#include "board/WindowCorner.h"

#include <QWidget>
#include <QWindow>

namespace zel {

void WindowCorner::place(QWidget& window, QPoint corner) const {
    if (m_frameMargins)
        window.setGeometry(QRect(corner + *m_frameMargins, window.size()));
    else
        window.move(corner);
}

QPoint WindowCorner::record(QWidget& window) {
    QPoint corner = window.frameGeometry().topLeft();
    // The widget's cached frame can still be the empty one it had before the window manager
    // framed the window; the platform window asks the window manager for the real one.
    if (QWindow* handle = window.windowHandle(); handle && window.isVisible()) {
        const QMargins frame = handle->frameMargins();
        corner = window.geometry().topLeft() - QPoint(frame.left(), frame.top());
        m_frameMargins = QPoint(frame.left(), frame.top());
    }
    return corner;
}

} // namespace zel

#pragma once

#include <QPoint>
#include <optional>

class QWidget;

namespace zel {

// Places a top-level window by its outer frame's top-left corner and reads that corner back.
// A hidden window whose size changed no longer knows its frame, and Qt would then put the
// inside of the window at the corner, so the frame last seen is kept here.
class WindowCorner {
  public:
    void place(QWidget& window, QPoint corner) const;
    QPoint record(QWidget& window);

  private:
    std::optional<QPoint> m_frameMargins; // inside minus outside corner, as last seen shown
};

} // namespace zel

#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace zel {

// Runs some work once, just after a widget's first paint has been flushed, so that work the
// first picture does not need (decoding the window icon, say) does not delay it. Should the
// widget not paint within `latest` milliseconds of being shown (or of this object's making,
// when it is never shown), the work runs then. It deletes itself once the work has run, and
// with the widget.
class AfterFirstPaint : public QObject {
  public:
    AfterFirstPaint(QWidget* widget, std::function<void()> work, int latest = 2000);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void run();

    std::function<void()> m_work;
    QTimer m_latest;
    bool m_queued = false;
};

} // namespace zel

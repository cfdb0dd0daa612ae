#include "platform/AfterFirstPaint.h"

#include <QEvent>
#include <QWidget>

namespace zel {

AfterFirstPaint::AfterFirstPaint(QWidget* widget, std::function<void()> work, int latest)
    : QObject(widget), m_work(std::move(work)) {
    widget->installEventFilter(this);
    m_latest.setSingleShot(true);
    connect(&m_latest, &QTimer::timeout, this, &AfterFirstPaint::run);
    m_latest.start(latest);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    // The deadline counts from the showing: files read slowly before it do not use it up.
    if (event->type() == QEvent::Show && !m_queued && m_latest.isActive())
        m_latest.start();
    if (event->type() == QEvent::Paint && !m_queued) {
        m_queued = true;
        // Queued: the rest of this paint pass and its flush to the screen come first.
        QMetaObject::invokeMethod(this, &AfterFirstPaint::run, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void AfterFirstPaint::run() {
    if (!m_work)
        return; // the paint and the deadline both came before the queue ran
    m_latest.stop();
    const std::function<void()> work = std::exchange(m_work, {});
    work();
    deleteLater();
}

} // namespace zel

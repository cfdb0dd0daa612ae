#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace zel {

// Start-up measurement for the benchmark in bench/, which alone sets
// ZELTOMIL_EXIT_AFTER_FIRST_PAINT=1: installed on a widget, it waits for the widget's first
// paint, then prints the monotonic clock, the processor time, the peak resident size and the
// window's size, and ends the program. The board and the benchmark's bare window report alike.
class FirstPaintReport : public QObject {
  public:
    using QObject::QObject;

    static bool wanted() {
        return qEnvironmentVariableIntValue("ZELTOMIL_EXIT_AFTER_FIRST_PAINT") == 1;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            m_window = qobject_cast<QWidget*>(watched) ? static_cast<QWidget*>(watched)->window()
                                                       : nullptr;
            // Queued: the rest of this paint pass and its flush come first.
            QMetaObject::invokeMethod(
                this, [this] { report(); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void report() const {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const long long cpuUs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
        const QSize window = m_window ? m_window->size() : QSize();
        std::printf("first-paint-ns %lld cpu-us %lld peak-rss-kb %ld window-px %d %d\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, cpuUs,
                    usage.ru_maxrss, window.width(), window.height());
        std::fflush(stdout);
        QApplication::exit(0);
    }

    bool m_seen = false;
    QWidget* m_window = nullptr;
};

} // namespace zel

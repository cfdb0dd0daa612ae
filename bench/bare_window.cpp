// A bare Qt Widgets window with one label: what any Qt program costs on this machine. Under
// ZELTOMIL_EXIT_AFTER_FIRST_PAINT=1 it reports its first paint exactly as the board does.
#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {
class ExitAfterFirstPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    timespec now{};
                    clock_gettime(CLOCK_MONOTONIC, &now);
                    rusage usage{};
                    getrusage(RUSAGE_SELF, &usage);
                    const long long cpuUs =
                        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                        usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
                    std::printf("first-paint-ns %lld cpu-us %lld peak-rss-kb %ld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                cpuUs, usage.ru_maxrss);
                    std::fflush(stdout);
                    QApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool m_seen = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("ゼルトミル"));
    ExitAfterFirstPaint firstPaint;
    if (qEnvironmentVariableIntValue("ZELTOMIL_EXIT_AFTER_FIRST_PAINT") == 1)
        label.installEventFilter(&firstPaint);
    label.show();
    return app.exec();
}

// Helpers for the tests that drive the real program on a real X server: running the X tools,
// waiting for a condition, reading window places and the screen's pixels.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <cmath>
#include <functional>
#include <optional>

namespace zel::e2e {

// The program is started at 96 DPI: 15 twips per pixel both ways.
inline constexpr double kTwips = 15;

// Runs one X tool; nullopt when it cannot be run or reports a failure. A busy X server can
// refuse a connection for a moment, so a tool that cannot open the display is tried again.
inline std::optional<QByteArray> runTool(const QString& program, const QStringList& args,
                                         int timeoutMs = 10000) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess process;
        process.start(program, args);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(1000);
            return std::nullopt;
        }
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return process.readAllStandardOutput();
        if (!process.readAllStandardError().contains("open display"))
            return std::nullopt;
        QTest::qWait(200);
    }
    return std::nullopt;
}

inline bool eventually(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (condition())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
}

inline int px(double twips) {
    return int(std::lround(twips / kTwips));
}

// A twip rectangle as screen pixels, given the top-left of the area it is measured from.
inline QRect onScreen(QPoint origin, const QRectF& twips) {
    return QRect(origin + QPoint(px(twips.left()), px(twips.top())),
                 QSize(px(twips.width()), px(twips.height())));
}

inline double share(const QImage& shot, const QRect& area, QRgb colour) {
    const QRect r = area.intersected(shot.rect());
    if (r.isEmpty())
        return 0;
    int hits = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            hits += (shot.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return double(hits) / (r.width() * r.height());
}

struct WindowInfo {
    QRect client;   // the window's inside, screen pixels
    QMargins frame; // the window manager's decorations
    QRect outer() const { return client.marginsAdded(frame); }
};

// Empty when the window does not exist (any more).
inline WindowInfo windowInfo(const QString& id) {
    const auto info = runTool("xwininfo", {"-id", id});
    if (!info)
        return {};
    auto field = [&](const char* name) {
        const QRegularExpression re(QStringLiteral("%1:\\s*(-?\\d+)").arg(QLatin1String(name)));
        return re.match(QString::fromUtf8(*info)).captured(1).toInt();
    };
    WindowInfo w;
    w.client = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                     field("Height"));
    if (const auto extents = runTool("xprop", {"-id", id, "-notype", "_NET_FRAME_EXTENTS"})) {
        const QRegularExpression re("= (\\d+), (\\d+), (\\d+), (\\d+)");
        const auto m = re.match(QString::fromUtf8(*extents));
        if (m.hasMatch())
            w.frame = QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                               m.captured(4).toInt());
    }
    return w;
}

inline bool windowManagerRuns() {
    const auto check = runTool("xprop", {"-root", "-notype", "_NET_SUPPORTING_WM_CHECK"});
    if (!check)
        return false;
    const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
    const auto match = id.match(QString::fromUtf8(*check));
    // A window manager that ended leaves the property behind: its window must still exist.
    return match.hasMatch() && runTool("xwininfo", {"-id", match.captured(1)}).has_value();
}

inline QStringList visibleWindowsOf(qint64 pid) {
    const auto found =
        runTool("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    return found ? QString::fromLatin1(*found).split('\n', Qt::SkipEmptyParts) : QStringList();
}

inline std::optional<QImage> grab() {
    const auto png = runTool("import", {"-window", "root", "png:-"});
    if (!png)
        return std::nullopt;
    QImage image = QImage::fromData(*png, "PNG");
    if (image.isNull())
        return std::nullopt;
    return image.convertToFormat(QImage::Format_RGB32);
}

inline void moveTo(QPoint screen) {
    runTool("xdotool",
            {"mousemove", "--sync", QString::number(screen.x()), QString::number(screen.y())});
}

inline void clickAt(QPoint screen) {
    moveTo(screen);
    runTool("xdotool", {"click", "1"});
}

} // namespace zel::e2e

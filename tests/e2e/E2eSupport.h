// Helpers for the tests that drive the real program on a real X server: running the X tools,
// waiting for a condition, reading window places and the screen's pixels, and one session of
// the program started in a folder of data files.
#pragma once

#include "support/DataFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>

namespace zel::e2e {

// The program is started at 96 DPI: 15 twips per pixel both ways.
inline constexpr double kTwips = 15;

const QRgb kBackground = qRgb(0, 0, 64);
const QRgb kTagColour = qRgb(0, 255, 255);
const QRgb kGreenFill = qRgb(128, 255, 128);
const QRgb kYellowFill = qRgb(255, 255, 0);

// Data file contents by name; two stand-ins say there is no such file or a folder instead.
using Files = QMap<QString, QByteArray>;
const QByteArray kMissing = "<missing>";
const QByteArray kDirectory = "<directory>";

const QStringList kDataFiles = {"zelpath.dat", "zelpara.dat", "zelprsn.dat",
                                "zelto1.dat",  "zelto2.dat",  "zeljob.dat"};
const QStringList kPersons = {"佐藤 花子",   "鈴木 一郎", "高橋 美咲", "田中 健太",
                              "伊藤 さくら", "渡辺 翔",   "山本 陽菜"};
const QStringList kGreen = {"掃除当番", "日直", "黒板", "給食"};
const QStringList kYellow = {"司会", "書記", "会計"};
// Green 掃除当番 and yellow 書記 for 佐藤, green 黒板 for 渡辺 (green codes count from 100).
const QByteArray kStartJob = " 3\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n";
// Written files are dated back to this, so that a rewrite with the same bytes shows.
const QDateTime kStartTime(QDate(2001, 1, 1), QTime(12, 0), Qt::UTC);

inline QByteArray listFile(const QStringList& names) {
    return zel::test::cp932Lines(QStringList{" " + QString::number(names.size())} + names);
}

inline Files with(Files files, const Files& changes) {
    for (auto it = changes.begin(); it != changes.end(); ++it)
        files[it.key()] = it.value();
    return files;
}

// Seven persons in columns of four, four green duties and three yellow ones.
inline Files startRoster() {
    return {{"zelpath.dat", "\"\"\r\n"},
            {"zelpara.dat", " 4\r\n 3\r\n 1200\r\n 300\r\n 10\r\n"},
            {"zelprsn.dat", listFile(kPersons)},
            {"zelto1.dat", listFile(kGreen)},
            {"zelto2.dat", listFile(kYellow)},
            {"zeljob.dat", kStartJob}};
}

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

template <typename Condition> bool eventually(Condition condition, int timeoutMs) {
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
            hits += shot.pixel(x, y) == colour;
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

inline QString windowName(const QString& id) {
    return QString::fromUtf8(runTool("xdotool", {"getwindowname", id}).value_or("")).trimmed();
}

inline bool windowManagerRuns() {
    const auto check = runTool("xprop", {"-root", "-notype", "_NET_SUPPORTING_WM_CHECK"});
    const auto match = QRegularExpression("window id # (0x[0-9a-fA-F]+)")
                           .match(QString::fromUtf8(check.value_or(QByteArray())));
    // A window manager that ended leaves the property behind: its window must still exist.
    return match.hasMatch() && runTool("xwininfo", {"-id", match.captured(1)}).has_value();
}

inline std::optional<QImage> grab() {
    const auto png = runTool("import", {"-window", "root", "png:-"});
    const QImage image = QImage::fromData(png.value_or(QByteArray()), "PNG");
    return image.isNull() ? std::nullopt
                          : std::optional(image.convertToFormat(QImage::Format_RGB32));
}

inline QPoint pointer() {
    const QString out = QString::fromLatin1(
        runTool("xdotool", {"getmouselocation", "--shell"}).value_or(QByteArray()));
    const auto m = QRegularExpression("X=(\\d+)\\s+Y=(\\d+)").match(out);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
}

inline void moveTo(QPoint screen) {
    runTool("xdotool",
            {"mousemove", "--sync", QString::number(screen.x()), QString::number(screen.y())});
}

inline void click() {
    runTool("xdotool", {"click", "1"});
}
inline void clickAt(QPoint screen) {
    moveTo(screen);
    click();
}

inline void pressKeys(const QString& keys) {
    runTool("xdotool", {"key", "--clearmodifiers", keys});
}

// The caption alternates every second while the program runs and listens.
inline bool captionBlinks(const QString& window) {
    QStringList seen;
    return eventually(
        [&] {
            seen << windowName(window);
            seen.removeDuplicates();
            return seen.contains("ゼルトミル") && seen.contains("ぜるとみる");
        },
        6000);
}

struct Mark {
    int code, person, offset;
    bool green() const { return code >= 100; }
};

// The board the program lays out for four names a column, in twips from the board's top-left.
struct Layout {
    static constexpr int kPerColumn = 4;
    static constexpr double kTagHeight = 300;
    static constexpr double kRowPitch = 1.2 * kTagHeight;

    int persons = 7;
    double tagWidth = 1200;
    int greenChars = 4;
    int yellowChars = 2;
    std::vector<Mark> marks = marksOf(kStartJob);

    // The job file as the program writes it: count line, then duty, person, offset.
    static std::vector<Mark> marksOf(const QByteArray& job) {
        std::vector<Mark> marks;
        for (const QByteArray& line : job.trimmed().split('\n').mid(1)) {
            const QList<QByteArray> f = line.simplified().split(' ');
            marks.push_back({f.value(0).toInt(), f.value(1).toInt(), f.value(2).toInt()});
        }
        return marks;
    }
    int chars(bool green) const { return green ? greenChars : yellowChars; }
    QSizeF markerSize(bool green) const { return {chars(green) * 300.0 + 30, kRowPitch - 25}; }
    double columnPitch() const {
        std::map<int, int> widths;
        int widest = 0;
        for (const Mark& m : marks)
            widest = std::max(widest, widths[m.person] += chars(m.green()));
        return std::max(tagWidth + 400 + widest * 300.0, tagWidth + 1500);
    }
    double width() const { return (persons + kPerColumn - 1) / kPerColumn * columnPitch() + 350; }
    static double tagAreaBottom() { return kPerColumn * kRowPitch + kTagHeight / 5; }
    static double height() { return tagAreaBottom() + 1100; }
    QRectF tag(int p) const {
        return {(p / kPerColumn) * columnPitch() + 100,
                (p % kPerColumn) * kRowPitch + kTagHeight / 5, tagWidth, kTagHeight};
    }
    QRectF marker(const Mark& m) const {
        return {QPointF((m.person / kPerColumn) * columnPitch() + m.offset + 100 + tagWidth + 100,
                        (m.person % kPerColumn) * kRowPitch + kTagHeight / 5 - 20),
                markerSize(m.green())};
    }
};

// One run of the program in a folder of its own. Each step returns false and says why in `why`.
struct Session {
    std::unique_ptr<QProcess> windowManager;
    std::unique_ptr<zel::test::DataFolder> folder;
    std::unique_ptr<QProcess> program;
    Files written; // the files as the session started
    QString window;
    QPoint origin; // the board's top-left on screen
    QString why;

    // Once per test case: the X tools are there and a window manager runs (openbox is started
    // when none does). Colours are compared exactly: the screen needs 24 bits.
    bool prepare() {
        for (const char* tool : {"xdotool", "xwininfo", "xprop", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return fail(QStringLiteral("%1 is not installed").arg(tool));
        if (!windowManagerRuns()) {
            windowManager = std::make_unique<QProcess>();
            windowManager->start("openbox", {"--sm-disable"});
            if (!eventually(windowManagerRuns, 20000))
                return fail("no window manager runs and openbox did not take over the display");
        }
        return true;
    }
    ~Session() {
        stop(program.get());
        stop(windowManager.get());
    }

    // Writes the files into a new folder, dated back, and starts the program there; it shows
    // one decorated window.
    bool start(const Files& files) {
        folder = std::make_unique<zel::test::DataFolder>();
        written = files;
        for (auto it = files.begin(); it != files.end(); ++it) {
            if (it.value() == kDirectory)
                QDir(folder->path()).mkpath(it.key());
            if (it.value() == kMissing || it.value() == kDirectory)
                continue;
            folder->write(it.key(), it.value());
            QFile file(folder->file(it.key()));
            if (!file.open(QIODevice::ReadWrite) ||
                !file.setFileTime(kStartTime, QFileDevice::FileModificationTime))
                return fail("cannot date back " + it.key());
        }
        program = std::make_unique<QProcess>();
        program->setWorkingDirectory(folder->path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("QT_FONT_DPI", "96");
        program->setProcessEnvironment(env);
        program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program->start(QStringLiteral(ZELTOMIL_BINARY), {});
        if (!program->waitForStarted(10000))
            return fail(program->errorString());
        const bool shown = eventually(
            [this] {
                const QStringList all = windows();
                window = all.value(0);
                return program->state() == QProcess::Running && all.size() == 1 &&
                       windowInfo(window).frame.top() > 0;
            },
            20000);
        if (program->state() != QProcess::Running)
            return fail(
                QStringLiteral("the program ended at start (exit %1)").arg(program->exitCode()));
        return shown || fail("the program's decorated window did not appear");
    }

    QStringList windows() const {
        const QStringList args{"search", "--onlyvisible", "--pid",
                               QString::number(program->processId())};
        return QString::fromLatin1(runTool("xdotool", args).value_or(""))
            .split('\n', Qt::SkipEmptyParts);
    }

    // Away from the screen's corner, so that nothing depends on the window standing at (0, 0).
    bool placeWindow(QPoint at) {
        runTool("xdotool",
                {"windowmove", window, QString::number(at.x()), QString::number(at.y())});
        return eventually([&] { return windowInfo(window).outer().topLeft() == at; }, 10000) ||
               fail("the window manager did not move the window");
    }

    // Every name tag and marker of the layout is drawn, the tag place after the last person is
    // empty, and nothing marker-coloured is seen among the tags elsewhere (no carried marker).
    bool boardShows(const Layout& layout, const QString& step) {
        QString problem;
        eventually([&] { return (problem = boardProblem(layout)).isEmpty(); }, 8000);
        return problem.isEmpty() || fail(step + ": " + problem);
    }
    QString boardProblem(const Layout& layout) {
        const auto shot = grab();
        const QRect client = windowInfo(window).client;
        if (!shot || client.isEmpty())
            return "no screenshot or no window";
        // The board's top-left: the first dark blue pixel under the menu bar.
        int top = client.top();
        int left = client.left();
        while (top < client.bottom() && shot->pixel(client.left() + 1, top) != kBackground)
            ++top;
        while (left <= client.right() && shot->pixel(left, top) != kBackground)
            ++left;
        origin = QPoint(left, top);
        if (left > client.right())
            return "no dark blue board area in the main window";
        for (int p = 0; p <= layout.persons; ++p) {
            const QRect tag = onScreen(origin, layout.tag(p)).adjusted(1, 1, -1, -1);
            if (const double cyan = share(*shot, tag, kTagColour);
                (p < layout.persons) != (cyan > 0.5))
                return QStringLiteral("tag %1 is %2% cyan").arg(p).arg(cyan * 100);
        }
        QList<QRect> markers;
        for (const Mark& m : layout.marks) {
            markers << onScreen(origin, layout.marker(m)).adjusted(-2, -2, 2, 2);
            if (share(*shot, markers.last().adjusted(3, 3, -3, -3),
                      m.green() ? kGreenFill : kYellowFill) < 0.3)
                return QStringLiteral("no marker %1 of person %2").arg(m.code).arg(m.person);
        }
        const QRect tagArea =
            onScreen(origin, QRectF(0, 0, layout.width() - 120, Layout::tagAreaBottom()));
        for (int y = tagArea.top(); y <= tagArea.bottom(); ++y)
            for (int x = tagArea.left(); x <= tagArea.right(); ++x)
                if ((shot->pixel(x, y) == kGreenFill || shot->pixel(x, y) == kYellowFill) &&
                    std::none_of(markers.begin(), markers.end(),
                                 [&](const QRect& r) { return r.contains(x, y); }))
                    return QStringLiteral("a marker picture at (%1, %2) of the board")
                        .arg(x - left)
                        .arg(y - top);
        return {};
    }

    // The folder holds the start files with `changes` applied; the files not changed were not
    // rewritten either.
    bool filesAre(const Files& changes, const QString& step) {
        const Files expected = with(written, changes);
        auto holds = [&](const QString& name) {
            const QFileInfo info(folder->file(name));
            const QByteArray bytes = expected[name];
            if (bytes == kMissing || bytes == kDirectory)
                return info.exists() == (bytes == kDirectory) && info.isDir() == info.exists();
            return info.isFile() && folder->read(name) == bytes;
        };
        eventually([&] { return std::all_of(expected.keyBegin(), expected.keyEnd(), holds); },
                   10000);
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            if (!holds(it.key()))
                return fail(
                    QStringLiteral("%1: %2 holds\n%3\ninstead of\n%4")
                        .arg(step, it.key(),
                             QString::fromLatin1(folder->read(it.key()).toPercentEncoding(" ")),
                             QString::fromLatin1(it.value().toPercentEncoding(" "))));
            const QFileInfo info(folder->file(it.key()));
            if (!changes.contains(it.key()) && info.isFile() && info.lastModified() != kStartTime)
                return fail(QStringLiteral("%1: %2 was rewritten").arg(step, it.key()));
        }
        return true;
    }

    bool fail(const QString& reason) {
        why = reason;
        return false;
    }
    static void stop(QProcess* process) {
        if (!process || process->state() == QProcess::NotRunning)
            return;
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(2000);
    }
};

// A step of a test through its session `s`: fails the test with the session's reason.
#define STEP(expr) QVERIFY2((expr), qPrintable(s.why))

} // namespace zel::e2e

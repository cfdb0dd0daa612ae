// Helpers for the tests that drive the real program on a real X server with a window manager.
// They ask the program nothing: what they know comes from pixels, the pointer and the files.
#pragma once

#include "support/DataFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <memory>

namespace zel::e2e {

const QRgb kBackground = qRgb(0, 0, 64);
const QRgb kTagColour = qRgb(0, 255, 255);
const QRgb kGreenFill = qRgb(128, 255, 128);
const QRgb kYellowFill = qRgb(255, 255, 0);

// Data file contents by name; two stand-ins say there is no such file or a folder instead.
using Files = QMap<QString, QByteArray>;
const QByteArray kMissing = "<missing>";
const QByteArray kDirectory = "<directory>";

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

// Seven persons in columns of four, tags 1200 twips wide, four green duties and three yellow.
inline Files startRoster() {
    return {{"zelpath.dat", "\"\"\r\n"},
            {"zelpara.dat", " 4\r\n 3\r\n 1200\r\n 300\r\n 10\r\n"},
            {"zelprsn.dat", listFile(kPersons)},
            {"zelto1.dat", listFile(kGreen)},
            {"zelto2.dat", listFile(kYellow)},
            {"zeljob.dat", kStartJob}};
}

// A colour expected (or not) around a pixel of the board, counted from the board's top-left;
// spots lie in the strip under the texts of a row's tags and markers. The start board at 96
// DPI: tag p at (7 + 227 * (p / 4), 4 + 24 * (p % 4)), 80 x 20 pixels; green markers 82 x 22,
// yellow ones 42 x 22; 佐藤's markers centred at (134, 14) and (194, 14), 渡辺's at (361, 41).
struct Spot {
    int x, y;
    QRgb colour;
    bool shown = true;
};
using Spots = QList<Spot>;
inline const Spots kStartBoard = {{47, 21, kTagColour},         {273, 69, kTagColour},
                                  {273, 93, kTagColour, false}, {134, 21, kGreenFill},
                                  {194, 21, kYellowFill},       {361, 45, kGreenFill}};

// Runs one X tool: its output, empty when it fails. A busy X server can refuse a connection
// for a moment, so a tool that cannot open the display is tried again.
inline QByteArray run(const QString& program, const QStringList& args) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess process;
        process.start(program, args);
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished(1000);
        } else if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
            return process.readAllStandardOutput();
        }
        if (!process.readAllStandardError().contains("open display"))
            break;
        QTest::qWait(200);
    }
    return {};
}
inline QByteArray xdo(const QStringList& args) {
    return run("xdotool", args);
}
inline void moveTo(QPoint p) {
    xdo({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
}
inline void clickAt(QPoint p) {
    moveTo(p);
    xdo({"click", "1"});
}

template <typename Condition> bool eventually(Condition condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The whole screen; a null image when it cannot be had.
inline QImage grab() {
    return QImage::fromData(run("import", {"-window", "root", "png:-"}), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

inline double share(const QImage& shot, const QRect& area, QRgb colour) {
    const QRect r = area.intersected(shot.rect());
    int hits = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            hits += shot.pixel(x, y) == colour;
    return r.isEmpty() ? 0 : double(hits) / (r.width() * r.height());
}

// True when the window gives the window manager and the task bar the program's own icon (Qt
// gives a window without one a generic picture): its 32-pixel icon is the one in resources/.
inline bool hasProgramIcon(const QString& id) {
    const QString property = QString::fromLatin1(
        run("xprop", {"-id", id, "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON"}));
    const QStringList words = property.section('=', 1).split(',', Qt::SkipEmptyParts);
    const QImage expected(qEnvironmentVariable("ZELTOMIL_SOURCE_DIR") +
                          "/resources/icons/zeltomil-32.png");
    for (qsizetype at = 0; at + 2 <= words.size();) { // width, height, then ARGB pixels
        const int width = words[at].trimmed().toInt(), height = words[at + 1].trimmed().toInt();
        at += 2;
        if (width <= 0 || height <= 0 || at + width * height > words.size())
            return false;
        if (QSize(width, height) == expected.size()) {
            int same = 0;
            for (int i = 0; i < width * height; ++i) {
                const QRgb got = words[at + i].trimmed().toUInt();
                const QRgb want = expected.pixel(i % width, i / width);
                same += qAbs(qRed(got) - qRed(want)) + qAbs(qGreen(got) - qGreen(want)) +
                            qAbs(qBlue(got) - qBlue(want)) + qAbs(qAlpha(got) - qAlpha(want)) <=
                        8;
            }
            return same >= width * height * 95 / 100;
        }
        at += width * height;
    }
    return false;
}

struct WindowInfo {
    QRect client;   // the window's inside, screen pixels; empty when there is no such window
    QMargins frame; // the window manager's decorations
    QRect outer() const { return client.marginsAdded(frame); }
};
inline WindowInfo windowInfo(const QString& id) {
    const QString info = run("xwininfo", {"-id", id});
    auto field = [&](const QString& name) {
        return QRegularExpression(name + ":\\s*(-?\\d+)").match(info).captured(1).toInt();
    };
    const auto m = QRegularExpression("= (\\d+), (\\d+), (\\d+), (\\d+)")
                       .match(run("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}));
    return {QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                  field("Height")),
            QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                     m.captured(4).toInt())};
}

// One run of the program in a folder of its own; each step returns false and says why in `why`.
struct Session {
    std::unique_ptr<zel::test::DataFolder> folder;
    std::unique_ptr<zel::test::DataFolder> config; // the program's XDG_CONFIG_HOME
    std::unique_ptr<QProcess> program;
    // The program's undo history goes here, never into the user's own state folder.
    std::unique_ptr<QTemporaryDir> stateHome;
    Files written; // the files as the session started
    QString window;
    QPoint origin; // the board's top-left on screen
    QString why;
    QStringList launcher;    // runs the program through these (setpriv as another user, say)
    bool keepErrors = false; // stderr stays in `program` for the test to read
    // Runs on the new folder once the files are written, before the program starts: FIFOs,
    // links, permissions, files that must not be dated back.
    std::function<bool(const QString& folder)> prepareFolder;

    ~Session() { stop(); }

    // A window manager runs (openbox, say) whose window still exists; the screen has 24 bits.
    bool prepare() {
        qputenv("QT_QPA_PLATFORM", "xcb"); // for the program started
        qputenv("QT_FONT_DPI", "96");
        const auto m = QRegularExpression("window id # (0x[0-9a-fA-F]+)")
                           .match(run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}));
        return (m.hasMatch() && !run("xwininfo", {"-id", m.captured(1)}).isEmpty()) ||
               fail("no window manager runs on the display, or xprop or xwininfo is missing");
    }

    // Writes the files into a new folder, dated back, and starts the program there; it shows
    // one decorated window with a board in it. The program's settings start empty, or are the
    // last session's when kept.
    bool start(const Files& files, bool keepSettings = false) {
        folder = std::make_unique<zel::test::DataFolder>();
        if (!config || !keepSettings)
            config = std::make_unique<zel::test::DataFolder>();
        written = files;
        for (const auto& [name, bytes] : files.asKeyValueRange()) {
            if (bytes == kDirectory)
                QDir(folder->path()).mkpath(name);
            if (bytes == kMissing || bytes == kDirectory)
                continue;
            folder->write(name, bytes);
            QFile file(folder->file(name));
            if (!file.open(QIODevice::ReadWrite) ||
                !file.setFileTime(kStartTime, QFile::FileModificationTime))
                return fail("cannot date back " + name);
        }
        if (prepareFolder && !prepareFolder(folder->path()))
            return fail("cannot prepare the folder");
        program = std::make_unique<QProcess>();
        program->setWorkingDirectory(folder->path());
        stateHome = std::make_unique<QTemporaryDir>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", stateHome->path());
        environment.insert("XDG_CONFIG_HOME", config->path());
        program->setProcessEnvironment(environment);
        program->setProcessChannelMode(keepErrors ? QProcess::SeparateChannels
                                                  : QProcess::ForwardedErrorChannel);
        if (launcher.isEmpty())
            program->start(QStringLiteral(ZELTOMIL_BINARY), {});
        else
            program->start(launcher.first(), launcher.mid(1) << QStringLiteral(ZELTOMIL_BINARY));
        if (!program->waitForStarted(10000))
            return fail(program->errorString());
        const bool shown = eventually(
            [this] {
                const QStringList all = windows();
                window = all.value(0);
                return program->state() != QProcess::Running ||
                       (all.size() == 1 && windowInfo(window).frame.top() > 0 && findBoard());
            },
            20000);
        if (program->state() != QProcess::Running)
            return fail(
                QStringLiteral("the program ended at start (exit %1)").arg(program->exitCode()));
        return shown || fail("no decorated window with a dark blue board appeared");
    }

    QStringList windows() const {
        return QString::fromLatin1(
                   xdo({"search", "--onlyvisible", "--pid", QString::number(program->processId())}))
            .split('\n', Qt::SkipEmptyParts);
    }

    // The program's second window (a picker, a question, the help) while it shows two; else empty.
    QString otherWindow() const {
        const QStringList all = windows();
        return all.size() == 2 ? all[all[0] == window ? 1 : 0] : QString();
    }

    // Presses a picker button under the tag area; the picker stands directly under the window
    // (checked unless `underTheWindow` is false: with two boards on one screen the window
    // manager may have to place it elsewhere). A press on an entry (pixels from the picker's
    // inside) closes it and puts the pointer in the middle of the board, 300 twips above the
    // buttons.
    bool pick(bool green, QPoint entry, bool underTheWindow = true) {
        clickAt(origin + QPoint(green ? 50 : 17, 113));
        QPoint at;
        const bool shown = eventually(
            [&] {
                const QString other = otherWindow();
                const WindowInfo picker = windowInfo(other);
                at = picker.client.topLeft() + entry;
                return !other.isEmpty() &&
                       (!underTheWindow ||
                        picker.outer().topLeft() ==
                            windowInfo(window).outer().bottomLeft() + QPoint(0, 1)) &&
                       share(grab(), QRect(at - QPoint(3, 1), QSize(7, 3)),
                             green ? kGreenFill : kYellowFill) > 0.4;
            },
            10000);
        if (!shown)
            return fail("no picker with the entry under the window");
        clickAt(at);
        if (!eventually([&] { return windows() == QStringList{window}; }, 10000))
            return fail("the picker did not close after the pick");
        auto warped = [&] { // "x:234 y:111 screen:0 window:..."
            const QList<QByteArray> xy = xdo({"getmouselocation"}).split(' ');
            const QPoint at(xy.value(0).mid(2).toInt(), xy.value(1).mid(2).toInt());
            return (at - origin - QPoint(234, 111)).manhattanLength() <= 2;
        };
        return eventually(warped, 5000) || fail("after the pick the pointer is not on the board");
    }

    // Away from the screen's corner, so that nothing depends on the window standing at (0, 0).
    bool placeWindow(QPoint at) {
        xdo({"windowmove", window, QString::number(at.x()), QString::number(at.y())});
        return eventually([&] { return windowInfo(window).outer().topLeft() == at; }, 10000) ||
               fail("the window manager did not move the window");
    }

    // Sets `origin` to the first dark blue pixel under the menu bar of the window.
    bool findBoard(const QImage& shot = grab()) {
        const QRect client = windowInfo(window).client.intersected(shot.rect());
        if (client.isEmpty())
            return false;
        int top = client.top(), left = client.left();
        while (top < client.bottom() && shot.pixel(client.left() + 1, top) != kBackground)
            ++top;
        while (left <= client.right() && shot.pixel(left, top) != kBackground)
            ++left;
        origin = QPoint(left, top);
        return left <= client.right();
    }

    bool boardShows(const Spots& spots, const QString& step, int withinMs = 8000) {
        QString problem;
        eventually(
            [&] {
                const QImage shot = grab();
                problem = findBoard(shot) ? "" : "no board";
                for (const Spot& s : spots)
                    if ((share(shot, QRect(origin + QPoint(s.x - 3, s.y - 1), QSize(7, 3)),
                               s.colour) > 0.4) != s.shown)
                        problem +=
                            QStringLiteral(" colour %1 %2 at (%3, %4);")
                                .arg(QString::number(s.colour, 16), s.shown ? "missing" : "seen",
                                     QString::number(s.x), QString::number(s.y));
                return problem.isEmpty();
            },
            withinMs);
        return problem.isEmpty() || fail(step + ":" + problem);
    }

    // The folder holds the start files with `changes` applied; the files not changed were not
    // rewritten either.
    bool filesAre(const Files& changes, const QString& step) {
        Files expected = written;
        expected.insert(changes);
        QString found;
        eventually(
            [&] {
                found.clear();
                for (const auto& [name, bytes] : expected.asKeyValueRange()) {
                    const QFileInfo info(folder->file(name));
                    if (bytes == kMissing || bytes == kDirectory
                            ? info.exists() != (bytes == kDirectory) || info.isFile()
                            : !info.isFile() || folder->read(name) != bytes)
                        found += QStringLiteral("\n%1 holds %2 instead of %3")
                                     .arg(name, folder->read(name).toPercentEncoding(" "),
                                          bytes.toPercentEncoding(" "));
                    else if (!changes.contains(name) && info.isFile() &&
                             info.lastModified() != kStartTime)
                        found += "\n" + name + " was rewritten";
                }
                return found.isEmpty();
            },
            10000);
        return found.isEmpty() || fail(step + ":" + found);
    }

    bool fail(const QString& reason) {
        why = reason;
        return false;
    }
    void stop() {
        if (!program || program->state() == QProcess::NotRunning)
            return;
        program->terminate();
        if (!program->waitForFinished(5000))
            program->kill();
        program->waitForFinished(2000);
    }
};

// A step of a test through its session `s`: fails the test with the session's reason.
#define STEP(expr) QVERIFY2((expr), qPrintable(s.why))

// A test case's start: skipped without an X display; needs a window manager.
#define PREPARE_E2E()                                                                              \
    if (qEnvironmentVariableIsEmpty("DISPLAY"))                                                    \
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");                \
    STEP(s.prepare())

} // namespace zel::e2e

// Drives the real program on a real X server with a window manager and the real pointer
// (xdotool), reads the data files' bytes and the screen's pixels (ImageMagick's import).
#include "support/DataFolder.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

using zel::test::DataFolder;

namespace {

// The program is started at 96 DPI: 15 twips per pixel both ways.
constexpr double kTwips = 15;

const QRgb kBackground = qRgb(0, 0, 64);
const QRgb kTagColour = qRgb(0, 255, 255);
const QRgb kGreenFill = qRgb(128, 255, 128);
const QRgb kYellowFill = qRgb(255, 255, 0);

const QStringList kDataFiles = {"zelpath.dat", "zelpara.dat", "zelprsn.dat",
                                "zelto1.dat",  "zelto2.dat",  "zeljob.dat"};

// Three markers: green 掃除当番 and yellow 書記 for 佐藤, green 黒板 for 渡辺.
const QByteArray kStartJob = " 3\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n";
// The data files are dated back to this, so that a rewrite with the same bytes shows.
const QDateTime kStartTime(QDate(2001, 1, 1), QTime(12, 0), Qt::UTC);

// Runs one X tool; nullopt when it cannot be run or reports a failure. A busy X server can
// refuse a connection for a moment, so a tool that cannot open the display is tried again.
std::optional<QByteArray> runTool(const QString& program, const QStringList& args,
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

bool eventually(const std::function<bool()>& condition, int timeoutMs) {
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

int px(double twips) {
    return int(std::lround(twips / kTwips));
}

// A twip rectangle on the board as screen pixels, given the board's top-left on screen.
QRect onScreen(QPoint origin, const QRectF& twips) {
    return QRect(origin + QPoint(px(twips.left()), px(twips.top())),
                 QSize(px(twips.width()), px(twips.height())));
}

double share(const QImage& shot, const QRect& area, QRgb colour) {
    const QRect r = area.intersected(shot.rect());
    if (r.isEmpty())
        return 0;
    int hits = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            hits += (shot.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return double(hits) / (r.width() * r.height());
}

bool isMarkerFill(QRgb pixel) {
    const QRgb p = pixel & 0xffffff;
    return p == (kGreenFill & 0xffffff) || p == (kYellowFill & 0xffffff);
}

struct Mark {
    int code = 0;
    int person = 0;
    int offset = 0;
    bool green() const { return code >= 100; }
};

// The roster of every case: seven persons in columns of four, four green duties (longest name
// four characters) and three yellow ones (two characters), and the board the program lays out
// for it, in twips from the board area's top-left corner.
struct Roster {
    static constexpr int kPersons = 7;
    static constexpr int kPerColumn = 4;
    static constexpr int kDutiesPerColumn = 3;
    static constexpr double kTagWidth = 1200;
    static constexpr double kTagHeight = 300;
    static constexpr double kRowPitch = 1.2 * kTagHeight;
    static constexpr int kGreenChars = 4;
    static constexpr int kYellowChars = 2;

    std::vector<Mark> marks;

    // The job file as the program writes it: count line, then duty, person, offset.
    static std::optional<Roster> fromJob(const QByteArray& bytes) {
        QList<QByteArray> lines = bytes.split('\n');
        if (lines.isEmpty() || !bytes.endsWith("\r\n"))
            return std::nullopt;
        lines.removeLast();
        Roster roster;
        bool ok = false;
        const int count = lines.value(0).trimmed().toInt(&ok);
        if (!ok || count != lines.size() - 1)
            return std::nullopt;
        for (int i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> f = lines[i].simplified().split(' ');
            if (f.size() != 3)
                return std::nullopt;
            roster.marks.push_back({f[0].toInt(), f[1].toInt(), f[2].toInt()});
        }
        return roster;
    }

    static int chars(const Mark& m) { return m.green() ? kGreenChars : kYellowChars; }
    static QSizeF markerSize(bool green) {
        return {(green ? kGreenChars : kYellowChars) * 300.0 + 30, kRowPitch - 25};
    }
    static int column(int p) { return p / kPerColumn; }
    static int row(int p) { return p % kPerColumn; }

    double columnPitch() const {
        std::map<int, int> widths;
        int widest = 0;
        for (const Mark& m : marks)
            widest = std::max(widest, widths[m.person] += chars(m));
        return std::max(kTagWidth + 400 + widest * 300.0, kTagWidth + 1500);
    }
    static double tagAreaBottom() { return kPerColumn * kRowPitch + kTagHeight / 5; }
    double windowWidth() const { return 2 * columnPitch() + 350; } // two columns
    static double windowHeight() { return tagAreaBottom() + 1100; }

    QRectF tag(int p) const {
        return {column(p) * columnPitch() + 100, row(p) * kRowPitch + kTagHeight / 5, kTagWidth,
                kTagHeight};
    }
    QRectF marker(int i) const {
        const Mark& m = marks[i];
        return QRectF(QPointF(column(m.person) * columnPitch() + m.offset + 100 + kTagWidth + 100,
                              row(m.person) * kRowPitch + kTagHeight / 5 - 20),
                      markerSize(m.green()));
    }
    QRectF commandButton(int number) const {
        const double top = tagAreaBottom() + 25;
        if (number == 1)
            return {500, top, 500, 350};
        if (number == 2)
            return {0, top, 500, 350};
        return {windowWidth() - 450, top, 300, 350};
    }
    double trashZoneStart() const {
        return std::max(windowHeight() - kRowPitch - 780, kPerColumn * kRowPitch);
    }
    // A pointer place in person p's row (or in an empty place of the grid) where a carried
    // marker of the given width sits centred on the pointer, clear of the tags.
    QPointF rowPoint(int p, double carriedWidth) const {
        return {column(p) * columnPitch() + kTagWidth + 200 + carriedWidth / 2 + 150,
                row(p) * kRowPitch + 40 + kRowPitch / 2};
    }
    // A pointer place in the trash zone that the carried marker can still reach.
    QPointF trashPoint(double carriedHeight) const {
        const double lowestCentre =
            std::max(windowHeight() - 1050, trashZoneStart() - carriedHeight / 2) +
            carriedHeight / 2;
        return {windowWidth() / 2 - 60, (trashZoneStart() + lowestCentre) / 2};
    }
    // Where a pick puts the pointer: the middle of the window, 300 twips above its bottom.
    QPointF pickPointer() const { return {windowWidth() / 2 - 60, windowHeight() - 930}; }
};

// Entry k's frame in a picker, in twips from the picker's top-left corner.
QRectF pickerEntry(int k, int chars) {
    const double w = 300.0 * chars;
    const double p = Roster::kRowPitch;
    return {(k / Roster::kDutiesPerColumn) * w + 100, (k % Roster::kDutiesPerColumn) * p + 85, w,
            p - 80};
}

struct WindowInfo {
    QRect client;   // the window's inside, screen pixels
    QMargins frame; // the window manager's decorations
    QRect outer() const { return client.marginsAdded(frame); }
};

} // namespace

class AssignEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void assignGreenDuty_data();
    void assignGreenDuty();
    void dropBesideEveryTagIsRefused();
    void carriedMarkerCentredOnPointer_data();
    void carriedMarkerCentredOnPointer();
    void moveMarker_data();
    void moveMarker();
    void removeMarkerInTrash_data();
    void removeMarkerInTrash();
    void cancelPlacementInTrash();
    void clearAll_data();
    void clearAll();
    void quitFromMenu_data();
    void quitFromMenu();
    void captionAlternates();

  private:
    // X helpers; each returns false and sets m_why when something did not happen.
    bool windowManagerRuns() const;
    // Empty when the window does not exist (any more).
    WindowInfo windowInfo(const QString& id) const;
    QStringList visibleWindows() const;
    std::optional<QImage> grab() const;
    QPoint pointer() const;
    void moveTo(QPoint screen) const;
    void clickAt(QPoint screen) const;
    void click() const;
    bool findBoard(const QImage& shot);
    QPoint board(QPointF twips) const { return m_origin + QPoint(px(twips.x()), px(twips.y())); }
    bool boardShows(const Roster& roster, const QString& step);
    bool jobBecomes(const QByteArray& expected, const QString& step);
    bool nothingWritten(int forMs, const QString& step);
    bool openPicker(bool green, const Roster& roster);
    bool pickDuty(bool green, int k, const Roster& roster);
    void carryTo(QPointF twips);
    bool pickUp(const Roster& roster, int markerIndex);
    std::optional<QPoint> carriedCentreNear(QPoint pointerAt, QSize size, bool green) const;
    std::optional<QPoint> quitItem();
    void saveShot(const QString& name, const QRect& area) const;

    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<DataFolder> m_folder;
    std::unique_ptr<QProcess> m_program;
    QString m_window;
    QPoint m_origin;
    bool m_boardFound = false; // m_origin has been seen with the whole board drawn around it
    QString m_pickerWindow;
    QString m_why;
};

bool AssignEndToEndTest::windowManagerRuns() const {
    const auto check = runTool("xprop", {"-root", "-notype", "_NET_SUPPORTING_WM_CHECK"});
    if (!check)
        return false;
    const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
    const auto match = id.match(QString::fromUtf8(*check));
    // A window manager that ended leaves the property behind: its window must still exist.
    return match.hasMatch() && runTool("xwininfo", {"-id", match.captured(1)}).has_value();
}

void AssignEndToEndTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");
    for (const char* tool : {"xdotool", "xwininfo", "xprop", "import"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
    // Colours are compared exactly.
    const QByteArray root = runTool("xwininfo", {"-root"}).value_or(QByteArray());
    QVERIFY2(QRegularExpression("Depth: (24|32)\\b").match(QString::fromLatin1(root)).hasMatch(),
             "the X screen needs 24-bit colour (Xvfb -screen 0 1280x1024x24)");
    if (!windowManagerRuns()) {
        QVERIFY2(!QStandardPaths::findExecutable("openbox").isEmpty(),
                 "no window manager runs and openbox is not installed");
        m_windowManager = std::make_unique<QProcess>();
        m_windowManager->start("openbox", {"--sm-disable"});
        QVERIFY(m_windowManager->waitForStarted(5000));
        QVERIFY2(eventually([this] { return windowManagerRuns(); }, 10000),
                 "openbox did not take over the display");
    }
    QVERIFY(QFileInfo(QStringLiteral(ZELTOMIL_BINARY)).isExecutable());
}

void AssignEndToEndTest::cleanupTestCase() {
    if (m_windowManager) {
        m_windowManager->terminate();
        if (!m_windowManager->waitForFinished(3000))
            m_windowManager->kill();
        m_windowManager->waitForFinished(1000);
    }
}

void AssignEndToEndTest::init() {
    m_folder = std::make_unique<DataFolder>();
    const DataFolder& f = *m_folder;
    f.writeLines("zelpath.dat", {"\"\""});
    f.writeLines("zelpara.dat", {" 4", " 3", " 1200", " 300", " 10"});
    f.writeLines("zelprsn.dat", {" 7", "佐藤 花子", "鈴木 一郎", "高橋 美咲", "田中 健太",
                                 "伊藤 さくら", "渡辺 翔", "山本 陽菜"});
    f.writeLines("zelto1.dat", {" 4", "掃除当番", "日直", "黒板", "給食"});
    f.writeLines("zelto2.dat", {" 3", "司会", "書記", "会計"});
    f.write("zeljob.dat", kStartJob);
    for (const QString& name : kDataFiles) {
        QFile file(f.file(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(kStartTime, QFileDevice::FileModificationTime));
    }

    m_program = std::make_unique<QProcess>();
    m_program->setWorkingDirectory(f.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_FONT_DPI", "96");
    env.remove("QT_SCALE_FACTOR");
    env.remove("QT_SCREEN_SCALE_FACTORS");
    m_program->setProcessEnvironment(env);
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program->start(QStringLiteral(ZELTOMIL_BINARY), {});
    QVERIFY(m_program->waitForStarted(5000));

    // The main window is the program's only window at start.
    QVERIFY2(eventually(
                 [this] {
                     const QStringList windows = visibleWindows();
                     if (windows.size() != 1)
                         return false;
                     m_window = windows.first();
                     const auto info = windowInfo(m_window);
                     return info.client.width() > 100 && info.frame.top() > 0;
                 },
                 10000),
             "the program's decorated main window did not appear");
    // Away from the screen's corner, so that nothing depends on the window standing at (0, 0).
    QVERIFY(runTool("xdotool", {"windowmove", m_window, "160", "120"}));
    QVERIFY2(
        eventually([this] { return windowInfo(m_window).outer().topLeft() == QPoint(160, 120); },
                   5000),
        "the window manager did not move the window");
    m_boardFound = false;
    QVERIFY2(boardShows(*Roster::fromJob(kStartJob), "start"), qPrintable(m_why));
}

void AssignEndToEndTest::cleanup() {
    if (m_program && m_program->state() != QProcess::NotRunning) {
        m_program->terminate();
        if (!m_program->waitForFinished(3000))
            m_program->kill();
        m_program->waitForFinished(1000);
    }
    m_program.reset();
    m_folder.reset();
    m_why.clear();
}

WindowInfo AssignEndToEndTest::windowInfo(const QString& id) const {
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

QStringList AssignEndToEndTest::visibleWindows() const {
    const auto found = runTool(
        "xdotool", {"search", "--onlyvisible", "--pid", QString::number(m_program->processId())});
    return found ? QString::fromLatin1(*found).split('\n', Qt::SkipEmptyParts) : QStringList();
}

std::optional<QImage> AssignEndToEndTest::grab() const {
    const auto png = runTool("import", {"-window", "root", "png:-"});
    if (!png)
        return std::nullopt;
    QImage image = QImage::fromData(*png, "PNG");
    if (image.isNull())
        return std::nullopt;
    return image.convertToFormat(QImage::Format_RGB32);
}

QPoint AssignEndToEndTest::pointer() const {
    const QString out = QString::fromLatin1(
        runTool("xdotool", {"getmouselocation", "--shell"}).value_or(QByteArray()));
    const QRegularExpression re("X=(\\d+)\\s+Y=(\\d+)");
    const auto m = re.match(out);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
}

void AssignEndToEndTest::moveTo(QPoint screen) const {
    runTool("xdotool",
            {"mousemove", "--sync", QString::number(screen.x()), QString::number(screen.y())});
}

void AssignEndToEndTest::click() const {
    runTool("xdotool", {"click", "1"});
}

void AssignEndToEndTest::clickAt(QPoint screen) const {
    moveTo(screen);
    click();
}

// The board's top-left: the first dark blue pixel under the menu bar, in the window's inside.
bool AssignEndToEndTest::findBoard(const QImage& shot) {
    const auto info = windowInfo(m_window);
    if (info.client.isEmpty()) {
        m_why = "the main window is gone";
        return false;
    }
    const QRect client = info.client.intersected(shot.rect());
    int top = -1;
    for (int y = client.top(); y <= client.bottom() && top < 0; ++y)
        if ((shot.pixel(client.left() + 1, y) & 0xffffff) == (kBackground & 0xffffff))
            top = y;
    int left = -1;
    for (int x = client.left(); top >= 0 && x <= client.right() && left < 0; ++x)
        if ((shot.pixel(x, top) & 0xffffff) == (kBackground & 0xffffff))
            left = x;
    if (top < 0 || left < 0) {
        m_why = "no dark blue board area in the main window";
        return false;
    }
    const QPoint found(left, top);
    if (m_boardFound && found != m_origin) {
        m_why = QStringLiteral("the board moved on screen from (%1, %2) to (%3, %4)")
                    .arg(m_origin.x())
                    .arg(m_origin.y())
                    .arg(left)
                    .arg(top);
        return false;
    }
    m_origin = found;
    return true;
}

// The board shows exactly the roster's markers, every tag in place, and nothing is carried.
bool AssignEndToEndTest::boardShows(const Roster& roster, const QString& step) {
    QString problem;
    const bool shown = eventually(
        [&] {
            const auto shot = grab();
            if (!shot) {
                problem = "no screenshot";
                return false;
            }
            if (!findBoard(*shot)) {
                problem = m_why;
                return false;
            }
            for (int p = 0; p < Roster::kPersons; ++p) {
                const QRect tag = onScreen(m_origin, roster.tag(p)).adjusted(1, 1, -1, -1);
                if (share(*shot, tag, kTagColour) < 0.5) {
                    problem = QStringLiteral("no name tag of person %1 at %2, %3")
                                  .arg(p)
                                  .arg(tag.x())
                                  .arg(tag.y());
                    return false;
                }
            }
            std::vector<QRect> markers;
            for (int i = 0; i < int(roster.marks.size()); ++i) {
                const QRect r = onScreen(m_origin, roster.marker(i));
                const bool green = roster.marks[i].green();
                if (share(*shot, r.adjusted(1, 1, -1, -1), green ? kGreenFill : kYellowFill) <
                    0.3) {
                    problem = QStringLiteral("marker %1 (%2) is not shown beside person %3's tag")
                                  .arg(i + 1)
                                  .arg(green ? "green" : "yellow")
                                  .arg(roster.marks[i].person);
                    return false;
                }
                markers.push_back(r.adjusted(-2, -2, 2, 2));
            }
            // Nothing marker-coloured elsewhere among the tags: no stray or carried marker.
            const QRect tagArea = onScreen(
                m_origin, QRectF(0, 0, roster.windowWidth() - 120, Roster::tagAreaBottom()));
            for (int y = tagArea.top(); y <= tagArea.bottom(); ++y)
                for (int x = tagArea.left(); x <= tagArea.right(); ++x) {
                    if (!isMarkerFill(shot->pixel(x, y)))
                        continue;
                    if (std::none_of(markers.begin(), markers.end(),
                                     [&](const QRect& r) { return r.contains(x, y); })) {
                        problem = QStringLiteral("a marker picture at (%1, %2) where the job "
                                                 "file has none")
                                      .arg(x - m_origin.x())
                                      .arg(y - m_origin.y());
                        return false;
                    }
                }
            return true;
        },
        4000);
    if (!shown)
        m_why = step + ": " + problem;
    m_boardFound = m_boardFound || shown;
    return shown;
}

bool AssignEndToEndTest::jobBecomes(const QByteArray& expected, const QString& step) {
    if (eventually([&] { return m_folder->read("zeljob.dat") == expected; }, 5000))
        return true;
    m_why = QStringLiteral("%1: the job file holds\n%2\ninstead of\n%3")
                .arg(step, QString::fromLatin1(m_folder->read("zeljob.dat").toPercentEncoding(" ")),
                     QString::fromLatin1(expected.toPercentEncoding(" ")));
    return false;
}

// No data file is written: every one keeps its bytes and its old modification time.
bool AssignEndToEndTest::nothingWritten(int forMs, const QString& step) {
    QTest::qWait(forMs);
    for (const QString& name : kDataFiles) {
        if (QFileInfo(m_folder->file(name)).lastModified() != kStartTime) {
            m_why = QStringLiteral("%1: %2 was written").arg(step, name);
            return false;
        }
    }
    return jobBecomes(kStartJob, step);
}

// Presses the picker button and checks that the picker stands directly under the window.
bool AssignEndToEndTest::openPicker(bool green, const Roster& roster) {
    clickAt(board(roster.commandButton(green ? 1 : 2).center()));
    const bool shown = eventually(
        [&] {
            const QStringList windows = visibleWindows();
            for (const QString& w : windows)
                if (w != m_window)
                    m_pickerWindow = w;
            return windows.size() == 2;
        },
        5000);
    if (!shown) {
        m_why = "the picker did not open";
        return false;
    }
    const auto main = windowInfo(m_window);
    const auto picker = windowInfo(m_pickerWindow);
    const QPoint expected(main.outer().left(), main.outer().bottom() + 1);
    if (main.client.isEmpty() || picker.client.isEmpty() || picker.outer().topLeft() != expected) {
        m_why = QStringLiteral("the picker opened at (%1, %2), not under the window at (%3, %4)")
                    .arg(picker.outer().left())
                    .arg(picker.outer().top())
                    .arg(expected.x())
                    .arg(expected.y());
        return false;
    }
    saveShot(green ? "picker" : "picker-yellow", main.outer().united(picker.outer()));
    return true;
}

// Presses entry k of the open picker; the picker closes and the pointer goes onto the board.
bool AssignEndToEndTest::pickDuty(bool green, int k, const Roster& roster) {
    const QPoint pickerAt = windowInfo(m_pickerWindow).client.topLeft();
    const QRectF entry = pickerEntry(k, green ? Roster::kGreenChars : Roster::kYellowChars);
    const QRect frame(pickerAt + QPoint(px(entry.left()), px(entry.top())),
                      QSize(px(entry.width()), px(entry.height())));
    const auto shot = grab();
    if (!shot ||
        share(*shot, frame.adjusted(1, 1, -1, -1), green ? kGreenFill : kYellowFill) < 0.3) {
        m_why = QStringLiteral("the picker does not show entry %1 at (%2, %3)")
                    .arg(k)
                    .arg(frame.x())
                    .arg(frame.y());
        return false;
    }
    clickAt(frame.center());
    if (!eventually([this] { return visibleWindows() == QStringList{m_window}; }, 5000)) {
        m_why = "the picker did not close after the pick";
        return false;
    }
    const QPoint target = board(roster.pickPointer());
    if (!eventually([&] { return (pointer() - target).manhattanLength() <= 2; }, 3000)) {
        m_why = QStringLiteral("after the pick the pointer is at (%1, %2), not at (%3, %4)")
                    .arg(pointer().x())
                    .arg(pointer().y())
                    .arg(target.x())
                    .arg(target.y());
        return false;
    }
    return true;
}

// Moves the pointer and lets the carried marker follow (it moves every 50 ms).
void AssignEndToEndTest::carryTo(QPointF twips) {
    moveTo(board(twips));
    QTest::qWait(250);
}

// Presses a board marker: the trash can appears in the middle of the window, above the buttons
// (in the start roster that place is empty board).
bool AssignEndToEndTest::pickUp(const Roster& roster, int markerIndex) {
    const QRect trash = onScreen(
        m_origin, QRectF(Roster::kTagWidth + (roster.windowWidth() - (Roster::kTagWidth + 200)) / 2,
                         Roster::windowHeight() - Roster::kRowPitch - 850, 480, 480));
    const auto before = grab();
    if (!before || share(*before, trash, kBackground) < 1) {
        m_why = "the trash can's place is not empty before the pick-up";
        return false;
    }
    clickAt(board(roster.marker(markerIndex).center()));
    const bool trashShown = eventually(
        [&] {
            const auto shot = grab();
            return shot && share(*shot, trash, kBackground) < 0.9;
        },
        3000);
    if (!trashShown) {
        m_why = "no trash can appeared when a marker was picked up";
        return false;
    }
    return true;
}

// The centre of the carried marker's fill: the block of the fill colour nearest to the pointer
// (within half a marker), grown pixel by pixel up to its outline.
std::optional<QPoint> AssignEndToEndTest::carriedCentreNear(QPoint at, QSize size,
                                                            bool green) const {
    const auto shot = grab();
    if (!shot)
        return std::nullopt;
    const QRgb fill = (green ? kGreenFill : kYellowFill) & 0xffffff;
    const QRect limit =
        QRect(at - QPoint(size.width(), size.height()), size * 2).intersected(shot->rect());
    auto isFill = [&](QPoint p) {
        return limit.contains(p) && (shot->pixel(p) & 0xffffff) == fill;
    };
    std::optional<QPoint> seed;
    for (int d = 0; d <= std::max(size.width(), size.height()) / 2 && !seed; ++d)
        for (int dy = -d; dy <= d && !seed; ++dy)
            for (int dx = -d; dx <= d && !seed; ++dx)
                if (std::max(std::abs(dx), std::abs(dy)) == d && isFill(at + QPoint(dx, dy)))
                    seed = at + QPoint(dx, dy);
    if (!seed)
        return std::nullopt;
    QRect box(*seed, QSize(1, 1));
    std::vector<QPoint> todo{*seed};
    std::set<std::pair<int, int>> seen{{seed->x(), seed->y()}};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        box |= QRect(p, QSize(1, 1));
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint next = p + step;
            if (isFill(next) && seen.insert({next.x(), next.y()}).second)
                todo.push_back(next);
        }
    }
    return box.center();
}

// The second item of the menu bar, "終了": the second group of dark text pixels in the strip
// between the window's top and the board.
std::optional<QPoint> AssignEndToEndTest::quitItem() {
    const auto info = windowInfo(m_window);
    const auto shot = grab();
    if (info.client.isEmpty() || !shot)
        return std::nullopt;
    const int top = info.client.top();
    const int bottom = m_origin.y() - 1;
    std::vector<std::pair<int, int>> groups;
    int gap = 1000;
    for (int x = info.client.left(); x <= info.client.right(); ++x) {
        bool ink = false;
        for (int y = top; y <= bottom && !ink; ++y)
            ink = qGray(shot->pixel(x, y)) < 110;
        if (ink) {
            if (gap > 8)
                groups.push_back({x, x});
            groups.back().second = x;
            gap = 0;
        } else {
            ++gap;
        }
    }
    if (groups.size() != 2)
        return std::nullopt;
    return QPoint((groups[1].first + groups[1].second) / 2, (top + bottom) / 2);
}

void AssignEndToEndTest::saveShot(const QString& name, const QRect& area) const {
    const QString folder = qEnvironmentVariable("ZELTOMIL_E2E_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    if (const auto shot = grab())
        shot->copy(area.adjusted(-8, -8, 8, 8)).save(folder + "/e2e-" + name + ".png");
}

void AssignEndToEndTest::assignGreenDuty_data() {
    QTest::addColumn<int>("duty");
    QTest::addColumn<int>("person");
    QTest::addColumn<QByteArray>("job");
    QTest::newRow("掃除当番 for 高橋, column 0")
        << 0 << 2 << QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 100  2  0\r\n");
    // Picker column 1; 佐藤 already has two markers, so the new one stands after them and the
    // columns grow wider.
    QTest::newRow("給食 for 佐藤, beside two markers")
        << 3 << 0
        << QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 103  0  1800\r\n");
    QTest::newRow("日直 for 山本, last row of column 1")
        << 1 << 6 << QByteArray(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 101  6  0\r\n");
}

void AssignEndToEndTest::assignGreenDuty() {
    QFETCH(int, duty);
    QFETCH(int, person);
    QFETCH(QByteArray, job);
    const Roster start = *Roster::fromJob(kStartJob);

    QVERIFY2(openPicker(true, start), qPrintable(m_why));
    QVERIFY2(pickDuty(true, duty, start), qPrintable(m_why));
    carryTo(start.rowPoint(person, Roster::markerSize(true).width()));
    saveShot("carrying", windowInfo(m_window).outer());
    QCOMPARE(m_folder->read("zeljob.dat"), kStartJob); // nothing is stored before the drop
    click();

    QVERIFY2(jobBecomes(job, "drop"), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the drop"), qPrintable(m_why));
    saveShot("board", windowInfo(m_window).outer());
}

void AssignEndToEndTest::dropBesideEveryTagIsRefused() {
    const Roster start = *Roster::fromJob(kStartJob);
    QVERIFY2(openPicker(true, start), qPrintable(m_why));
    QVERIFY2(pickDuty(true, 2, start), qPrintable(m_why));
    const double width = Roster::markerSize(true).width();

    // Column 1 holds three persons: its fourth row is empty.
    carryTo(start.rowPoint(7, width));
    click();
    QVERIFY2(nothingWritten(800, "drop in an empty row"), qPrintable(m_why));

    // The duty is still carried and can be dropped on a person.
    carryTo(start.rowPoint(1, width));
    click();
    const QByteArray job(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 102  1  0\r\n");
    QVERIFY2(jobBecomes(job, "drop after the refused one"), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the drop"), qPrintable(m_why));
}

void AssignEndToEndTest::carriedMarkerCentredOnPointer_data() {
    QTest::addColumn<QString>("carry");
    QTest::newRow("green placement") << "green";
    QTest::newRow("yellow placement") << "yellow";
    QTest::newRow("picked-up yellow marker") << "marker";
}

void AssignEndToEndTest::carriedMarkerCentredOnPointer() {
    QFETCH(QString, carry);
    const Roster start = *Roster::fromJob(kStartJob);
    const bool green = carry == "green";
    if (carry == "marker") {
        QVERIFY2(pickUp(start, 1), qPrintable(m_why));
    } else {
        QVERIFY2(openPicker(green, start), qPrintable(m_why));
        QVERIFY2(pickDuty(green, 1, start), qPrintable(m_why));
    }
    const QSizeF twips = Roster::markerSize(green);
    const QSize size(px(twips.width()), px(twips.height()));
    // Rows with no marker in them or in the rows above and below: 高橋's, 田中's and the empty
    // fourth row of column 1.
    for (const int row : {2, 3, 7}) {
        const QPoint target = board(start.rowPoint(row, twips.width()));
        moveTo(target);
        std::optional<QPoint> centre;
        const bool centred = eventually(
            [&] {
                centre = carriedCentreNear(target, size, green);
                return centre && std::abs(centre->x() - target.x()) <= 3 &&
                       std::abs(centre->y() - target.y()) <= 3;
            },
            2000);
        QVERIFY2(centred,
                 qPrintable(centre ? QStringLiteral("the carried marker's centre is "
                                                    "(%1, %2) pixels off the pointer")
                                         .arg(centre->x() - target.x())
                                         .arg(centre->y() - target.y())
                                   : QStringLiteral("no carried marker near the pointer")));
    }
}

void AssignEndToEndTest::moveMarker_data() {
    QTest::addColumn<int>("marker");
    QTest::addColumn<int>("person");
    QTest::addColumn<QByteArray>("job");
    QTest::newRow("green of 佐藤 to 鈴木; the yellow one closes the gap")
        << 0 << 1 << QByteArray(" 3\r\n 100  1  0\r\n 1  0  0\r\n 102  5  0\r\n");
    // The moved marker keeps its record number, so it stands before 渡辺's later marker.
    QTest::newRow("yellow of 佐藤 to 渡辺, before his green one")
        << 1 << 5 << QByteArray(" 3\r\n 100  0  0\r\n 1  5  0\r\n 102  5  600\r\n");
    QTest::newRow("green of 渡辺 to 田中, column 1 to column 0")
        << 2 << 3 << QByteArray(" 3\r\n 100  0  0\r\n 1  0  1200\r\n 102  3  0\r\n");
}

void AssignEndToEndTest::moveMarker() {
    QFETCH(int, marker);
    QFETCH(int, person);
    QFETCH(QByteArray, job);
    const Roster start = *Roster::fromJob(kStartJob);
    QVERIFY2(pickUp(start, marker), qPrintable(m_why));
    carryTo(start.rowPoint(person, Roster::markerSize(start.marks[marker].green()).width()));
    QCOMPARE(m_folder->read("zeljob.dat"), kStartJob);
    click();
    QVERIFY2(jobBecomes(job, "drop"), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the move"), qPrintable(m_why));
}

void AssignEndToEndTest::removeMarkerInTrash_data() {
    QTest::addColumn<int>("marker");
    QTest::addColumn<QByteArray>("job");
    QTest::newRow("first marker; 佐藤's yellow one moves up")
        << 0 << QByteArray(" 2\r\n 1  0  0\r\n 102  5  0\r\n");
    QTest::newRow("last marker, column 1")
        << 2 << QByteArray(" 2\r\n 100  0  0\r\n 1  0  1200\r\n");
}

void AssignEndToEndTest::removeMarkerInTrash() {
    QFETCH(int, marker);
    QFETCH(QByteArray, job);
    const Roster start = *Roster::fromJob(kStartJob);
    QVERIFY2(pickUp(start, marker), qPrintable(m_why));
    carryTo(start.trashPoint(Roster::markerSize(start.marks[marker].green()).height()));
    click();
    QVERIFY2(jobBecomes(job, "drop in the trash zone"), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the removal"), qPrintable(m_why));
}

void AssignEndToEndTest::cancelPlacementInTrash() {
    const Roster start = *Roster::fromJob(kStartJob);
    QVERIFY2(openPicker(true, start), qPrintable(m_why));
    QVERIFY2(pickDuty(true, 3, start), qPrintable(m_why));
    carryTo(start.trashPoint(Roster::markerSize(true).height()));
    click();
    QVERIFY2(nothingWritten(800, "cancelled placement"), qPrintable(m_why));
    const QSizeF twips = Roster::markerSize(true);
    QVERIFY2(!carriedCentreNear(pointer(), QSize(px(twips.width()), px(twips.height())), true),
             "the cancelled marker is still shown");
    QVERIFY2(boardShows(start, "after the cancel"), qPrintable(m_why));

    // A yellow duty placed next is stored as yellow, whatever the cancelled green pick left.
    QVERIFY2(openPicker(false, start), qPrintable(m_why));
    QVERIFY2(pickDuty(false, 2, start), qPrintable(m_why));
    carryTo(start.rowPoint(1, Roster::markerSize(false).width()));
    click();
    const QByteArray job(" 4\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n 2  1  0\r\n");
    QVERIFY2(jobBecomes(job, "yellow drop after the cancel"), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the yellow drop"), qPrintable(m_why));
}

void AssignEndToEndTest::clearAll_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("job");
    QTest::newRow("OK") << "Return" << QByteArray(" 0\r\n");
    QTest::newRow("Cancel") << "Escape" << kStartJob;
}

void AssignEndToEndTest::clearAll() {
    QFETCH(QString, answer);
    QFETCH(QByteArray, job);
    const Roster start = *Roster::fromJob(kStartJob);
    clickAt(board(start.commandButton(3).center()));
    QString box;
    QVERIFY2(eventually(
                 [&] {
                     const auto found = runTool(
                         "xdotool", {"search", "--onlyvisible", "--name", "当番マークの消去"});
                     box = found ? QString::fromLatin1(*found).section('\n', 0, 0) : QString();
                     return !box.isEmpty();
                 },
                 5000),
             "no confirmation titled 当番マークの消去 appeared");
    QCOMPARE(m_folder->read("zeljob.dat"), kStartJob); // nothing before the answer
    runTool("xdotool", {"windowactivate", "--sync", box});
    QVERIFY(runTool("xdotool", {"key", answer}));
    QVERIFY2(eventually([&] { return !visibleWindows().contains(box); }, 5000),
             "the confirmation did not close");
    if (job == kStartJob)
        QVERIFY2(nothingWritten(500, "answer " + answer), qPrintable(m_why));
    else
        QVERIFY2(jobBecomes(job, "answer " + answer), qPrintable(m_why));
    QVERIFY2(boardShows(*Roster::fromJob(job), "after the answer"), qPrintable(m_why));
}

void AssignEndToEndTest::quitFromMenu_data() {
    QTest::addColumn<bool>("carrying");
    QTest::newRow("idle") << false;
    QTest::newRow("while a duty is carried") << true;
}

void AssignEndToEndTest::quitFromMenu() {
    QFETCH(bool, carrying);
    const Roster start = *Roster::fromJob(kStartJob);
    if (carrying) {
        QVERIFY2(openPicker(true, start), qPrintable(m_why));
        QVERIFY2(pickDuty(true, 0, start), qPrintable(m_why));
        carryTo(start.rowPoint(2, Roster::markerSize(true).width()));
    }
    const auto item = quitItem();
    QVERIFY2(item, "the menu bar does not show two items");
    clickAt(*item);
    QVERIFY2(m_program->waitForFinished(5000), "the program did not end");
    QCOMPARE(m_program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program->exitCode(), 0);
    QVERIFY2(nothingWritten(0, "quit"), qPrintable(m_why));
    QStringList files = QDir(m_folder->path()).entryList(QDir::Files);
    QStringList expected = kDataFiles;
    files.sort();
    expected.sort();
    QCOMPARE(files, expected);
}

void AssignEndToEndTest::captionAlternates() {
    QStringList captions;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2600) {
        if (const auto name = runTool("xdotool", {"getwindowname", m_window}))
            captions << QString::fromUtf8(*name).trimmed();
        QTest::qWait(150);
    }
    captions.removeDuplicates();
    captions.sort();
    QCOMPARE(captions, (QStringList{QStringLiteral("ぜるとみる"), QStringLiteral("ゼルトミル")}));
}

QTEST_GUILESS_MAIN(AssignEndToEndTest)
#include "tst_assign.moc"

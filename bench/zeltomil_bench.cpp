// Measures the board on the largest roster its files allow, under the current X display:
// how long a reload takes from the end of a save until the board is painted, how much of that
// is file work, how fast the program starts against a bare Qt window, how much processor time
// carrying a marker costs, and how much memory the board needs against the bare window.
//
//   zeltomil_bench [--reloads N] [--starts N] [--carry-seconds S] [--markers-per-row 1..5]
//                  [--screenshot FILE.png]
//   (--screenshot also writes FILE-screen.png, the part of the screen the window covers)
//   zeltomil_bench --write-board FOLDER     (only writes the board's files, for profiling)
//
// bench/run.sh starts a private Xvfb and runs this three times.
#include "app/DialogLauncher.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "platform/QtPlatform.h"
#include "roster/CodePage.h"
#include "roster/RosterFiles.h"
#include "roster/RosterState.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, as the first-paint report

// Every name on the board is this long: long enough that tags clip and each marker is
// 6000 twips (400 pixels) wide, short enough that a person's markers stay far below the
// 109 characters a row may hold, and the board stays under 32767 pixels.
constexpr int kNameLength = 20;
// By default two markers (one green, one yellow) on every second person: 50 rows of 40
// characters, a board of 9842 x 271 pixels. --markers-per-row 1 puts one marker on each of
// the first 100 persons instead (5450 pixels wide); up to 5 still fit the X11 limit.
int markersPerRow = 2;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

const char* verdict(bool ok) {
    return ok ? "met" : "MISSED";
}

// A name of exactly kNameLength characters, all of them in CP932: a prefix, the number in
// full-width digits, a suffix.
QString longName(const QString& prefix, int number, const QString& suffix) {
    QString digits = QString::number(number).rightJustified(3, u'0');
    for (QChar& c : digits)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    QString name = prefix + digits + suffix;
    name.truncate(kNameLength);
    return name;
}

bool check(const zel::SaveResult& result) {
    if (!result.ok)
        std::fprintf(stderr, "cannot write the board: %s\n", qPrintable(result.message()));
    return result.ok;
}

// Writes the largest roster the files allow into `folder`: 101 persons, 101 green and
// 101 yellow duties, 100 markers of both colours, default options.
bool writeLargestBoard(const QString& folder, zel::FileStore& store) {
    zel::RosterFiles files(store, folder);
    zel::RosterState state;
    state.dataFolder = zel::withTrailingSeparator(folder);
    QStringList persons, green, yellow;
    for (int i = 0; i < zel::kMaxPersons; ++i)
        persons << longName(QStringLiteral("ゼルトミル当番表の試験用長い氏名"), i,
                            QStringLiteral("様"));
    for (int k = 0; k < zel::kMaxDuties; ++k) {
        green << longName(QStringLiteral("緑色当番の試験用とても長い名前第"), k,
                          QStringLiteral("番"));
        yellow << longName(QStringLiteral("黄色当番の試験用とても長い名前第"), k,
                           QStringLiteral("番"));
    }
    state.personCount = int(persons.size());
    state.greenMarkerWidth = kNameLength;
    state.yellowMarkerWidth = kNameLength;
    state.markerCount = zel::kMaxMarkers;
    for (int m = 1; m <= zel::kMaxMarkers; ++m) {
        // Every markersPerRow-th person, so that every column has markers.
        state.markerPerson[m] = (m - 1) / markersPerRow * markersPerRow;
        // Alternate colours; scatter the duties over all columns of both pickers. Yellow
        // indices stay below 100, where a duty code would read as green.
        state.markerDuty[m] = m % 2 ? zel::kGreenCodeBase + (m * 7) % zel::kMaxDuties
                                    : (m * 13) % zel::kGreenCodeBase;
    }
    return check(files.saveFolderFile(state.dataFolder)) &&
           check(files.savePersonFile(state, persons)) &&
           check(files.saveDutyList(state, zel::DutyColour::Green, green)) &&
           check(files.saveDutyList(state, zel::DutyColour::Yellow, yellow)) &&
           check(files.saveJobFile(state)) && check(files.saveParameterFile(zel::DisplayOptions{}));
}

struct StartFigures {
    double milliseconds = -1; // from just before the start to the first paint
    double cpuMilliseconds = -1;
    long peakRssKb = -1;
    QSize window; // the board's window, as the program reports it
};

// Starts a program that reports its first paint (ZELTOMIL_EXIT_AFTER_FIRST_PAINT=1).
StartFigures coldStart(const QString& program, const QString& folder,
                       const QStringList& arguments = {}) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELTOMIL_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const auto started = Clock::now();
    process.start();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    const QList<QByteArray> fields = process.readAllStandardOutput().simplified().split(' ');
    StartFigures figures;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
        if (fields[i] == "first-paint-ns") {
            const qint64 paintedNs = fields[i + 1].toLongLong();
            const qint64 startedNs =
                std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch())
                    .count();
            figures.milliseconds = double(paintedNs - startedNs) / 1e6;
        } else if (fields[i] == "cpu-us") {
            figures.cpuMilliseconds = fields[i + 1].toDouble() / 1000;
        } else if (fields[i] == "peak-rss-kb") {
            figures.peakRssKb = fields[i + 1].toLong();
        } else if (fields[i] == "window-px" && i + 2 < fields.size()) {
            figures.window = QSize(fields[i + 1].toInt(), fields[i + 2].toInt());
        }
    }
    return figures;
}

void runEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Processor time per wall second of this process while the event loop runs for `seconds`, with
// the pointer sweeping over the visible part of the board as a hand would, 60 moves a second.
// The moves come from xdotool, a process of its own, so that only receiving them is counted.
double cpuShareWithPointerSweep(QWidget* board, double seconds) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect area = QRect(board->mapToGlobal(QPoint(0, 0)), board->size())
                           .intersected(screen)
                           .adjusted(20, 20, -20, -20);
    const int width = std::max(1, area.width());
    const int height = std::max(1, area.height());
    QStringList moves;
    for (int step = 0; step < int(seconds * 60); ++step) {
        const int x = (step * 9) % (2 * width);
        const int y = (step * 4) % (2 * height);
        moves << QStringLiteral("mousemove")
              << QString::number(area.left() + (x < width ? x : 2 * width - x))
              << QString::number(area.top() + (y < height ? y : 2 * height - y))
              << QStringLiteral("sleep") << QStringLiteral("0.016");
    }
    QProcess mover;
    mover.start(QStringLiteral("xdotool"), moves);
    if (!mover.waitForStarted()) {
        std::fprintf(stderr, "xdotool is needed to move the pointer\n");
        return -1;
    }
    const double cpu0 = cpuSeconds();
    const auto wall0 = Clock::now();
    QEventLoop loop;
    QObject::connect(&mover, &QProcess::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpu0;
    const double wall = ms(Clock::now() - wall0) / 1000;
    return cpu / wall;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int reloads = 60;
    int starts = 7;
    double carrySeconds = 4;
    QString screenshot;
    QString boardFolder;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--reloads"))
            reloads = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--starts"))
            starts = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--carry-seconds"))
            carrySeconds = std::max(0.5, args[i + 1].toDouble());
        else if (args[i] == QLatin1String("--screenshot"))
            screenshot = args[i + 1];
        else if (args[i] == QLatin1String("--markers-per-row"))
            markersPerRow = std::clamp(args[i + 1].toInt(), 1, 5);
        else if (args[i] == QLatin1String("--write-board"))
            boardFolder = args[i + 1];
    }
    if (!zel::codePageAvailable()) {
        std::fprintf(stderr, "CP932 is not available\n");
        return 1;
    }

    if (!boardFolder.isEmpty()) {
        zel::QtPlatform platform;
        return QDir().mkpath(boardFolder) &&
                       writeLargestBoard(QDir(boardFolder).absolutePath(), platform.files())
                   ? 0
                   : 1;
    }

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zeltomil-bench-XXXXXX"));
    zel::QtPlatform platform;
    if (!dir.isValid() || !writeLargestBoard(dir.path(), platform.files()))
        return 1;

    const QScreen* screen = QGuiApplication::primaryScreen();
    std::printf("zeltomil benchmark: %d cores, platform %s, screen %dx%d at %.0f dpi\n",
                QThread::idealThreadCount(), qPrintable(QGuiApplication::platformName()),
                screen->geometry().width(), screen->geometry().height(),
                screen->logicalDotsPerInchX());

    // Cold start first, while this process shows nothing. Three programs in turn: the bare
    // window, the floor (a window of the board's size drawing only the board's texts) and the
    // board itself.
    enum Program { Bare, Floor, Board };
    std::vector<double> startMs[3], cpuMs[3], rssKb[3];
    coldStart(QStringLiteral(BARE_WINDOW_BINARY), dir.path()); // warm the file cache
    const QSize boardWindow = coldStart(QStringLiteral(ZELTOMIL_BINARY), dir.path()).window;
    const QStringList floorArguments{QStringLiteral("--floor"),
                                     QString::number(boardWindow.width()),
                                     QString::number(boardWindow.height())};
    for (int i = 0; i < starts; ++i) {
        for (const Program program : {Bare, Floor, Board}) {
            const StartFigures f =
                program == Board ? coldStart(QStringLiteral(ZELTOMIL_BINARY), dir.path())
                : program == Floor
                    ? coldStart(QStringLiteral(BARE_WINDOW_BINARY), dir.path(), floorArguments)
                    : coldStart(QStringLiteral(BARE_WINDOW_BINARY), dir.path());
            if (f.milliseconds < 0 || f.peakRssKb < 0) {
                std::fprintf(stderr, "program %d did not report its first paint\n", program);
                return 1;
            }
            startMs[program].push_back(f.milliseconds);
            cpuMs[program].push_back(f.cpuMilliseconds);
            rssKb[program].push_back(double(f.peakRssKb));
        }
    }

    static zel::RosterState state;
    zel::RosterFiles files(platform.files(), dir.path());
    zel::MainWindow window(zel::AppContext{state, files, platform}, zel::createDialog);
    window.load();
    for (int i = 0; i < 200 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        runEventsFor(10);
    runEventsFor(200);
    const QSize boardPixels = window.board()->size();
    std::printf("board: %d persons, %d green + %d yellow duties, %d markers of both colours (%d "
                "a row), names of %d characters; board %dx%d pixels\n",
                state.personCount, state.greenDutyCount, state.yellowDutyCount, state.markerCount,
                markersPerRow, kNameLength, boardPixels.width(), boardPixels.height());
    if (state.personCount != zel::kMaxPersons || state.markerCount != zel::kMaxMarkers ||
        window.board()->shownMarkers() != zel::kMaxMarkers) {
        std::fprintf(stderr, "the board did not load as written\n");
        return 1;
    }

    // Reload: the save a drop ends with (untimed), then reload and a synchronous paint. Qt
    // repaints only what changed; the stricter series marks every element of the window for
    // repainting first, so tags, frames, buttons and every marker are painted each time.
    struct ReloadSeries {
        std::vector<double> total, rebuild, paint;
    };
    auto runReloads = [&](bool everyElement, ReloadSeries& series) {
        const int warmup = 5;
        const QList<QWidget*> elements = window.findChildren<QWidget*>();
        for (int i = 0; i < warmup + reloads; ++i) {
            if (!files.saveJobFile(state).ok)
                return false;
            const auto t0 = Clock::now();
            window.reload();
            const auto t1 = Clock::now();
            if (everyElement) {
                for (QWidget* element : elements)
                    element->update();
            }
            window.repaint();
            const auto t2 = Clock::now();
            if (i >= warmup) {
                series.total.push_back(ms(t2 - t0));
                series.rebuild.push_back(ms(t1 - t0));
                series.paint.push_back(ms(t2 - t1));
            }
            QCoreApplication::processEvents(); // what the window system sends back, untimed
        }
        return true;
    };
    ReloadSeries full, changed;
    if (!runReloads(true, full) || !runReloads(false, changed))
        return 1;
    std::vector<double> fileTimes;
    for (int i = 0; i < 5 + reloads; ++i) {
        zel::RosterState copy = state;
        const auto t0 = Clock::now();
        files.loadAll(copy);
        const auto t1 = Clock::now();
        if (i >= 5)
            fileTimes.push_back(ms(t1 - t0));
    }
    if (!screenshot.isEmpty()) {
        // The window drawn afresh, and what the screen shows after all those reloads.
        window.grab().save(screenshot);
        runEventsFor(200);
        const QRect shown =
            window.geometry().intersected(QGuiApplication::primaryScreen()->geometry());
        QGuiApplication::primaryScreen()
            ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
            .save(QFileInfo(screenshot).path() + u'/' + QFileInfo(screenshot).completeBaseName() +
                  QStringLiteral("-screen.png"));
    }

    // Carrying: a board marker picked up and carried, both timers running.
    runEventsFor(300);
    const double idleShare = cpuShareWithPointerSweep(window.board(), carrySeconds / 2);
    const zel::TwipRect first = window.layout().markers.front();
    window.pickUpMarker(1, QPointF(first.left + first.width / 2, first.top + first.height / 2));
    const bool carrying = window.timer1().isActive() && window.timer2().isActive();
    const double carryShare = cpuShareWithPointerSweep(window.board(), carrySeconds);
    window.timer1().stop();
    window.timer2().stop();
    if (idleShare < 0 || carryShare < 0)
        return 1;
    if (!carrying) {
        std::fprintf(stderr, "the pick-up did not start both timers\n");
        return 1;
    }

    const double reloadMedian = median(full.total);
    const double reloadWorst = worst(full.total);
    const double fileMedian = median(fileTimes);
    const double startBoard = median(startMs[Board]);
    const double startBare = median(startMs[Bare]);
    const double startFloor = median(startMs[Floor]);
    const double startRatio = startBoard / startBare;
    const double cpuRatio = median(cpuMs[Board]) / median(cpuMs[Bare]);
    const double rssBoard = median(rssKb[Board]);
    const double rssBare = median(rssKb[Bare]);
    const double rssFloor = median(rssKb[Floor]);
    const double rssRatio = rssBoard / rssBare;

    std::printf("reload, every element repainted (%d runs): median %.2f ms, worst %.2f ms [target "
                "median < 16.7, worst < 33: %s]\n",
                reloads, reloadMedian, reloadWorst,
                verdict(reloadMedian < 16.7 && reloadWorst < 33));
    std::printf("  of which rebuild (reload()) median %.2f ms, paint (repaint()) median %.2f ms\n",
                median(full.rebuild), median(full.paint));
    std::printf("reload, Qt repaints what changed (%d runs): median %.2f ms, worst %.2f ms; "
                "rebuild %.2f ms, paint %.2f ms\n",
                reloads, median(changed.total), worst(changed.total), median(changed.rebuild),
                median(changed.paint));
    std::printf("file work (RosterFiles::loadAll, %d runs): median %.3f ms = %.1f %% of the "
                "reload\n",
                reloads, fileMedian, 100 * fileMedian / reloadMedian);
    std::printf("cold start (%d runs each): board median %.1f ms, bare window median %.1f ms, "
                "ratio %.2f [target <= 1.5: %s]; processor time to the first paint %.1f ms "
                "against %.1f ms, ratio %.2f\n",
                starts, startBoard, startBare, startRatio, verdict(startRatio <= 1.5),
                median(cpuMs[Board]), median(cpuMs[Bare]), cpuRatio);
    std::printf("floor (a %dx%d window drawing only the board's 201 texts): start median %.1f ms "
                "= %.2f x the bare window, processor time %.1f ms, peak RSS %.1f MB = %.2f x\n",
                boardWindow.width(), boardWindow.height(), startFloor, startFloor / startBare,
                median(cpuMs[Floor]), rssFloor / 1024, rssFloor / rssBare);
    std::printf("carrying (%.1f s): %.2f %% of one core [target < 5 %%: %s]; same pointer sweep "
                "without a carry: %.2f %%\n",
                carrySeconds, 100 * carryShare, verdict(carryShare < 0.05), 100 * idleShare);
    std::printf("memory: peak RSS board %.1f MB, bare window %.1f MB, ratio %.2f [target <= 1.5: "
                "%s]; this process after the reloads: %.1f MB\n",
                rssBoard / 1024, rssBare / 1024, rssRatio, verdict(rssRatio <= 1.5),
                double(peakRssKb()) / 1024);
    // One line for bench/run.sh to take medians over several runs.
    std::printf("RESULT reload_median_ms=%.3f reload_worst_ms=%.3f changed_median_ms=%.3f "
                "changed_worst_ms=%.3f loadall_ms=%.3f start_board_ms=%.1f start_bare_ms=%.1f "
                "start_ratio=%.3f start_cpu_ratio=%.3f floor_start_ratio=%.3f carry_pct=%.3f "
                "rss_board_mb=%.1f rss_bare_mb=%.1f rss_ratio=%.3f floor_rss_ratio=%.3f\n",
                reloadMedian, reloadWorst, median(changed.total), worst(changed.total), fileMedian,
                startBoard, startBare, startRatio, cpuRatio, startFloor / startBare,
                100 * carryShare, rssBoard / 1024, rssBare / 1024, rssRatio, rssFloor / rssBare);
    std::fflush(stdout);
    return 0;
}

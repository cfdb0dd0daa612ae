// Measures the board under the current X display, each figure against a bare Qt window
// measured in the same run:
// - reload on the largest roster the files allow: from the end of a save until the board is
//   painted, and how much of that is file work;
// - start to the first painted board on three rosters (the largest, 101 persons with short
//   names, the sample): processor time, wall time seen from outside, peak RSS; the largest
//   against the floor program (its texts alone in a window of its size);
// - idle: wake-ups and processor time of the board beside a bare window that changes its
//   title once a second; the board's check on its data folder counted apart;
// - carrying a marker on the largest board, at rest and under a pointer sweep, against a bare
//   window of the board's size under the same sweep.
//
//   zeltomil_bench [--reloads N] [--starts N] [--carry-seconds S] [--idle-seconds S]
//                  [--markers-per-row 1..5] [--screenshot FILE.png]
//   (--screenshot also writes FILE-screen.png, the part of the screen the window covers)
//   zeltomil_bench --write-board FOLDER         (only writes the largest board, for profiling)
//   zeltomil_bench --write-short-roster FOLDER  (only writes the 101 short names)
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
#include <QDir>
#include <QEventLoop>
#include <QFile>
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

// Writes the 101-person roster with short names: the sample's names in turn, its duty lists, one
// marker on each of the first 100 persons (green and yellow in turn), default options. Every
// person's markers are at most five characters wide: a board of 2142 pixels at 96 dpi.
bool writeShortNameRoster(const QString& folder, zel::FileStore& store) {
    zel::RosterFiles files(store, folder);
    zel::RosterState state;
    state.dataFolder = zel::withTrailingSeparator(folder);
    const QStringList sampleNames =
        QStringLiteral("佐藤 花子,鈴木 一郎,高橋 美咲,田中 健太,伊藤 さくら,渡辺 翔,山本 陽菜,"
                       "中村 大輝,小林 結衣,加藤 蓮,吉田 葵,山田 太郎")
            .split(u',');
    const QStringList green =
        QStringLiteral("掃除当番,日直,黒板,給食,花の水やり,ごみ出し,窓閉め").split(u',');
    const QStringList yellow = QStringLiteral("司会,書記,会計,点呼係,戸締り").split(u',');
    QStringList persons;
    for (int i = 0; i < zel::kMaxPersons; ++i)
        persons << sampleNames[i % sampleNames.size()];
    state.personCount = int(persons.size());
    state.greenMarkerWidth = 5;
    state.yellowMarkerWidth = 3;
    state.markerCount = zel::kMaxMarkers;
    for (int m = 1; m <= zel::kMaxMarkers; ++m) {
        state.markerPerson[m] = m - 1;
        state.markerDuty[m] = m % 2 ? zel::kGreenCodeBase + (m / 2) % int(green.size())
                                    : (m / 2) % int(yellow.size());
    }
    return check(files.saveFolderFile(state.dataFolder)) &&
           check(files.savePersonFile(state, persons)) &&
           check(files.saveDutyList(state, zel::DutyColour::Green, green)) &&
           check(files.saveDutyList(state, zel::DutyColour::Yellow, yellow)) &&
           check(files.saveJobFile(state)) && check(files.saveParameterFile(zel::DisplayOptions{}));
}

// A copy of the sample roster that comes with the program.
bool copySampleRoster(const QString& folder) {
    const QDir sample(QStringLiteral(SAMPLE_FOLDER));
    const QStringList files = sample.entryList({QStringLiteral("*.dat")}, QDir::Files);
    if (files.size() != 6) {
        std::fprintf(stderr, "the sample roster is not in %s\n", SAMPLE_FOLDER);
        return false;
    }
    return std::all_of(files.begin(), files.end(), [&](const QString& name) {
        return QFile::copy(sample.filePath(name), folder + u'/' + name);
    });
}

struct StartFigures {
    double milliseconds = -1;        // from just before the start to the first paint
    double outsideMilliseconds = -1; // from just before the start until its report arrived here
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
    // Seen from outside: the moment the report reaches this process. It is written right after
    // the first paint has been flushed to the window system.
    QByteArray report;
    auto reported = Clock::time_point();
    while (!report.contains('\n') && process.waitForReadyRead(60000))
        report += process.readAllStandardOutput();
    reported = Clock::now();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    report += process.readAllStandardOutput();
    const QList<QByteArray> fields = report.simplified().split(' ');
    StartFigures figures;
    for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
        if (fields[i] == "first-paint-ns") {
            const qint64 paintedNs = fields[i + 1].toLongLong();
            const qint64 startedNs =
                std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch())
                    .count();
            figures.milliseconds = double(paintedNs - startedNs) / 1e6;
            figures.outsideMilliseconds = ms(reported - started);
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

// What the kernel counts for a process (0: this one): processor time of all its threads and
// how often they gave up the processor. A thread that sleeps until something happens does so
// once for each time it wakes up, so these voluntary switches count the wake-ups; the others
// (a running thread preempted) count the machine's other load, not the program's.
struct ProcessLoad {
    double cpuSeconds = 0;
    long long switches = 0;     // all threads
    long long mainSwitches = 0; // the main thread, which runs the program's timers
    long peakRssKb = 0;         // VmHWM
    Clock::time_point at;
};

// A number from /proc/PID/status ("VmHWM:\t  39000 kB").
long long statusField(const QByteArray& status, const QByteArray& key) {
    const qsizetype at = status.indexOf('\n' + key + ':');
    if (at < 0)
        return 0;
    return status.mid(at + key.size() + 2).simplified().split(' ').front().toLongLong();
}

ProcessLoad processLoad(qint64 pid) {
    if (pid == 0)
        pid = QCoreApplication::applicationPid();
    ProcessLoad load;
    load.at = Clock::now();
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + u'/' + task + QStringLiteral("/schedstat"));
        QFile status(tasks + u'/' + task + QStringLiteral("/status"));
        if (!schedstat.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue; // the thread has ended
        load.cpuSeconds += schedstat.readAll().split(' ').front().toDouble() / 1e9;
        const QByteArray text = status.readAll();
        const long long switches = statusField(text, "voluntary_ctxt_switches");
        load.switches += switches;
        if (task.toLongLong() == pid)
            load.mainSwitches = switches;
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        load.peakRssKb = long(statusField(status.readAll(), "VmHWM"));
    return load;
}

// What a process cost per wall second between two samples.
struct Rates {
    double cpuShare = -1; // of one core
    double wakeups = -1;  // per second, all threads
    double mainWakeups = -1;
};

Rates ratesBetween(const ProcessLoad& a, const ProcessLoad& b) {
    const double wall = ms(b.at - a.at) / 1000;
    if (wall <= 0)
        return {};
    return {(b.cpuSeconds - a.cpuSeconds) / wall, double(b.switches - a.switches) / wall,
            double(b.mainSwitches - a.mainSwitches) / wall};
}

// A program of the benchmark that runs until it is stopped; its output is not read, so that
// this process wakes for nothing it sends.
class Running {
  public:
    Running(const QString& program, const QString& folder, const QStringList& arguments = {},
            const QStringList& environment = {}) {
        m_process.setProgram(program);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : environment)
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        m_process.setProcessEnvironment(env);
        m_process.setArguments(arguments);
        m_process.setWorkingDirectory(folder);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start();
        m_process.waitForStarted();
    }
    ~Running() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }

  private:
    QProcess m_process;
};

// Runs the event loop for `seconds` while the pointer sweeps over `area` as a hand would,
// 60 moves a second, and returns what process `pid` (0: this one) cost meanwhile. The moves
// come from xdotool, a process of its own, so that only receiving them is counted.
Rates sweepPointer(const QRect& area, double seconds, qint64 pid) {
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
        return {};
    }
    const ProcessLoad before = processLoad(pid);
    QEventLoop loop;
    QObject::connect(&mover, &QProcess::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return ratesBetween(before, processLoad(pid));
}

// What process `pid` (0: this one) costs while nothing happens for `seconds`.
Rates atRest(double seconds, qint64 pid) {
    const ProcessLoad before = processLoad(pid);
    runEventsFor(int(seconds * 1000));
    return ratesBetween(before, processLoad(pid));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int reloads = 60;
    int starts = 7;
    double carrySeconds = 4;
    double idleSeconds = 15; // long enough that one wake-up more or less is noise
    QString screenshot;
    QString boardFolder;
    QString shortFolder;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--reloads"))
            reloads = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--starts"))
            starts = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--carry-seconds"))
            carrySeconds = std::max(0.5, args[i + 1].toDouble());
        else if (args[i] == QLatin1String("--idle-seconds"))
            idleSeconds = std::max(1.0, args[i + 1].toDouble());
        else if (args[i] == QLatin1String("--screenshot"))
            screenshot = args[i + 1];
        else if (args[i] == QLatin1String("--markers-per-row"))
            markersPerRow = std::clamp(args[i + 1].toInt(), 1, 5);
        else if (args[i] == QLatin1String("--write-board"))
            boardFolder = args[i + 1];
        else if (args[i] == QLatin1String("--write-short-roster"))
            shortFolder = args[i + 1];
    }
    if (!zel::codePageAvailable()) {
        std::fprintf(stderr, "CP932 is not available\n");
        return 1;
    }

    if (!boardFolder.isEmpty() || !shortFolder.isEmpty()) {
        zel::QtPlatform platform;
        const QString folder = boardFolder.isEmpty() ? shortFolder : boardFolder;
        if (!QDir().mkpath(folder))
            return 1;
        const QString path = QDir(folder).absolutePath();
        return (boardFolder.isEmpty() ? writeShortNameRoster(path, platform.files())
                                      : writeLargestBoard(path, platform.files()))
                   ? 0
                   : 1;
    }

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zeltomil-bench-XXXXXX"));
    zel::QtPlatform platform;
    const QString shortRoster = dir.path() + QStringLiteral("/short");
    const QString sampleRoster = dir.path() + QStringLiteral("/sample");
    if (!dir.isValid() || !writeLargestBoard(dir.path(), platform.files()) ||
        !QDir().mkpath(shortRoster) || !writeShortNameRoster(shortRoster, platform.files()) ||
        !QDir().mkpath(sampleRoster) || !copySampleRoster(sampleRoster))
        return 1;

    const QScreen* screen = QGuiApplication::primaryScreen();
    std::printf("zeltomil benchmark: %d cores, platform %s, screen %dx%d at %.0f dpi\n",
                QThread::idealThreadCount(), qPrintable(QGuiApplication::platformName()),
                screen->geometry().width(), screen->geometry().height(),
                screen->logicalDotsPerInchX());

    // Starts first, while this process shows nothing: the bare window, the floor (a window of
    // the largest board's size drawing only its texts) and the board on three rosters, in turn.
    enum Program { Bare, Floor, Largest, Short, Sample, kPrograms };
    const char* const programNames[kPrograms] = {"bare window", "floor", "board, largest",
                                                 "board, 101 short names", "board, sample"};
    const QString bareBinary = QStringLiteral(BARE_WINDOW_BINARY);
    const QString boardBinary = QStringLiteral(ZELTOMIL_BINARY);
    coldStart(bareBinary, dir.path()); // warm the file cache
    coldStart(boardBinary, shortRoster);
    coldStart(boardBinary, sampleRoster);
    const QSize boardWindow = coldStart(boardBinary, dir.path()).window;
    const QStringList floorArguments{QStringLiteral("--floor"),
                                     QString::number(boardWindow.width()),
                                     QString::number(boardWindow.height())};
    struct StartSeries {
        std::vector<double> wall, outside, cpu, rssKb;
    } started[kPrograms];
    for (int i = 0; i < starts; ++i) {
        for (int program = 0; program < kPrograms; ++program) {
            const StartFigures f = program == Bare ? coldStart(bareBinary, dir.path())
                                   : program == Floor
                                       ? coldStart(bareBinary, dir.path(), floorArguments)
                                       : coldStart(boardBinary, program == Largest ? dir.path()
                                                                : program == Short ? shortRoster
                                                                                   : sampleRoster);
            if (f.milliseconds < 0 || f.peakRssKb < 0) {
                std::fprintf(stderr, "%s did not report its first paint\n", programNames[program]);
                return 1;
            }
            started[program].wall.push_back(f.milliseconds);
            started[program].outside.push_back(f.outsideMilliseconds);
            started[program].cpu.push_back(f.cpuMilliseconds);
            started[program].rssKb.push_back(double(f.peakRssKb));
        }
    }

    // Idle, side by side: the board on the short-name roster without its check on the data
    // folder, the same board with it, a bare window that changes its title once a second as
    // the board's caption does, and a bare window.
    Rates idleBoard, idleWatching, idleBlink, idleBare;
    long idleBoardPeakKb = 0;
    long idleBarePeakKb = 0;
    {
        Running board(boardBinary, shortRoster, {}, {QStringLiteral("ZELTOMIL_NO_FOLDER_WATCH=1")});
        Running watching(boardBinary, shortRoster);
        Running blink(bareBinary, dir.path(), {QStringLiteral("--title-blink")});
        Running bare(bareBinary, dir.path());
        runEventsFor(2500); // started, painted, settled
        if (!board.running() || !watching.running() || !blink.running() || !bare.running()) {
            std::fprintf(stderr, "a program did not keep running\n");
            return 1;
        }
        const ProcessLoad b0 = processLoad(board.pid());
        const ProcessLoad c0 = processLoad(watching.pid());
        const ProcessLoad t0 = processLoad(blink.pid());
        const ProcessLoad w0 = processLoad(bare.pid());
        runEventsFor(int(idleSeconds * 1000));
        const ProcessLoad b1 = processLoad(board.pid());
        idleBoard = ratesBetween(b0, b1);
        idleWatching = ratesBetween(c0, processLoad(watching.pid()));
        idleBlink = ratesBetween(t0, processLoad(blink.pid()));
        const ProcessLoad w1 = processLoad(bare.pid());
        idleBare = ratesBetween(w0, w1);
        idleBoardPeakKb = b1.peakRssKb;
        idleBarePeakKb = w1.peakRssKb;
    }

    static zel::RosterState state;
    zel::RosterFiles files(platform.files(), dir.path());
    zel::MainWindow window(zel::AppContext{state, files, platform}, zel::createDialog);
    window.load();
    for (int i = 0; i < 200 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        runEventsFor(10);
    runEventsFor(200);
    const QSize boardPixels = window.board()->size();
    std::printf("largest board: %d persons, %d green + %d yellow duties, %d markers of both "
                "colours (%d a row), names of %d characters; board %dx%d pixels\n",
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

    // Carrying on the largest board, in this process. First a bare window of the board
    // window's size in its place, under the same pointer sweep; then the board without and
    // with a carried marker, under that sweep and at rest.
    const QRect sweepArea = QRect(window.board()->mapToGlobal(QPoint(0, 0)), boardPixels)
                                .intersected(screen->geometry())
                                .adjusted(20, 20, -20, -20);
    Rates sweepBare;
    {
        const QRect place = window.geometry();
        Running bare(bareBinary, dir.path(),
                     {QStringLiteral("--place"), QString::number(place.x()),
                      QString::number(place.y()), QString::number(place.width()),
                      QString::number(place.height())});
        runEventsFor(1500);
        sweepBare = sweepPointer(sweepArea, carrySeconds, bare.pid());
    }
    runEventsFor(500); // the board shows again
    const Rates sweepBoard = sweepPointer(sweepArea, carrySeconds / 2, 0);
    const Rates restBoard = atRest(carrySeconds / 2, 0);
    const zel::TwipRect first = window.layout().markers.front();
    window.pickUpMarker(1, QPointF(first.left + first.width / 2, first.top + first.height / 2));
    const bool carrying = window.timer2().isActive();
    const Rates sweepCarry = sweepPointer(sweepArea, carrySeconds, 0);
    // At rest: the pointer stays where the sweep ended. The sweep's last moves and the paint
    // they bring are the sweep's, so the count starts once they have been handled.
    runEventsFor(300);
    const Rates restCarry = atRest(carrySeconds, 0);
    const bool stillCarried = window.board()->carriedMarker()->isVisible();
    window.timer1().stop();
    window.timer2().stop();
    for (const Rates& r : {idleBoard, idleWatching, idleBlink, idleBare, sweepBare, sweepBoard,
                           restBoard, sweepCarry, restCarry}) {
        if (r.cpuShare < 0)
            return 1;
    }
    if (!carrying || !stillCarried) {
        std::fprintf(stderr, "the pick-up did not carry the marker\n");
        return 1;
    }

    const double reloadMedian = median(full.total);
    const double reloadWorst = worst(full.total);
    const double fileMedian = median(fileTimes);
    auto cpu = [&](Program p) { return median(started[p].cpu); };
    auto wall = [&](Program p) { return median(started[p].outside); };
    auto rss = [&](Program p) { return median(started[p].rssKb); };

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

    std::printf("start to the first paint (%d starts each, medians): processor time, wall time "
                "seen from outside, wall time to the paint itself, peak RSS\n",
                starts);
    for (int p = 0; p < kPrograms; ++p)
        std::printf("  %-24s %7.1f ms cpu %7.1f ms wall %7.1f ms paint %6.1f MB\n", programNames[p],
                    cpu(Program(p)), wall(Program(p)), median(started[p].wall),
                    rss(Program(p)) / 1024);
    std::printf("  (the floor is a %dx%d window drawing only the largest board's 201 texts)\n",
                boardWindow.width(), boardWindow.height());
    const double shortCpu = cpu(Short) / cpu(Bare);
    const double shortWall = wall(Short) / wall(Bare);
    const double sampleCpu = cpu(Sample) / cpu(Bare);
    const double largestCpu = cpu(Largest) / cpu(Floor);
    const double largestWall = wall(Largest) / wall(Floor);
    const double shortRss = rss(Short) / rss(Bare);
    std::printf("  101 short names / bare window: processor time %.2f [target <= 1.5: %s], wall "
                "%.2f [target <= 1.5: %s]\n",
                shortCpu, verdict(shortCpu <= 1.5), shortWall, verdict(shortWall <= 1.5));
    std::printf("  sample / bare window: processor time %.2f [target <= 1.25: %s], wall %.2f\n",
                sampleCpu, verdict(sampleCpu <= 1.25), wall(Sample) / wall(Bare));
    std::printf("  largest / floor: processor time %.2f, wall %.2f [target <= 1.1: %s]\n",
                largestCpu, largestWall, verdict(largestCpu <= 1.1 && largestWall <= 1.1));
    std::printf("memory: peak RSS at the first paint, 101 short names %.1f MB / bare window "
                "%.1f MB = %.2f [target <= 1.3: %s]; largest %.2f x the floor; after %.0f s idle "
                "%.1f MB / %.1f MB = %.2f\n",
                rss(Short) / 1024, rss(Bare) / 1024, shortRss, verdict(shortRss <= 1.3),
                rss(Largest) / rss(Floor), idleSeconds, idleBoardPeakKb / 1024.0,
                idleBarePeakKb / 1024.0, double(idleBoardPeakKb) / double(idleBarePeakKb));

    const double idleRatio = idleBoard.wakeups / idleBlink.wakeups;
    std::printf("idle, side by side for %.0f s (wake-ups a second, main thread in brackets, "
                "share of a core):\n",
                idleSeconds);
    std::printf("  board, 101 short names       %5.1f (%4.1f) %6.3f %%\n", idleBoard.wakeups,
                idleBoard.mainWakeups, 100 * idleBoard.cpuShare);
    std::printf("  the same, checking its folder %4.1f (%4.1f) %6.3f %%\n", idleWatching.wakeups,
                idleWatching.mainWakeups, 100 * idleWatching.cpuShare);
    std::printf("  bare window, title each 1 s  %5.1f (%4.1f) %6.3f %%\n", idleBlink.wakeups,
                idleBlink.mainWakeups, 100 * idleBlink.cpuShare);
    std::printf("  bare window                  %5.1f (%4.1f) %6.3f %%\n", idleBare.wakeups,
                idleBare.mainWakeups, 100 * idleBare.cpuShare);
    std::printf("  board / title-changing bare window: %.2f [target <= 1: %s]\n", idleRatio,
                verdict(idleRatio <= 1));

    std::printf(
        "carrying on the largest board (%.1f s each; wake-ups a second, share of a core):\n",
        carrySeconds);
    std::printf("  at rest, carried      %6.1f %6.3f %% [target <= 50 and <= 0.5 %%: %s]\n",
                restCarry.wakeups, 100 * restCarry.cpuShare,
                verdict(restCarry.wakeups <= 50 && restCarry.cpuShare <= 0.005));
    std::printf("  at rest, nothing carried %6.1f %6.3f %%; bare window %.1f %.3f %%\n",
                restBoard.wakeups, 100 * restBoard.cpuShare, idleBare.wakeups,
                100 * idleBare.cpuShare);
    const double sweepRatio = sweepCarry.cpuShare / sweepBare.cpuShare;
    std::printf("  sweeping, carried      %6.1f %6.3f %% = %.2f x the bare window [target <= 2: "
                "%s]\n",
                sweepCarry.wakeups, 100 * sweepCarry.cpuShare, sweepRatio,
                verdict(sweepRatio <= 2));
    std::printf("  sweeping, nothing carried %6.1f %6.3f %%; bare window of the board's size "
                "%.1f %.3f %%\n",
                sweepBoard.wakeups, 100 * sweepBoard.cpuShare, sweepBare.wakeups,
                100 * sweepBare.cpuShare);

    // One line for bench/run.sh to take medians over several runs.
    std::printf(
        "RESULT reload_median_ms=%.3f reload_worst_ms=%.3f changed_median_ms=%.3f "
        "changed_worst_ms=%.3f loadall_ms=%.3f "
        "start_cpu_bare_ms=%.1f start_cpu_floor_ms=%.1f start_cpu_largest_ms=%.1f "
        "start_cpu_short_ms=%.1f start_cpu_sample_ms=%.1f "
        "start_wall_bare_ms=%.1f start_wall_floor_ms=%.1f start_wall_largest_ms=%.1f "
        "start_wall_short_ms=%.1f start_wall_sample_ms=%.1f "
        "short_cpu_ratio=%.3f short_wall_ratio=%.3f sample_cpu_ratio=%.3f sample_wall_ratio=%.3f "
        "largest_floor_cpu_ratio=%.3f largest_floor_wall_ratio=%.3f "
        "rss_bare_mb=%.1f rss_short_mb=%.1f short_rss_ratio=%.3f largest_floor_rss_ratio=%.3f "
        "idle_board_wakeups=%.2f idle_board_main_wakeups=%.2f idle_watch_wakeups=%.2f "
        "idle_watch_pct=%.3f idle_blink_wakeups=%.2f "
        "idle_bare_wakeups=%.2f idle_wakeup_ratio=%.3f idle_board_pct=%.3f idle_blink_pct=%.3f "
        "rest_carry_wakeups=%.1f rest_carry_pct=%.3f rest_board_wakeups=%.1f rest_board_pct=%.3f "
        "sweep_carry_pct=%.3f sweep_board_pct=%.3f sweep_bare_pct=%.3f sweep_ratio=%.3f\n",
        reloadMedian, reloadWorst, median(changed.total), worst(changed.total), fileMedian,
        cpu(Bare), cpu(Floor), cpu(Largest), cpu(Short), cpu(Sample), wall(Bare), wall(Floor),
        wall(Largest), wall(Short), wall(Sample), shortCpu, shortWall, sampleCpu,
        wall(Sample) / wall(Bare), largestCpu, largestWall, rss(Bare) / 1024, rss(Short) / 1024,
        shortRss, rss(Largest) / rss(Floor), idleBoard.wakeups, idleBoard.mainWakeups,
        idleWatching.wakeups, 100 * idleWatching.cpuShare, idleBlink.wakeups, idleBare.wakeups,
        idleRatio, 100 * idleBoard.cpuShare, 100 * idleBlink.cpuShare, restCarry.wakeups,
        100 * restCarry.cpuShare, restBoard.wakeups, 100 * restBoard.cpuShare,
        100 * sweepCarry.cpuShare, 100 * sweepBoard.cpuShare, 100 * sweepBare.cpuShare, sweepRatio);
    std::fflush(stdout);
    return 0;
}

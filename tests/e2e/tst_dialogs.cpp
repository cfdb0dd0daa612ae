// Opens every editor and settings window of the real program from the menu with its keyboard
// shortcut, edits with the real pointer and keyboard (xdotool), writes, and checks the data
// files' bytes and the board drawn afterwards.
#include "e2e/E2eSupport.h"
#include "support/DataFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <algorithm>
#include <map>
#include <memory>

using namespace zel::e2e;
using zel::test::cp932Lines;
using zel::test::DataFolder;

namespace {

const QRgb kBackground = qRgb(0, 0, 64);
const QRgb kTagColour = qRgb(0, 255, 255);
const QRgb kGreenFill = qRgb(128, 255, 128);
const QRgb kYellowFill = qRgb(255, 255, 0);

const QStringList kDataFiles = {"zelpath.dat", "zelpara.dat", "zelprsn.dat",
                                "zelto1.dat",  "zelto2.dat",  "zeljob.dat"};
const QStringList kPersons = {"佐藤 花子",   "鈴木 一郎", "高橋 美咲", "田中 健太",
                              "伊藤 さくら", "渡辺 翔",   "山本 陽菜"};
const QStringList kGreen = {"掃除当番", "日直", "黒板", "給食"};
const QStringList kYellow = {"司会", "書記", "会計"};
// Green 掃除当番 and yellow 書記 for 佐藤, green 黒板 for 渡辺 (codes count from 0, green ones
// from 100).
const QByteArray kStartJob = " 3\r\n 100  0  0\r\n 1  0  1200\r\n 102  5  0\r\n";
const QByteArray kStartPara = " 4\r\n 3\r\n 1200\r\n 300\r\n 10\r\n";
// The data files are dated back to this, so that a rewrite with the same bytes shows.
const QDateTime kStartTime(QDate(2001, 1, 1), QTime(12, 0), Qt::UTC);

QByteArray listFile(const QStringList& names) {
    return cp932Lines(QStringList{" " + QString::number(names.size())} + names);
}

struct Mark {
    int code = 0;
    int person = 0;
    int offset = 0;
    bool green() const { return code >= 100; }
};

// The board the program lays out for a roster of four names per column, in twips from the
// board area's top-left corner.
struct Layout {
    static constexpr int kPerColumn = 4;
    static constexpr double kTagHeight = 300;
    static constexpr double kRowPitch = 1.2 * kTagHeight;

    int persons = 7;
    double tagWidth = 1200;
    int greenChars = 4;
    int yellowChars = 2;
    std::vector<Mark> marks{{100, 0, 0}, {1, 0, 1200}, {102, 5, 0}};

    int chars(const Mark& m) const { return m.green() ? greenChars : yellowChars; }
    double columnPitch() const {
        std::map<int, int> widths;
        int widest = 0;
        for (const Mark& m : marks)
            widest = std::max(widest, widths[m.person] += chars(m));
        return std::max(tagWidth + 400 + widest * 300.0, tagWidth + 1500);
    }
    QRectF tag(int p) const {
        return {(p / kPerColumn) * columnPitch() + 100,
                (p % kPerColumn) * kRowPitch + kTagHeight / 5, tagWidth, kTagHeight};
    }
    QRectF marker(const Mark& m) const {
        return {(m.person / kPerColumn) * columnPitch() + m.offset + 100 + tagWidth + 100,
                (m.person % kPerColumn) * kRowPitch + kTagHeight / 5 - 20, chars(m) * 300.0 + 30,
                kRowPitch - 25};
    }
};

// Control rectangles in twips of a window's client area.
namespace nameEditor {
const QRectF list(360, 600, 1935, 1140);
const QRectF write(2400, 1560, 975, 375);
const QRectF change(240, 2160, 615, 375);
} // namespace nameEditor
namespace dutyEditor {
const QRectF list(120, 480, 2300, 1140);
const QRectF write(2640, 1440, 975, 375);
const QRectF change(0, 2040, 615, 375);
const QRectF add(720, 2040, 615, 375);
const QRectF back(2880, 2040, 615, 375);
} // namespace dutyEditor
const QRectF kTagWidthBar(4320, 1560, 375, 300); // VScroll3
const QRectF kOptionsWrite(2640, 3240, 855, 375);
const QRectF kFolderBox(240, 600, 3735, 270);

} // namespace

class DialogsEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void renamePerson();
    void renameGreenDutyRepacksMarkers();
    void addYellowDutyThenBackWritesNothing();
    void widenTagsWithScrollArrow();
    void switchDataFolder();

  private:
    QStringList visibleWindows() const { return visibleWindowsOf(m_program->processId()); }
    bool openDialog(const QString& keys);
    QPoint at(const QRectF& twips) const;
    void clickControl(const QRectF& twips) const { clickAt(at(twips)); }
    void key(const QString& keys) const { runTool("xdotool", {"key", "--clearmodifiers", keys}); }
    void type(const QString& text) const { runTool("xdotool", {"type", "--delay", "30", text}); }
    bool backOnBoard(const QString& step);
    bool boardShows(const Layout& layout, const QString& step);
    bool boardStayedInPlace(const QString& step);
    bool filesAre(const QString& step);
    bool noneRewritten(const QString& step);
    void snapshotTimes();

    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<DataFolder> m_folder;
    std::unique_ptr<QProcess> m_program;
    QString m_window;
    QString m_dialog;
    QPoint m_dialogClient;
    QPoint m_origin;
    QPoint m_startOrigin;
    QRect m_mainOuter;
    QMap<QString, QByteArray> m_expected;
    QMap<QString, QDateTime> m_times;
    QString m_why;
};

void DialogsEndToEndTest::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: these tests need a real X server (for example Xvfb)");
    for (const char* tool : {"xdotool", "xwininfo", "xprop", "import"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
    const QByteArray root = runTool("xwininfo", {"-root"}).value_or(QByteArray());
    QVERIFY2(QRegularExpression("Depth: (24|32)\\b").match(QString::fromLatin1(root)).hasMatch(),
             "the X screen needs 24-bit colour (Xvfb -screen 0 1280x1024x24)");
    if (!windowManagerRuns()) {
        QVERIFY2(!QStandardPaths::findExecutable("openbox").isEmpty(),
                 "no window manager runs and openbox is not installed");
        m_windowManager = std::make_unique<QProcess>();
        m_windowManager->start("openbox", {"--sm-disable"});
        QVERIFY(m_windowManager->waitForStarted(5000));
        QVERIFY2(eventually([] { return windowManagerRuns(); }, 20000),
                 "openbox did not take over the display");
    }
    QVERIFY(QFileInfo(QStringLiteral(ZELTOMIL_BINARY)).isExecutable());
}

void DialogsEndToEndTest::cleanupTestCase() {
    if (m_windowManager) {
        m_windowManager->terminate();
        if (!m_windowManager->waitForFinished(3000))
            m_windowManager->kill();
        m_windowManager->waitForFinished(1000);
    }
}

void DialogsEndToEndTest::init() {
    m_folder = std::make_unique<DataFolder>();
    const DataFolder& f = *m_folder;
    m_expected = {{"zelpath.dat", "\"\"\r\n"},         {"zelpara.dat", kStartPara},
                  {"zelprsn.dat", listFile(kPersons)}, {"zelto1.dat", listFile(kGreen)},
                  {"zelto2.dat", listFile(kYellow)},   {"zeljob.dat", kStartJob}};
    for (const QString& name : kDataFiles) {
        f.write(name, m_expected[name]);
        QFile file(f.file(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(kStartTime, QFileDevice::FileModificationTime));
    }
    snapshotTimes();

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
    QVERIFY(runTool("xdotool", {"windowmove", m_window, "160", "120"}));
    QVERIFY2(
        eventually([this] { return windowInfo(m_window).outer().topLeft() == QPoint(160, 120); },
                   5000),
        "the window manager did not move the window");
    QVERIFY2(boardShows(Layout(), "start"), qPrintable(m_why));
    m_startOrigin = m_origin;
    m_mainOuter = windowInfo(m_window).outer();
}

void DialogsEndToEndTest::cleanup() {
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

void DialogsEndToEndTest::snapshotTimes() {
    m_times.clear();
    for (const QString& name : kDataFiles)
        m_times[name] = QFileInfo(m_folder->file(name)).lastModified();
}

// Gives the board window the keyboard and presses a menu shortcut: the board goes and one
// window of the program stands at the board window's outer corner.
bool DialogsEndToEndTest::openDialog(const QString& keys) {
    const QPoint corner = windowInfo(m_window).outer().topLeft();
    runTool("xdotool", {"windowactivate", "--sync", m_window});
    key(keys);
    const bool opened = eventually(
        [&] {
            const QStringList windows = visibleWindows();
            if (windows.size() != 1 || windows.first() == m_window)
                return false;
            m_dialog = windows.first();
            return !windowInfo(m_dialog).client.isEmpty();
        },
        5000);
    if (!opened) {
        m_why = keys + ": no window took the board's place";
        return false;
    }
    WindowInfo info;
    const bool placed = eventually(
        [&] {
            info = windowInfo(m_dialog);
            return info.frame.top() > 0 && info.outer().topLeft() == corner;
        },
        2000);
    if (!placed) {
        m_why = QStringLiteral("%1: the window opened at (%2, %3), not at the board's (%4, %5)")
                    .arg(keys)
                    .arg(info.outer().left())
                    .arg(info.outer().top())
                    .arg(corner.x())
                    .arg(corner.y());
        return false;
    }
    const QString title =
        QString::fromUtf8(runTool("xdotool", {"getwindowname", m_dialog}).value_or("")).trimmed();
    if (title != QStringLiteral("ゼルトミル")) {
        m_why = keys + ": the window is titled " + title;
        return false;
    }
    m_dialogClient = info.client.topLeft();
    runTool("xdotool", {"windowactivate", "--sync", m_dialog});
    return true;
}

QPoint DialogsEndToEndTest::at(const QRectF& twips) const {
    return onScreen(m_dialogClient, twips).center();
}

// The window closed and the board window is shown again.
bool DialogsEndToEndTest::backOnBoard(const QString& step) {
    const bool back = eventually(
        [&] {
            const QStringList windows = visibleWindows();
            if (windows.size() != 1 || windows.first() == m_dialog)
                return false;
            m_window = windows.first();
            return !windowInfo(m_window).client.isEmpty();
        },
        5000);
    if (!back)
        m_why = step + ": the board window did not come back";
    // Let the window manager place it.
    eventually([&] { return windowInfo(m_window).outer().topLeft() == m_mainOuter.topLeft(); },
               1500);
    return back;
}

// The board window stands where it stood at the start, its board area at the same place on
// screen, and the board fills the window's width.
bool DialogsEndToEndTest::boardStayedInPlace(const QString& step) {
    const WindowInfo info = windowInfo(m_window);
    if (info.outer().topLeft() != m_mainOuter.topLeft() || m_origin != m_startOrigin) {
        m_why = QStringLiteral("%1: the window came back at (%2, %3), its board at (%4, %5); "
                               "they stood at (%6, %7) and (%8, %9)")
                    .arg(step)
                    .arg(info.outer().left())
                    .arg(info.outer().top())
                    .arg(m_origin.x())
                    .arg(m_origin.y())
                    .arg(m_mainOuter.left())
                    .arg(m_mainOuter.top())
                    .arg(m_startOrigin.x())
                    .arg(m_startOrigin.y());
        return false;
    }
    const auto shot = grab();
    const QRect rightEdge(info.client.right() - 2, m_origin.y() + 2, 2, 30);
    if (!shot || share(*shot, rightEdge, kBackground) < 0.5) {
        m_why = step + ": the window is wider than the board beside it";
        return false;
    }
    return true;
}

// Every name tag and marker of the layout is drawn and the tag place after the last one is
// empty.
bool DialogsEndToEndTest::boardShows(const Layout& layout, const QString& step) {
    QString problem;
    const bool shown = eventually(
        [&] {
            const auto shot = grab();
            const auto info = windowInfo(m_window);
            if (!shot || info.client.isEmpty()) {
                problem = "no screenshot or no window";
                return false;
            }
            const QRect client = info.client.intersected(shot->rect());
            int top = -1;
            for (int y = client.top(); y <= client.bottom() && top < 0; ++y)
                if ((shot->pixel(client.left() + 1, y) & 0xffffff) == (kBackground & 0xffffff))
                    top = y;
            int left = -1;
            for (int x = client.left(); top >= 0 && x <= client.right() && left < 0; ++x)
                if ((shot->pixel(x, top) & 0xffffff) == (kBackground & 0xffffff))
                    left = x;
            if (top < 0 || left < 0) {
                problem = "no dark blue board area in the main window";
                return false;
            }
            const QPoint origin(left, top);
            for (int p = 0; p <= layout.persons; ++p) {
                const QRect tag = onScreen(origin, layout.tag(p)).adjusted(1, 1, -1, -1);
                const double cyan = share(*shot, tag, kTagColour);
                if (p < layout.persons && cyan < 0.5) {
                    problem = QStringLiteral("no name tag of person %1").arg(p);
                    return false;
                }
                if (p == layout.persons && cyan > 0.05) {
                    problem = QStringLiteral("a name tag for person %1, beyond the roster").arg(p);
                    return false;
                }
            }
            for (const Mark& m : layout.marks) {
                const QRect r = onScreen(origin, layout.marker(m)).adjusted(1, 1, -1, -1);
                if (share(*shot, r, m.green() ? kGreenFill : kYellowFill) < 0.3) {
                    problem = QStringLiteral("no marker %1 beside person %2 at offset %3")
                                  .arg(m.code)
                                  .arg(m.person)
                                  .arg(m.offset);
                    return false;
                }
            }
            m_origin = origin;
            return true;
        },
        4000);
    if (!shown) {
        m_why = step + ": " + problem;
        const QString folder = qEnvironmentVariable("ZELTOMIL_E2E_SCREENSHOTS");
        if (const auto shot = grab(); shot && !folder.isEmpty())
            shot->save(folder + "/e2e-dialogs-" + QTest::currentTestFunction() + ".png");
    }
    return shown;
}

// Every data file holds the expected bytes; a file whose bytes did not change was not
// rewritten either (its time is that of the last snapshot).
bool DialogsEndToEndTest::filesAre(const QString& step) {
    auto allMatch = [&] {
        return std::all_of(kDataFiles.begin(), kDataFiles.end(), [&](const QString& name) {
            return m_folder->read(name) == m_expected[name];
        });
    };
    if (!eventually(allMatch, 5000)) {
        for (const QString& name : kDataFiles) {
            if (m_folder->read(name) != m_expected[name]) {
                m_why = QStringLiteral("%1: %2 holds\n%3\ninstead of\n%4")
                            .arg(step, name,
                                 QString::fromLatin1(m_folder->read(name).toPercentEncoding(" ")),
                                 QString::fromLatin1(m_expected[name].toPercentEncoding(" ")));
                return false;
            }
        }
    }
    return true;
}

bool DialogsEndToEndTest::noneRewritten(const QString& step) {
    for (const QString& name : kDataFiles) {
        if (QFileInfo(m_folder->file(name)).lastModified() != m_times[name]) {
            m_why = QStringLiteral("%1: %2 was written").arg(step, name);
            return false;
        }
    }
    return filesAre(step);
}

void DialogsEndToEndTest::renamePerson() {
    const Layout start;
    const auto before = grab();
    QVERIFY(before);
    const QRect firstTag = onScreen(m_origin, start.tag(0));

    QVERIFY2(openDialog("ctrl+n"), qPrintable(m_why));
    const QRect list = onScreen(m_dialogClient, nameEditor::list);
    clickAt(list.topLeft() + QPoint(30, 8));
    clickControl(nameEditor::change);
    key("ctrl+a");
    type("Alice Smith");
    key("Return");
    QTest::qWait(200);
    QVERIFY2(noneRewritten("before 書き込み"), qPrintable(m_why));
    clickControl(nameEditor::write);

    QStringList names = kPersons;
    names[0] = "Alice Smith";
    m_expected["zelprsn.dat"] = listFile(names);
    QVERIFY2(filesAre("書き込み"), qPrintable(m_why));
    for (const char* name :
         {"zelpath.dat", "zelpara.dat", "zelto1.dat", "zelto2.dat", "zeljob.dat"})
        QCOMPARE(QFileInfo(m_folder->file(name)).lastModified(), kStartTime);
    QVERIFY2(backOnBoard("書き込み"), qPrintable(m_why));
    QVERIFY2(boardShows(start, "after the rename"), qPrintable(m_why));
    QVERIFY2(boardStayedInPlace("after the rename"), qPrintable(m_why));
    // The first tag is still a cyan tag, with other text on it.
    const auto after = grab();
    QVERIFY(after);
    QVERIFY2(before->copy(firstTag) != after->copy(firstTag),
             "the first name tag looks as before the rename");
}

void DialogsEndToEndTest::renameGreenDutyRepacksMarkers() {
    QVERIFY2(openDialog("ctrl+g"), qPrintable(m_why));
    const QRect list = onScreen(m_dialogClient, dutyEditor::list);
    clickAt(list.topLeft() + QPoint(30, 8));
    clickControl(dutyEditor::change);
    key("ctrl+a");
    type("ABCDEF");
    key("Return");
    QTest::qWait(200);
    QVERIFY2(noneRewritten("before 書き込み"), qPrintable(m_why));
    clickControl(dutyEditor::write);

    QStringList green = kGreen;
    green[0] = "ABCDEF";
    m_expected["zelto1.dat"] = listFile(green);
    // Green markers are six characters wide now: 佐藤's yellow marker moves on.
    m_expected["zeljob.dat"] = " 3\r\n 100  0  0\r\n 1  0  1800\r\n 102  5  0\r\n";
    QVERIFY2(filesAre("書き込み"), qPrintable(m_why));
    QVERIFY2(backOnBoard("書き込み"), qPrintable(m_why));
    Layout wider;
    wider.greenChars = 6;
    wider.marks[1].offset = 1800;
    QVERIFY2(boardShows(wider, "after the rename"), qPrintable(m_why));
    QVERIFY2(boardStayedInPlace("after the rename"), qPrintable(m_why));
}

void DialogsEndToEndTest::addYellowDutyThenBackWritesNothing() {
    // An addition left with 戻る is forgotten.
    QVERIFY2(openDialog("ctrl+y"), qPrintable(m_why));
    clickControl(dutyEditor::add);
    type("QQ");
    key("Return");
    clickControl(dutyEditor::back);
    QVERIFY2(backOnBoard("戻る"), qPrintable(m_why));
    QVERIFY2(noneRewritten("戻る"), qPrintable(m_why));
    QVERIFY2(boardShows(Layout(), "after 戻る"), qPrintable(m_why));
    QVERIFY2(boardStayedInPlace("after 戻る"), qPrintable(m_why));

    QVERIFY2(openDialog("ctrl+y"), qPrintable(m_why));
    clickControl(dutyEditor::add);
    type("XYZ");
    key("Return");
    QTest::qWait(200);
    QVERIFY2(noneRewritten("before 書き込み"), qPrintable(m_why));
    clickControl(dutyEditor::write);

    // Nothing was selected: the new duty comes first, and the list holds the forgotten one no
    // more.
    m_expected["zelto2.dat"] = listFile(QStringList{"XYZ"} + kYellow);
    QVERIFY2(filesAre("書き込み"), qPrintable(m_why));
    QVERIFY2(QFileInfo(m_folder->file("zelto2.dat")).lastModified() != kStartTime,
             "zelto2.dat was not rewritten");
    QVERIFY2(backOnBoard("書き込み"), qPrintable(m_why));
    Layout layout;
    layout.yellowChars = 3;
    QVERIFY2(boardShows(layout, "after the addition"), qPrintable(m_why));
    QVERIFY2(boardStayedInPlace("after the addition"), qPrintable(m_why));
}

void DialogsEndToEndTest::widenTagsWithScrollArrow() {
    const int widthBefore = windowInfo(m_window).client.width();
    QVERIFY2(openDialog("ctrl+o"), qPrintable(m_why));
    const QRect bar = onScreen(m_dialogClient, kTagWidthBar);
    for (int i = 0; i < 2; ++i) {
        clickAt(QPoint(bar.center().x(), bar.top() + 3));
        QTest::qWait(150);
    }
    QVERIFY2(noneRewritten("before 書込み"), qPrintable(m_why));
    clickControl(kOptionsWrite);

    m_expected["zelpara.dat"] = " 4\r\n 3\r\n 1400\r\n 300\r\n 10\r\n";
    QVERIFY2(filesAre("書込み"), qPrintable(m_why));
    QVERIFY2(backOnBoard("書込み"), qPrintable(m_why));
    Layout wider;
    wider.tagWidth = 1400;
    QVERIFY2(boardShows(wider, "after 書込み"), qPrintable(m_why));
    // Two columns, each 200 twips wider.
    const int grown = windowInfo(m_window).client.width() - widthBefore;
    QVERIFY2(std::abs(grown - px(400)) <= 2,
             qPrintable(QStringLiteral("the window grew by %1 pixels").arg(grown)));
    QVERIFY2(boardStayedInPlace("after 書込み"), qPrintable(m_why));
}

void DialogsEndToEndTest::switchDataFolder() {
    const DataFolder& f = *m_folder;
    QVERIFY(QDir(f.path()).mkdir("sub"));
    f.writeLines("sub/zelprsn.dat", {" 5", "青木", "石井", "上田", "遠藤", "大野"});
    f.writeLines("sub/zelto1.dat", {" 2", "掃除", "日直"});
    f.writeLines("sub/zelto2.dat", {" 1", "司会"});
    f.write("sub/zeljob.dat", " 2\r\n 100  4  0\r\n 0  4  600\r\n");
    QMap<QString, QByteArray> second;
    for (const QString name : {"zelprsn.dat", "zelto1.dat", "zelto2.dat", "zeljob.dat"})
        second["sub/" + name] = f.read("sub/" + name);

    QVERIFY2(openDialog("ctrl+p"), qPrintable(m_why));
    clickControl(kFolderBox);
    key("ctrl+a");
    type("sub");
    QVERIFY2(noneRewritten("before Enter"), qPrintable(m_why));
    key("Return");

    m_expected["zelpath.dat"] = "sub/\r\n";
    QVERIFY2(filesAre("Enter"), qPrintable(m_why));
    QVERIFY2(backOnBoard("Enter"), qPrintable(m_why));
    Layout layout;
    layout.persons = 5;
    layout.greenChars = 2;
    layout.yellowChars = 2;
    layout.marks = {{100, 4, 0}, {0, 4, 600}};
    QVERIFY2(boardShows(layout, "the second roster"), qPrintable(m_why));
    QVERIFY2(boardStayedInPlace("the second roster"), qPrintable(m_why));
    for (const char* name : {"zelprsn.dat", "zelto1.dat", "zelto2.dat", "zeljob.dat"})
        QCOMPARE(QFileInfo(f.file(name)).lastModified(), kStartTime);
    for (auto it = second.cbegin(); it != second.cend(); ++it)
        QCOMPARE(f.read(it.key()), it.value());
}

QTEST_GUILESS_MAIN(DialogsEndToEndTest)
#include "tst_dialogs.moc"

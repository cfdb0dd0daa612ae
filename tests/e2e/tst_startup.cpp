#include "board/TwipScale.h"
#include "support/DataFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace zel;
using zel::test::DataFolder;

// Starts the real program in a folder of data files on a real X server and looks at its
// window: the name tags must stand where the board layout puts them, and 終了 ends it.
class TestStartup : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void boardShowsTagsAndExits();
    void cleanup();

  private:
    QString run(const QStringList& command, int timeoutMs = 10000);
    QImage grabWindow();

    QProcess m_program;
    QString m_windowId;
};

namespace {
const QRgb kCyan = qRgb(0, 255, 255);
const QRgb kBackground = qRgb(0, 0, 64);
const QRgb kFrame = qRgb(255, 192, 192);

// Bounding boxes of the cyan areas below `top`, in reading order of their top-left corners.
QList<QRect> cyanAreas(const QImage& image, int top) {
    QList<QRect> areas;
    QList<bool> seen(qsizetype(image.width()) * image.height(), false);
    for (int y0 = top; y0 < image.height(); ++y0) {
        for (int x0 = 0; x0 < image.width(); ++x0) {
            if (seen[y0 * image.width() + x0] || image.pixel(x0, y0) != kCyan)
                continue;
            QRect box(x0, y0, 1, 1);
            QList<QPoint> stack{{x0, y0}};
            seen[y0 * image.width() + x0] = true;
            while (!stack.isEmpty()) {
                const QPoint p = stack.takeLast();
                box |= QRect(p, QSize(1, 1));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (q.y() < top || !image.rect().contains(q))
                        continue;
                    const qsizetype i = qsizetype(q.y()) * image.width() + q.x();
                    if (!seen[i] && image.pixel(q) == kCyan) {
                        seen[i] = true;
                        stack << q;
                    }
                }
            }
            if (box.width() > 10 && box.height() > 5)
                areas << box.translated(0, -top);
        }
    }
    std::sort(areas.begin(), areas.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.left(), a.top()) < std::pair(b.left(), b.top());
    });
    return areas;
}
} // namespace

void TestStartup::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (DISPLAY is not set)");
    for (const char* tool : {"xdotool", "import"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
}

QString TestStartup::run(const QStringList& command, int timeoutMs) {
    QProcess p;
    p.start(command.first(), command.mid(1));
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QImage TestStartup::grabWindow() {
    QProcess p;
    p.start(QStringLiteral("import"),
            {QStringLiteral("-window"), m_windowId, QStringLiteral("png:-")});
    p.waitForFinished(10000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

void TestStartup::boardShowsTagsAndExits() {
    // Seven persons, five to a column, in a data folder named without its trailing separator.
    DataFolder dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data")));
    dir.writeLines(QStringLiteral("zelpath.dat"), {QStringLiteral("data")});
    dir.writeLines(QStringLiteral("zelpara.dat"), {" 5", " 4", " 1200", " 300", " 9"});
    dir.writeLines(QStringLiteral("data/zelprsn.dat"),
                   {" 7", "山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺"});
    dir.writeLines(QStringLiteral("data/zelto1.dat"), {" 2", "掃除", "ゴミ出し"});
    dir.writeLines(QStringLiteral("data/zelto2.dat"), {" 1", "花"});
    dir.writeLines(QStringLiteral("data/zeljob.dat"), {" 0"});
    const QByteArray pathFile = dir.read(QStringLiteral("zelpath.dat"));

    m_program.setWorkingDirectory(dir.path());
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(QStringLiteral(ZELTOMIL_BINARY), {});
    QVERIFY2(m_program.waitForStarted(10000), qPrintable(m_program.errorString()));
    const QString pid = QString::number(m_program.processId());
    m_windowId =
        run({QStringLiteral("xdotool"), QStringLiteral("search"), QStringLiteral("--sync"),
             QStringLiteral("--onlyvisible"), QStringLiteral("--all"), QStringLiteral("--pid"), pid,
             QStringLiteral("--name"), QStringLiteral("ゼルトミル")})
            .section(u'\n', 0, 0);
    QVERIFY2(!m_windowId.isEmpty(), "the main window did not appear");

    // Column pitch 1200 + 1500 = 2700, row pitch 360. The board under the menu bar is
    // 2 x 2700 + 350 - 120 wide and 5 x 360 + 60 + 1100 - 690 high.
    const double tx = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    const double ty = 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const TwipScale scale{tx, ty};
    QList<QRect> expectedTags;
    for (int person = 0; person < 7; ++person)
        expectedTags << scale.rect(
            {double(person / 5) * 2700 + 100, (person % 5) * 360.0 + 60, 1200, 300});

    // The window may take a moment to paint: look again until the tags are in place.
    QImage shot;
    int boardTop = -1;
    QList<QRect> tags;
    QElapsedTimer clock;
    clock.start();
    do {
        QTest::qWait(300);
        shot = grabWindow();
        boardTop = -1;
        for (int y = 0; y < shot.height() && boardTop < 0; ++y)
            if (shot.pixel(3, y) == kBackground)
                boardTop = y;
        if (boardTop >= 0)
            tags = cyanAreas(shot, boardTop);
    } while ((boardTop < 0 || tags.size() != expectedTags.size()) && clock.elapsed() < 15000);

    QVERIFY2(!shot.isNull(), "no screenshot of the main window");
    QVERIFY2(boardTop > 0, "no menu bar above the board");
    QCOMPARE(shot.width(), scale.width(2 * 2700 + 350 - 120));
    QCOMPARE(shot.height() - boardTop, scale.height(5 * 360 + 60 + 1100 - 690));
    QCOMPARE(tags, expectedTags);
    // The row frame of person 0 runs down the board's left edge.
    QCOMPARE(QColor(shot.pixel(0, boardTop + scale.y(30 + 180))), QColor(kFrame));

    // 終了 in the menu bar ends the program: it is the last group of dark text pixels there.
    QList<int> textColumns;
    for (int x = 0; x < shot.width(); ++x)
        for (int y = 0; y < boardTop; ++y)
            if (qGray(shot.pixel(x, y)) < 110) {
                textColumns << x;
                break;
            }
    QVERIFY(!textColumns.isEmpty());
    int groupStart = textColumns.first();
    for (qsizetype i = 1; i < textColumns.size(); ++i)
        if (textColumns[i] - textColumns[i - 1] > 6)
            groupStart = textColumns[i];
    const int quitX = (groupStart + textColumns.last()) / 2;
    QVERIFY2(groupStart > textColumns.first(), "menu bar shows fewer than two items");
    run({QStringLiteral("xdotool"), QStringLiteral("mousemove"), QStringLiteral("--window"),
         m_windowId, QString::number(quitX), QString::number(boardTop / 2), QStringLiteral("click"),
         QStringLiteral("1")});
    QVERIFY2(m_program.waitForFinished(10000), "the program did not end after 終了");
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QCOMPARE(dir.read(QStringLiteral("zelpath.dat")), pathFile); // loading wrote nothing
}

void TestStartup::cleanup() {
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(5000);
    }
}

int main(int argc, char* argv[]) {
    // Without a display the test still starts, to report itself skipped.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"

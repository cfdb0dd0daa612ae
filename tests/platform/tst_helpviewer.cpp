// The help window on help files from a folder anyone may write to: it never waits on a FIFO or a
// device, never reads a huge file or a picture outside the help file's folder, shows markup that
// would take long to lay out as plain text, and says why a file cannot be shown. Each opening
// must be over within a second: the board waits for it.
#include "platform/HelpBrowser.h"
#include "platform/HelpViewer.h"
#include "support/DataFolder.h"
#include "support/TableRow.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <sys/stat.h>

using namespace zel;
using zel::test::DataFolder;
using zel::test::row;

namespace {
QByteArray repeated(const QByteArray& piece, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}
} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
    DataFolder m_folder; // holds help/ (the help file's folder) and outside.png beside it
    QString m_start;

    QString help(const QString& name) const { return m_folder.file("help/" + name); }

  private slots:
    void initTestCase() {
        m_start = QDir::currentPath();
        QVERIFY(QDir(m_folder.path()).mkpath("help/sub"));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(help("pic.png")) && picture.save(help("sub/pic.png")) &&
                picture.save(m_folder.file("outside.png")));
        QVERIFY(
            QImage(HelpBrowser::kMaxImageSide + 1, 1, QImage::Format_RGB32).save(help("wide.png")));
        m_folder.write("help/big.png", QByteArray(HelpBrowser::kMaxImageBytes + 1, 'x'));
        QVERIFY(makeFifo(help("fifo.png")));
        QVERIFY(QFile::link("/dev/zero", help("zero.png")));
        QVERIFY(QFile::link("../outside.png", help("out.png")));
        QVERIFY(QFile::link("sub/pic.png", help("in.png")));
        m_folder.write("help/page.html", "<p>second page</p>");
        m_folder.write("help/tables.html", repeated("<table><tr><td>", 500) + "deep");
        m_folder.write("help/style.css", "p { color: green }");
        QVERIFY(QDir::setCurrent(m_folder.file("help")));
    }
    void cleanupTestCase() { QDir::setCurrent(m_start); }

    // What a picture, style sheet or linked page named in the help file gives.
    void resources_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // "picture", the page's words, or empty: nothing
        const int image = QTextDocument::ImageResource, page = QTextDocument::HtmlResource;
        QFile png(help("pic.png"));
        QVERIFY(png.open(QIODevice::ReadOnly));
        const QString pngBase64 = QString::fromLatin1(png.readAll().toBase64());
        row("picture in the folder", image, "pic.png", "picture");
        row("picture in a subfolder", image, "sub/pic.png", "picture");
        row("link to a picture in the folder", image, "in.png", "picture");
        row("as a file URL", image, QUrl::fromLocalFile(help("pic.png")).toString(), "picture");
        row("beside the folder", image, "../outside.png", "");
        row("link leading out of the folder", image, "out.png", "");
        row("FIFO", image, "fifo.png", "");
        row("link to /dev/zero", image, "zero.png", "");
        row("/dev/zero", image, "/dev/zero", "");
        row("/dev/zero as a file URL", image, "file:///dev/zero", "");
        row("style sheet of /dev/zero", int(QTextDocument::StyleSheetResource), "/dev/zero", "");
        row("style sheet", int(QTextDocument::StyleSheetResource), "style.css", "color: green");
        row("picture of too many pixels", image, "wide.png", "");
        row("picture file too large", image, "big.png", "");
        row("from the network", image, "http://localhost/pic.png", "");
        row("written into the page", image, "data:image/png;base64," + pngBase64, "picture");
        row("linked page", page, "page.html", "second page");
        row("linked page of nested tables", page, "tables.html", "<pre");
    }
    void resources() {
        QFETCH(int, type);
        QFETCH(QString, name);
        HelpViewer viewer;
        viewer.openFile("zelto.hlp"); // none there yet: the shipped one, the folder its own
        auto* browser = viewer.findChild<HelpBrowser*>();
        QVERIFY(browser);
        browser->setResourceFolder(m_folder.file("help"));
        QElapsedTimer clock;
        clock.start();
        const QVariant loaded = browser->loadResource(type, QUrl(name));
        QVERIFY(clock.elapsed() < 1000);
        // A picture refused is the sign of a missing picture, 16 pixels square.
        const QString got = loaded.userType() == QMetaType::QImage
                                ? (loaded.value<QImage>().width() == 8 ? "picture" : "")
                                : loaded.toString();
        QFETCH(QString, expected);
        QVERIFY2(expected.isEmpty() ? got.isEmpty() : got.contains(expected), qPrintable(got));
    }

    // The help file itself; what the window then shows.
    void helpFiles_data() {
        QTest::addColumn<QByteArray>("content"); // "<fifo>": a FIFO in its place
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("formatted"); // laid out from its markup
        const QByteArray page = "<h1>Title</h1><p>before</p><img src=\"%1\"><p>after</p>";
        for (const char* picture : {"fifo.png", "zero.png", "/dev/zero", "wide.png"})
            QTest::newRow(picture) << QByteArray(page).replace("%1", picture) << "after" << true;
        row("style sheet of a FIFO",
            QByteArray("<html><head><link rel=\"stylesheet\" type=\"text/css\" "
                       "href=\"fifo.png\"></head><body><h1>Title</h1><p>styled</p></body>"),
            "styled", true);
        row("1 MB of nested tables", repeated("<table><tr><td>", 70000), "大きすぎる", false);
        row("200 KB of nested tables", repeated("<table><tr><td>", 13000) + "end", "込み入っている",
            false);
        row("nested lists", repeated("<ul><li>", 100) + "end", "end", false);
        row("1 MB of NUL bytes", QByteArray(1 << 20, '\0'), "大きすぎる", false);
        row("NUL bytes", QByteArray(100000, '\0'), "テキストファイルではない", false);
        row("wide column spans",
            "<table><tr>" + repeated("<td colspan=\"100000\">x</td>", 20) + "</tr></table>",
            "込み入っている", false);
        row("one long word", QByteArray(200000, 'w'), "込み入っている", false);
        row("control characters", repeated("\x01 ", 1000) + "<h1>Title</h1><p>text</p>", "text",
            true);
        row("FIFO in its place", QByteArray("<fifo>"), "普通のファイルではない", false);
    }
    void helpFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        QFETCH(bool, formatted);
        QFile::remove(help("zelto.hlp"));
        if (content == "<fifo>")
            QVERIFY(makeFifo(help("zelto.hlp")));
        else
            m_folder.write("help/zelto.hlp", content);
        HelpViewer viewer;
        viewer.show();
        QElapsedTimer clock;
        clock.start();
        viewer.openFile("zelto.hlp");
        QTest::qWait(0);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        const QString text = viewer.shownText();
        QVERIFY2(text.contains(shown), qPrintable(text.left(200)));
        QCOMPARE(text.contains("Title") && !text.contains("<h1>"), formatted);
        QFile::remove(help("zelto.hlp"));
    }

    void shippedHelp() { // laid out from its markup, as written
        QFile::remove(help("zelto.hlp"));
        QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("ZELTOMIL_SOURCE_DIR")) +
                                "/resources/zelto.hlp",
                            help("zelto.hlp")));
        HelpViewer viewer;
        viewer.openFile("zelto.hlp");
        const QString text = viewer.shownText();
        QVERIFY(text.startsWith("ゼルトミル ヘルプ"));
        QVERIFY(text.contains("当番を割り当てる") && !text.contains("込み入っている"));
        QFile::remove(help("zelto.hlp"));
    }
};

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"

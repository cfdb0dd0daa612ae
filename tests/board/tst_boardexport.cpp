// The board on paper and in files, drawn by the renderer and compared with what the board's
// window shows: the PNG pixel for pixel, the PDF read back with poppler's tools (text, pages,
// colours where the board has them), monochrome, failed exports, the print preview and the
// two menu items.

#include "board/AppVersion.h"
#include "board/BoardExport.h"
#include "board/BoardPrinter.h"
#include "board/BoardView.h"
#include "board/MainWindow.h"
#include "roster/RosterFiles.h"
#include "support/DataFolder.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace zel;
using namespace zel::test;

namespace {
using Files = QMap<QString, QByteArray>;

Files sampleFiles() {
    Files files;
    const QDir sample(qEnvironmentVariable("ZELTOMIL_SOURCE_DIR") + "/sample");
    for (const QString& name : sample.entryList(QDir::Files)) {
        QFile file(sample.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files[name] = file.readAll();
    }
    return files;
}

QByteArray lines(const QStringList& lines) {
    return cp932Lines(lines);
}

// Large letters for the tags' height (a name reaches past its tag and into the next row's
// marker), a mnemonic sign, an empty name, a name wider than its tag, a duty code past its
// list, markers in a column beyond the offscreen screen's width.
Files awkwardFiles() {
    QStringList persons{" 9", "A&B", "", "とても長い名前の人がここにいます", "R"};
    for (int i = 4; i < 9; ++i)
        persons << QStringLiteral("人%1").arg(i);
    return {{"zelpara.dat", " 2\r\n 3\r\n 900\r\n 300\r\n 16\r\n"},
            {"zelprsn.dat", lines(persons)},
            {"zelto1.dat", lines({" 3", "gy&y", "長い当番の名前", "窓"})},
            {"zelto2.dat", lines({" 2", "司会", "書記"})},
            {"zeljob.dat", " 6\r\n 100  0  0\r\n 1  0  2100\r\n 101  2  0\r\n 107  3  0\r\n"
                           " 0  8  0\r\n 102  8  900\r\n"}};
}

// A main window over a data folder of its own, on the scripted desktop (15 twips a pixel).
struct Board {
    FakePlatform platform;
    DataFolder folder;
    RosterState state;
    RosterFiles files{platform.store, folder.path()};
    std::unique_ptr<MainWindow> window;

    explicit Board(const Files& data) {
        for (const auto& [name, bytes] : data.asKeyValueRange())
            folder.write(name, bytes);
        window = std::make_unique<MainWindow>(AppContext{state, files, platform});
        window->load();
    }
    TwipScale scale() const { return window->scale(); }
    BoardRenderer renderer() const { return BoardRenderer(state, scale()); }
    QImage shown() const {
        // The focus frame of a button belongs to the window, not to the board.
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
        return window->board()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

QImage decoded(const QByteArray& png) {
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ, and where the first one is.
QString difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(a.width())
            .arg(a.height())
            .arg(b.width())
            .arg(b.height());
    int count = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0)
                first = QPoint(x, y);
    return count == 0 ? QString()
                      : QStringLiteral("%1 pixels differ, the first at (%2, %3)")
                            .arg(count)
                            .arg(first.x())
                            .arg(first.y());
}

// Runs a poppler tool; its standard output, or a failure naming the tool.
QByteArray poppler(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
        return {};
    }
    return process.readAllStandardOutput();
}

bool near(QRgb a, QRgb b, int tolerance = 60) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) <=
           tolerance;
}

// The box of the pixels near a colour.
QRect boxOf(const QImage& image, QRgb colour, int tolerance) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixel(x, y), colour, tolerance))
                box |= QRect(x, y, 1, 1);
    return box;
}

// One colour all around a point of the board, two pixels each way.
bool uniformAround(const QImage& image, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (image.pixel(x + dx, y + dy) != image.pixel(x, y))
                return false;
    return true;
}

// Puts a file name into a file dialog's name box, as a user types it, and accepts the dialog.
void typeName(QFileDialog* dialog, const QString& name) {
    auto* box = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(box);
    box->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

// Runs `step` on the modal dialog once it is open.
void whenModal(std::function<void(QWidget*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            step(modal);
        }
    });
    timer->start();
}

const QRgb kBackground = qRgb(0, 0, 64), kTag = qRgb(0, 255, 255), kGreenFill = qRgb(128, 255, 128),
           kYellowFill = qRgb(255, 255, 0);
} // namespace

class TestBoardExport : public QObject {
    Q_OBJECT

  private slots:
    void pngIsTheBoardAsShown_data() {
        QTest::addColumn<Files>("files");
        QTest::newRow("sample") << sampleFiles();
        QTest::newRow("awkward names and sizes") << awkwardFiles();
        Files wide = sampleFiles();
        wide["zelpara.dat"] = " 1\r\n 4\r\n 1200\r\n 300\r\n 10\r\n"; // 12 columns, 2000+ px
        QTest::newRow("wider than the screen") << wide;
    }
    void pngIsTheBoardAsShown() {
        QFETCH(Files, files);
        const Board b(files);
        const QImage png = decoded(boardPng(b.renderer(), 1));
        const QString diff = difference(png, b.shown());
        if (!diff.isEmpty()) {
            png.save(QDir::temp().filePath("export-png.png"));
            b.shown().save(QDir::temp().filePath("export-shown.png"));
        }
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // At 2x: the same board twice as large, drawn at that size rather than enlarged.
    void pngTwiceAsLarge() {
        const Board b(sampleFiles());
        const QImage one = decoded(boardPng(b.renderer(), 1));
        const QImage two = decoded(boardPng(b.renderer(), 2));
        QCOMPARE(two.size(), one.size() * 2);
        int uniform = 0, same = 0;
        for (int y = 3; y < one.height() - 3; y += 3)
            for (int x = 3; x < one.width() - 3; x += 3)
                if (uniformAround(one, x, y)) {
                    ++uniform;
                    same += two.pixel(2 * x, 2 * y) == one.pixel(x, y);
                }
        QVERIFY2(same > uniform * 0.98,
                 qPrintable(QStringLiteral("%1 of %2").arg(same).arg(uniform)));
        // Text edges: an enlarged picture would repeat each pixel in a 2x2 block.
        const QRect tag = b.renderer().scale().rect(b.renderer().layout().tags[0]);
        int blocks = 0, checked = 0;
        for (int y = tag.top(); y <= tag.bottom(); ++y)
            for (int x = tag.left(); x <= tag.right(); ++x) {
                const QRgb p = two.pixel(2 * x, 2 * y);
                if (p == kTag)
                    continue;
                ++checked;
                blocks += two.pixel(2 * x + 1, 2 * y) == p && two.pixel(2 * x, 2 * y + 1) == p &&
                          two.pixel(2 * x + 1, 2 * y + 1) == p;
            }
        QVERIFY(checked > 50);
        QVERIFY2(blocks < checked * 0.8,
                 qPrintable(QStringLiteral("%1 of %2").arg(blocks).arg(checked)));
    }

    // No colour is needed to tell a tag from a marker, or a green duty from a yellow one.
    void monochromeTellsApartByFrames() {
        const Board b(sampleFiles());
        const BoardRenderer r = b.renderer();
        const QImage mono = r.image(1, BoardRenderer::Style::Monochrome);
        for (int y = 0; y < mono.height(); ++y)
            for (int x = 0; x < mono.width(); ++x) {
                const QRgb p = mono.pixel(x, y);
                QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p),
                         qPrintable(QStringLiteral("colour at (%1, %2)").arg(x).arg(y)));
            }
        // The share of black in the first mostly black row of a rectangle (its top edge),
        // between the first and the last black pixel.
        auto topEdge = [&mono](const QRect& rect) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                int first = -1, last = -1, black = 0;
                for (int x = rect.left(); x <= rect.right(); ++x)
                    if (qGray(mono.pixel(x, y)) < 64) {
                        first = first < 0 ? x : first;
                        last = x;
                        ++black;
                    }
                if (black > rect.width() / 2)
                    return double(black) / (last - first + 1);
            }
            return 0.0;
        };
        const RosterState& s = b.state;
        for (int m = 1; m <= s.markerCount; ++m) {
            const double edge = topEdge(r.scale().rect(r.layout().markers[m - 1]));
            if (isGreenCode(s.markerDuty[m]))
                QVERIFY2(edge == 1.0, qPrintable(QString::number(edge)));
            else
                QVERIFY2(edge > 0.5 && edge < 0.9, qPrintable(QString::number(edge)));
        }
        // Tags: a frame two pixels thick all round.
        for (const TwipRect& tag : r.layout().tags) {
            const QRect t = r.scale().rect(tag);
            for (int i = 0; i < 2; ++i) {
                QCOMPARE(qGray(mono.pixel(t.center().x(), t.top() + i)), 0);
                QCOMPARE(qGray(mono.pixel(t.center().x(), t.bottom() - i)), 0);
                QCOMPARE(qGray(mono.pixel(t.left() + i, t.center().y())), 0);
                QCOMPARE(qGray(mono.pixel(t.right() - i, t.center().y())), 0);
            }
        }
    }

    // The PDF: one A4 page across, every name and every duty on the board as text (and no
    // other duty), the heading, and rendered back, the board's colours where it has them.
    void pdfHasTheBoardAsText() {
        Board b(sampleFiles());
        const QString path = b.folder.file("board.pdf");
        const SaveResult result =
            exportBoard(b.platform.store, {path, 1, boardHeading(QDate(2024, 4, 1), "roster")},
                        b.state, b.scale());
        QVERIFY2(result.ok, qPrintable(result.reason));

        const QString info = QString::fromUtf8(poppler("pdfinfo", {path}));
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+842 x 595 pts \\(A4\\)")),
                 qPrintable(info));

        const QString text = QString::fromUtf8(poppler("pdftotext", {path, "-"}));
        QVERIFY(text.contains("2024年4月1日 (月)"));
        QVERIFY(text.contains("データフォルダ「roster」"));
        const RosterState& s = b.state;
        for (int p = 0; p < s.personCount; ++p)
            QVERIFY2(text.contains(s.personNames[p]), qPrintable(s.personNames[p]));
        QSet<QString> shown;
        for (int m = 1; m <= s.markerCount; ++m) {
            const int code = s.markerDuty[m];
            shown << s.dutyNames(colourOfCode(code))[dutyIndexOfCode(code)];
        }
        for (const DutyColour colour : {DutyColour::Green, DutyColour::Yellow})
            for (int k = 0; k < s.dutyCount(colour); ++k) {
                const QString& duty = s.dutyNames(colour)[k];
                QVERIFY2(text.contains(duty) == shown.contains(duty), qPrintable(duty));
            }

        // Rendered back: the tags' box maps the board onto the page; where the board shows
        // one colour over five pixels, the page shows it too.
        const QString stem = b.folder.file("page");
        poppler("pdftoppm", {"-r", "150", "-png", "-singlefile", path, stem});
        const QImage page = QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
        QVERIFY(!page.isNull());
        const QImage board = b.shown();
        const QRect tagsOnBoard = boxOf(board, kTag, 0), tagsOnPage = boxOf(page, kTag, 40);
        const double sx = double(tagsOnPage.width()) / tagsOnBoard.width();
        const double sy = double(tagsOnPage.height()) / tagsOnBoard.height();
        QVERIFY2(std::abs(sx - sy) < 0.02 * sx,
                 qPrintable(QStringLiteral("%1 %2").arg(sx).arg(sy)));
        int checked = 0, same = 0;
        QSet<QRgb> colours;
        // The page has the rows of the board, not the empty part and the buttons below them.
        const QRect rows = b.renderer().contentRect().adjusted(2, 2, -2, -2);
        for (int y = rows.top(); y <= rows.bottom(); y += 2)
            for (int x = rows.left(); x <= rows.right(); x += 2) {
                if (!uniformAround(board, x, y))
                    continue;
                const QPoint at(
                    qRound(tagsOnPage.left() + (x + 0.5 - tagsOnBoard.left()) * sx - 0.5),
                    qRound(tagsOnPage.top() + (y + 0.5 - tagsOnBoard.top()) * sy - 0.5));
                ++checked;
                colours << board.pixel(x, y);
                same += near(page.pixel(at), board.pixel(x, y));
            }

        QVERIFY(colours.contains(kBackground) && colours.contains(kTag) &&
                colours.contains(kGreenFill) && colours.contains(kYellowFill));
        QVERIFY2(same > checked * 0.97,
                 qPrintable(QStringLiteral("%1 of %2").arg(same).arg(checked)));
    }

    // A failed export leaves the folder as it was and says why, naming the file.
    void failedExportLeavesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("failAfterBytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown extension") << "board.txt" << qint64(-1) << ".pdf, .png, .csv";
        QTest::newRow("no extension") << "board" << qint64(-1) << ".pdf, .png, .csv";
        QTest::newRow("missing folder") << "none/board.pdf" << qint64(-1) << "がありません";
        QTest::newRow("a file for a folder")
            << "zelprsn.dat/board.png" << qint64(-1) << "フォルダではありません";
        QTest::newRow("a folder of that name") << "taken.csv" << qint64(-1) << "フォルダがあります";
        QTest::newRow("disk full midway") << "old.pdf" << qint64(1000) << "書き込み";
        QTest::newRow("disk full at once") << "old.png" << qint64(0) << "書き込み";
    }
    void failedExportLeavesNothing() {
        QFETCH(QString, name);
        QFETCH(qint64, failAfterBytes);
        QFETCH(QString, reason);
        Board b(sampleFiles());
        QDir(b.folder.path()).mkdir("taken.csv");
        b.folder.write("old.pdf", "old content");
        b.folder.write("old.png", "old content");
        const QStringList before = QDir(b.folder.path()).entryList(QDir::AllEntries | QDir::Hidden);
        b.platform.store.failAfterBytes = failAfterBytes;
        const SaveResult result =
            exportBoard(b.platform.store, {b.folder.file(name), 1, "heading"}, b.state, b.scale());
        QVERIFY(!result.ok);
        QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
        QCOMPARE(QDir(b.folder.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QCOMPARE(b.folder.read("old.pdf"), QByteArray("old content"));
        QCOMPARE(b.folder.read("old.png"), QByteArray("old content"));
        QVERIFY(
            exportFailureMessage(b.folder.file(name), result.reason).contains(b.folder.file(name)));
    }

    // The preview: one landscape page; 白黒 draws it again without the board's colours; what
    // it prints to a PDF file has the names as text.
    void printPreview() {
        const Board b(sampleFiles());
        const auto renderer = std::make_shared<const BoardRenderer>(b.state, b.scale());
        std::unique_ptr<QPrintPreviewDialog> dialog(makePrintPreview(nullptr, renderer, "見出し"));
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        auto* mono = dialog->findChild<QAction*>("monochrome");
        QVERIFY(preview && mono);
        QCOMPARE(mono->text(), QStringLiteral("白黒"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTRY_COMPARE(preview->pageCount(), 1);
        QCOMPARE(preview->orientation(), QPageLayout::Landscape);
        auto blueShare = [&] {
            const QImage shot = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect box = boxOf(shot, kBackground, 30);
            return box.width() * box.height();
        };
        QVERIFY(blueShare() > 1000);
        mono->setChecked(true);
        QTRY_COMPARE(blueShare(), 0);

        QPrinter* printer = dialog->printer();
        const QString path = b.folder.file("printed.pdf");
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        preview->print();
        const QString text = QString::fromUtf8(poppler("pdftotext", {path, "-"}));
        QVERIFY2(text.contains("見出し") && text.contains("佐藤 花子") && text.contains("掃除当番"),
                 qPrintable(text));
        QVERIFY(text.contains("名札: 太い枠")); // the monochrome legend
    }

    // The two new items come last in the menu; the items before them are as they were.
    void menuItems() {
        Board b(sampleFiles());
        auto* menu = b.window->menuBar()->findChild<QMenu*>("m00");
        QVERIFY(menu);
        QStringList items;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                items << action->text() + u'|' + action->shortcut().toString();
        QCOMPARE(items,
                 (QStringList{"データのパス指定(F)|Ctrl+P", "名前編集(N)|Ctrl+N",
                              "緑色当番編集(L)|Ctrl+G", "黄色当番編集(S)|Ctrl+Y",
                              "オプション(&O)|Ctrl+O", "ヘルプ(&H)|Ctrl+H", "ﾊﾞｰｼﾞｮﾝ情報(&V)|",
                              "印刷…|Ctrl+Shift+P", "書き出し…|Ctrl+E"}));
        auto* version = b.window->findChild<QAction*>("m41");
        QCOMPARE(version->text(), QStringLiteral("   ゼルトミル      Ver.") + versionNumber());
    }

    // 書き出し… with the 2x PNG kind and a name without extension: the file gets one.
    void exportFromTheMenu() {
        Board b(sampleFiles());
        const QString stem = b.folder.file("from-menu");
        whenModal([stem](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* kinds = modal->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(dialog && kinds);
            // As a user chooses: the third kind.
            QTest::keyClick(kinds, Qt::Key_Down);
            QTest::keyClick(kinds, Qt::Key_Down);
            QVERIFY(dialog->selectedNameFilter().contains("2 倍"));
            typeName(dialog, stem);
        });
        b.window->findChild<QAction*>("m62")->trigger();
        QCOMPARE(b.platform.errors, QStringList());
        const QImage written(stem + ".png");
        QCOMPARE(written.size(), b.window->board()->size() * 2);

        whenModal([&b](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            typeName(dialog, b.folder.file("board.doc"));
        });
        b.window->findChild<QAction*>("m62")->trigger();
        QCOMPARE(b.platform.errors.size(), 1);
        QVERIFY(b.platform.errors[0].contains("board.doc"));
        QVERIFY(!b.folder.exists("board.doc"));
    }

    void printFromTheMenu() {
        Board b(sampleFiles());
        QString seen;
        whenModal([&seen](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal);
            seen = dialog ? dialog->windowTitle() : modal->metaObject()->className();
            modal->close();
        });
        b.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
        QTest::keyClick(b.window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(seen, QStringLiteral("印刷プレビュー"));
        QVERIFY(b.window->isVisible());
    }
};

QTEST_MAIN(TestBoardExport)
#include "tst_boardexport.moc"

// The board on paper and in files, drawn by the renderer and compared with what the board's
// window shows: the PNG pixel for pixel, the PDF read back with poppler's tools (text, pages,
// colours where the board has them), monochrome, failed exports, the print preview and the
// two menu items.

#include "board/AppVersion.h"
#include "board/BoardExport.h"
#include "board/BoardPrinter.h"
#include "board/BoardView.h"
#include "support/BoardWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
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

struct Board : BoardWindow {
    explicit Board(const Files& data) {
        for (const auto& [name, bytes] : data.asKeyValueRange())
            folder.write(name, bytes);
        open();
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

// The number of pixels that differ; -1 for images of different sizes.
int differing(const QImage& a, const QImage& b) {
    int count = a.size() == b.size() ? 0 : -1;
    for (int y = 0; count >= 0 && y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
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
        // The board's first paint draws its markers; the next shows their pictures.
        QCOMPARE(differing(png, b.shown()), 0);
        QCOMPARE(differing(png, b.shown()), 0);
    }

    // No colour is needed to tell a green duty from a yellow one: their frames differ.
    void monochromeTellsApartByFrames() {
        const Board b(sampleFiles());
        const BoardRenderer r = b.renderer();
        const QImage mono = r.image(1, BoardRenderer::Style::Monochrome);
        QVERIFY(mono.isGrayscale());
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
        for (const TwipRect& tag : r.layout().tags)
            QCOMPARE(topEdge(r.scale().rect(tag)), 1.0);
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

    // A board too wide for one readable page is cut between columns: each name on one page,
    // the pages in the board's order, each numbered.
    void pdfCutBetweenColumns() {
        Files wide = sampleFiles();
        wide["zelpara.dat"] = " 1\r\n 4\r\n 1200\r\n 300\r\n 10\r\n"; // 12 columns
        Board b(wide);
        const QString path = b.folder.file("wide.pdf");
        QVERIFY(exportBoard(b.platform.store, {path, 1, "見出し"}, b.state, b.scale()).ok);
        const QString info = QString::fromUtf8(poppler("pdfinfo", {path}));
        const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
        QVERIFY2(pages > 1 && pages < 12, qPrintable(info));
        QList<int> pageOf;
        for (int page = 1; page <= pages; ++page) {
            const QString n = QString::number(page);
            const QString text =
                QString::fromUtf8(poppler("pdftotext", {"-f", n, "-l", n, path, "-"}));
            QVERIFY(text.contains("見出し") &&
                    text.contains(QStringLiteral("(%1/%2)").arg(page).arg(pages)));
            for (int p = 0; p < b.state.personCount; ++p)
                if (text.contains(b.state.personNames[p]))
                    pageOf << p * 100 + page;
        }
        // Person p on page q as 100 p + q: every person once, the pages rising with p.
        QCOMPARE(pageOf.size(), b.state.personCount);
        std::sort(pageOf.begin(), pageOf.end());
        for (int i = 0; i < pageOf.size(); ++i)
            QVERIFY(pageOf[i] / 100 == i && (i == 0 || pageOf[i] % 100 >= pageOf[i - 1] % 100));
    }

    // A failed export leaves the folder as it was and says why, naming the file.
    void failedExportLeavesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("failAfterBytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no extension") << "board" << qint64(-1) << ".pdf, .png, .csv";
        QTest::newRow("a file for a folder")
            << "zelprsn.dat/board.png" << qint64(-1) << "フォルダではありません";
        QTest::newRow("disk full midway") << "old.pdf" << qint64(1000) << "書き込み";
        QTest::newRow("disk full at once") << "old.png" << qint64(0) << "書き込み";
    }
    void failedExportLeavesNothing() {
        QFETCH(QString, name);
        QFETCH(qint64, failAfterBytes);
        QFETCH(QString, reason);
        Board b(sampleFiles());
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

    // The version item; Ctrl+Shift+P opens the print preview (the menu's items and shortcuts are
    // tst_historymenu's).
    void menuItems() {
        Board b(sampleFiles());
        auto* version = b.window->findChild<QAction*>("m41");
        QCOMPARE(version->text(), QStringLiteral("   ゼルトミル      Ver.") + versionNumber());

        QString seen;
        whenModal([&seen](QWidget* modal) {
            seen = modal->windowTitle();
            modal->close();
        });
        b.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(b.window.get()));
        QTest::keyClick(b.window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(seen, QStringLiteral("印刷プレビュー"));
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
};

QTEST_MAIN(TestBoardExport)
#include "tst_boardexport.moc"

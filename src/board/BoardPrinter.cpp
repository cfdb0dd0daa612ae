#include "board/BoardPrinter.h"

#include "ui/Appearance.h"

#include <QAction>
#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

namespace zel {

namespace {
constexpr double kHeadingPoints = 12;
constexpr int kBoardMarginPixels = 4; // of background around the rows, in board pixels
// A board that would come out smaller than this share of its size on the screen is cut
// between columns onto several pages: its names stay readable.
constexpr double kSmallestPrintScale = 0.6;

QString legend() {
    return QStringLiteral("名札: 太い枠　緑色当番: 細い実線　黄色当番: 細い破線");
}
} // namespace

QString boardHeading(const QDate& date, const QString& folderName) {
    return QStringLiteral("%1　データフォルダ「%2」")
        .arg(QLocale(QLocale::Japanese).toString(date, QStringLiteral("yyyy年M月d日 (ddd)")),
             folderName);
}

std::vector<QRect> boardPageParts(const BoardRenderer& board, double pageWidth) {
    const QRect content = board.contentRect()
                              .adjusted(-kBoardMarginPixels, -kBoardMarginPixels,
                                        kBoardMarginPixels, kBoardMarginPixels)
                              .intersected(QRect(QPoint(0, 0), board.boardSize()));
    if (content.isEmpty() || content.width() <= pageWidth)
        return {content};
    const BoardGrid& grid = board.layout().grid;
    const TwipScale& scale = board.scale();
    const int persons = int(board.layout().tags.size());
    const int columns = persons > 0 ? int(grid.column(persons - 1)) + 1 : 1;
    const double columnPixels = grid.columnPitch / scale.tx;
    const int perPage = std::max(1, int(pageWidth / std::max(1.0, columnPixels)));
    std::vector<QRect> parts;
    for (int first = 0; first < columns; first += perPage) {
        const bool last = first + perPage >= columns;
        // A column's frames end one pixel before the next column's start.
        const int left = first == 0 ? content.left() : scale.x(double(first) * grid.columnPitch);
        const int right =
            last ? content.right() : scale.x(double(first + perPage) * grid.columnPitch) - 1;
        parts.push_back(QRect(QPoint(left, content.top()), QPoint(right, content.bottom())));
    }
    return parts;
}

void paintBoardPages(QPainter& painter, QPagedPaintDevice& device, const BoardRenderer& board,
                     const QString& heading, BoardRenderer::Style style) {
    const QRect page(0, 0, device.width(), device.height());
    // Points on the page: the heading is as large on paper whatever the resolution.
    const QFont font = look::gothicFont(kHeadingPoints, true);
    painter.setFont(font);
    const int line = painter.fontMetrics().height();
    const QRectF area(page.left(), page.top() + line * 1.5, page.width(),
                      page.height() - line * 1.5);
    // Device pixels for a board pixel when the board is printed at its size on the screen.
    const double natural = device.logicalDpiX() * board.scale().tx / 1440.0;
    const std::vector<QRect> parts =
        boardPageParts(board, area.width() / (kSmallestPrintScale * natural));
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRect headingRect(page.left(), page.top(), page.width(), line);
        const QString count =
            parts.size() > 1 ? QStringLiteral("　(%1/%2)").arg(i + 1).arg(parts.size()) : QString();
        painter.drawText(headingRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         heading + count);
        if (style == BoardRenderer::Style::Monochrome) {
            painter.setFont(look::gothicFont(kHeadingPoints * 0.75));
            painter.drawText(headingRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                             legend());
        }
        const QRect& part = parts[i];
        if (!part.isEmpty() && area.height() > 0) {
            const double fit = std::min(area.width() / part.width(), area.height() / part.height());
            painter.translate(area.left() + (area.width() - part.width() * fit) / 2, area.top());
            painter.scale(fit, fit);
            painter.translate(-part.topLeft());
            painter.setClipRect(part);
            board.paint(painter, style);
        }
        painter.restore();
    }
}

QByteArray boardPdf(const BoardRenderer& board, const QString& heading) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("当番表"));
        pdf.setCreator(QStringLiteral("ゼルトミル"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        QPainter painter(&pdf);
        paintBoardPages(painter, pdf, board, heading, BoardRenderer::Style::Colour);
    }
    return buffer.data();
}

QPrintPreviewDialog* makePrintPreview(QWidget* parent, std::shared_ptr<const BoardRenderer> board,
                                      const QString& heading) {
    // Lives as long as the dialog: the paint request below holds it.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("当番表"));
    printer->setPageOrientation(QPageLayout::Landscape);
    auto* dialog = new QPrintPreviewDialog(printer.get(), parent);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    dialog->setWindowTitle(QStringLiteral("印刷プレビュー"));

    auto* mono = new QAction(QStringLiteral("白黒"), dialog);
    mono->setObjectName(QStringLiteral("monochrome"));
    mono->setCheckable(true);
    mono->setToolTip(QStringLiteral("白黒で印刷します: 名札と当番マークを枠と文字で見分けます"));
    if (auto* bar = dialog->findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(mono);
    }
    if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
        QObject::connect(mono, &QAction::toggled, preview, &QPrintPreviewWidget::updatePreview);
    QObject::connect(
        dialog, &QPrintPreviewDialog::paintRequested, dialog,
        [printer, board, heading, mono](QPrinter* target) {
            const bool grey = mono->isChecked() || target->colorMode() == QPrinter::GrayScale;
            QPainter painter(target);
            paintBoardPages(painter, *target, *board, heading,
                            grey ? BoardRenderer::Style::Monochrome : BoardRenderer::Style::Colour);
        });
    return dialog;
}

} // namespace zel

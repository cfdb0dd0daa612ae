#include "board/BoardPrinter.h"

#include "board/Appearance.h"

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

QString legend() {
    return QStringLiteral("名札: 太い枠　緑色当番: 細い実線　黄色当番: 細い破線");
}
} // namespace

QString boardHeading(const QDate& date, const QString& folderName) {
    return QStringLiteral("%1　データフォルダ「%2」")
        .arg(QLocale(QLocale::Japanese).toString(date, QStringLiteral("yyyy年M月d日 (ddd)")),
             folderName);
}

void paintBoardPage(QPainter& painter, const QRect& page, const BoardRenderer& board,
                    const QString& heading, BoardRenderer::Style style) {
    painter.save();
    // Points on the page: the heading is as large on paper whatever the resolution.
    const QFont font = look::gothicFont(kHeadingPoints, true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int line = painter.fontMetrics().height();
    const QRect headingRect(page.left(), page.top(), page.width(), line);
    painter.drawText(headingRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, heading);
    if (style == BoardRenderer::Style::Monochrome) {
        painter.setFont(look::gothicFont(kHeadingPoints * 0.75));
        painter.drawText(headingRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         legend());
    }

    const QRect content = board.contentRect()
                              .adjusted(-kBoardMarginPixels, -kBoardMarginPixels,
                                        kBoardMarginPixels, kBoardMarginPixels)
                              .intersected(QRect(QPoint(0, 0), board.boardSize()));
    const QRectF area(page.left(), page.top() + line * 1.5, page.width(),
                      page.height() - line * 1.5);
    if (!content.isEmpty() && area.height() > 0) {
        const double fit =
            std::min(area.width() / content.width(), area.height() / content.height());
        painter.translate(area.left() + (area.width() - content.width() * fit) / 2, area.top());
        painter.scale(fit, fit);
        painter.translate(-content.topLeft());
        painter.setClipRect(content);
        board.paint(painter, style);
    }
    painter.restore();
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
        paintBoardPage(painter, QRect(0, 0, pdf.width(), pdf.height()), board, heading,
                       BoardRenderer::Style::Colour);
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
            paintBoardPage(painter, QRect(0, 0, target->width(), target->height()), *board, heading,
                           grey ? BoardRenderer::Style::Monochrome : BoardRenderer::Style::Colour);
        });
    return dialog;
}

} // namespace zel

#include "board/BoardExport.h"

#include "board/BoardPrinter.h"
#include "board/BoardView.h"
#include "board/RosterCsv.h"
#include "roster/RosterFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>

namespace zel {

QByteArray boardPng(const BoardRenderer& board, int factor) {
    QImage image = board.image(factor);
    {
        // The buttons as the board's own widgets draw them, never shown.
        BoardView view;
        const BoardLayout& layout = board.layout();
        std::vector<QString> names(layout.tags.size());
        view.applyLayout(layout, board.scale(), names, 0);
        QPainter painter(&image);
        for (QPushButton* button : {view.yellowButton(), view.greenButton(), view.eraseButton()})
            button->render(&painter, button->pos(), QRegion(), QWidget::DrawChildren);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

SaveResult exportBoard(FileStore& store, const ExportJob& job, const RosterState& state,
                       const TwipScale& scale) {
    const std::optional<ExportFormat> format = exportFormatOf(job.path);
    if (!format)
        return SaveResult::failure(QFileInfo(job.path).fileName(), unknownFormatReason());
    QByteArray bytes;
    switch (*format) {
    case ExportFormat::Csv:
        bytes = rosterCsv(state);
        break;
    case ExportFormat::Png:
        bytes = boardPng(BoardRenderer(state, scale), job.pngScale);
        break;
    case ExportFormat::Pdf:
        bytes = boardPdf(BoardRenderer(state, scale), job.heading);
        break;
    }
    if (bytes.isEmpty())
        return SaveResult::failure(QFileInfo(job.path).fileName(),
                                   QStringLiteral("書き出す内容を作れませんでした。"));
    return store.save(job.path, bytes);
}

QString exportFailureMessage(const QString& path, const QString& reason) {
    return QStringLiteral("「%1」に書き出せませんでした。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString dataFolderName(const RosterFiles& files, const RosterState& state) {
    const QString folder =
        QDir::cleanPath(QFileInfo(files.dataPath(state, QString())).absoluteFilePath());
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

} // namespace zel

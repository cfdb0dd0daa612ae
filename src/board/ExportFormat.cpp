#include "board/ExportFormat.h"

#include <QFileInfo>

namespace zel {

std::optional<ExportFormat> exportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"pdf")
        return ExportFormat::Pdf;
    if (suffix == u"png")
        return ExportFormat::Png;
    if (suffix == u"csv")
        return ExportFormat::Csv;
    return std::nullopt;
}

QString unknownFormatReason() {
    return QStringLiteral("書き出せるのは .pdf, .png, .csv のファイルです。");
}

} // namespace zel

#pragma once

#include <QString>
#include <optional>

namespace zel {

// The kinds of file the board can be written to, chosen by the file's extension.
enum class ExportFormat { Pdf, Png, Csv };

// The format for a file name (.pdf, .png, .csv in any case), or nothing.
std::optional<ExportFormat> exportFormatOf(const QString& path);

// The reason an export path has no format, for the message naming the file.
QString unknownFormatReason();

} // namespace zel

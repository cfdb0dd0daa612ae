#pragma once

#include "board/BoardRenderer.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrintPreviewDialog;
class QWidget;

namespace zel {

// The heading line of a printed board: the date and the data folder's name.
QString boardHeading(const QDate& date, const QString& folderName);

// The parts of the board (in board pixels) printed on one page each: its rows, tags and markers
// with a little background around them, on one page when they are at most `pageWidth` wide,
// else cut between columns into parts of as many whole columns as fit.
std::vector<QRect> boardPageParts(const BoardRenderer& board, double pageWidth);

// The printed board: on each page the heading line at the top in the board's gothic (with the
// page's number when there are several), and a part of the board under it, scaled to fit what
// is left of the page (larger or smaller) and centred across it. A board is cut onto several
// pages only where one page would print it at less than 60 % of its size on the screen.
// Monochrome adds a line saying which frame is which.
void paintBoardPages(QPainter& painter, QPagedPaintDevice& device, const BoardRenderer& board,
                     const QString& heading, BoardRenderer::Style style);

// The pages as a PDF on A4 in landscape, texts as text.
QByteArray boardPdf(const BoardRenderer& board, const QString& heading);

// Qt's print preview of the pages, landscape unless the user turns it, with a 「白黒」 switch in
// its tool bar. The board is drawn monochrome when the switch is on or the printer is set to
// grey scale. The caller runs it (exec) and deletes it.
QPrintPreviewDialog* makePrintPreview(QWidget* parent, std::shared_ptr<const BoardRenderer> board,
                                      const QString& heading);

} // namespace zel

#pragma once

#include "board/BoardRenderer.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <memory>

class QPainter;
class QPrintPreviewDialog;
class QWidget;

namespace zel {

// The heading line of a printed board: the date and the data folder's name.
QString boardHeading(const QDate& date, const QString& folderName);

// One page: the heading line at the top in the board's gothic, the board's rows, tags and
// markers under it, scaled to fit what is left of the page (larger or smaller) and centred
// across it. `page` is the painter's printable area in device pixels. Monochrome adds a line
// saying which frame is which.
void paintBoardPage(QPainter& painter, const QRect& page, const BoardRenderer& board,
                    const QString& heading, BoardRenderer::Style style);

// The page as a PDF on A4 in landscape, texts as text.
QByteArray boardPdf(const BoardRenderer& board, const QString& heading);

// Qt's print preview of the page, landscape unless the user turns it, with a 「白黒」 switch in
// its tool bar. The board is drawn monochrome when the switch is on or the printer is set to
// grey scale. The caller runs it (exec) and deletes it.
QPrintPreviewDialog* makePrintPreview(QWidget* parent, std::shared_ptr<const BoardRenderer> board,
                                      const QString& heading);

} // namespace zel

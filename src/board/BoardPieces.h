#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

namespace zel {

// The board's pieces as its window shows them; the window and the exported board both draw
// them from here, so they match pixel for pixel.

// The direction flag of a name's text: names take their direction from their own text.
int nameDirection(const QString& name);

// A name tag: its ground, and the name at its top, centred across, cut off at its edges.
void paintNameTag(QPainter& painter, const QRect& rect, const QString& name, const QFont& font);

// A tag or marker on the board from its picture, drawn from the top left corner; what the
// picture leaves free of the rectangle is background.
void paintPicture(QPainter& painter, const QRect& rect, const QPixmap& picture);

} // namespace zel

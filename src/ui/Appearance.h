#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>

namespace zel {

// Colours and fonts of the program's windows.
namespace look {
inline const QColor kWindowBackground(0, 0, 64);
inline const QColor kTagBackground(0, 255, 255);
inline const QColor kRowFrame(255, 192, 192);
// The keyboard focus frame around a tag, a marker or a picker entry: on no background in use.
inline const QColor kFocusFrame(255, 0, 255);

// Japanese families first, named explicitly so kanji never take Chinese glyph forms.
QFont gothicFont(double pointSize, bool bold = false);
QFont minchoFont(double pointSize, bool bold = false);
// The menu bar's font: the gothic families at the size and weight of `base` (the style's own),
// so that its Japanese captions need no search for a font that has them.
QFont menuFont(const QFont& base);

// The program's own pictures. Button icons are drawn when shown, at the size they are shown;
// the application icon holds the sizes a window manager picks from.
QIcon greenDutyIcon();
QIcon yellowDutyIcon();
QIcon eraserIcon();
QPixmap trashCanPixmap(int size, double devicePixelRatio = 1.0);
} // namespace look

} // namespace zel

#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zel {

// Where a picker of `size` opens for a window whose outer frame is `window`, on a screen whose
// available area is `available`, all in screen pixels. Directly under the window with the left
// edges aligned; above the window when it would not fit under it; at the bottom of the available
// area when it fits neither way. It is moved left only as far as it would stick out on the right.
QPoint pickerTopLeft(const QRect& window, QSize size, const QRect& available);

} // namespace zel

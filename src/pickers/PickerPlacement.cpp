#include "pickers/PickerPlacement.h"

#include <algorithm>

namespace zel {

QPoint pickerTopLeft(const QRect& window, QSize size, const QRect& available) {
    int x = window.left();
    if (x + size.width() - 1 > available.right())
        x = std::max(available.left(), available.right() + 1 - size.width());
    if (available.isEmpty()) // no screen known: the place under the window
        return {window.left(), window.bottom() + 1};
    if (window.bottom() + size.height() <= available.bottom())
        return {x, window.bottom() + 1};
    if (window.top() - size.height() >= available.top())
        return {x, window.top() - size.height()};
    // Taller than the room on either side: its top stays on the screen, whatever is cut.
    return {x, std::max(available.top(), available.bottom() + 1 - size.height())};
}

} // namespace zel

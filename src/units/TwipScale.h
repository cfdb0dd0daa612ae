#pragma once

#include "units/Numbers.h"
#include "units/TwipRect.h"

#include <QRect>
#include <algorithm>

namespace zel {

// Turns twips into pixels at the Qt edge, rounding half to even. X11 cannot take a window
// or widget beyond 32767 pixels, so every result is kept inside that.
struct TwipScale {
    double tx = 15;
    double ty = 15;

    static int clampPixels(double value) {
        return int(std::clamp(roundHalfEven(value), -32767.0, 32767.0));
    }
    int x(double twips) const { return clampPixels(twips / tx); }
    int y(double twips) const { return clampPixels(twips / ty); }
    int width(double twips) const { return std::max(0, x(twips)); }
    int height(double twips) const { return std::max(0, y(twips)); }
    QRect rect(const TwipRect& r) const {
        return QRect(x(r.left), y(r.top), width(r.width), height(r.height));
    }
    double twipsX(double pixels) const { return pixels * tx; }
    double twipsY(double pixels) const { return pixels * ty; }
};

} // namespace zel

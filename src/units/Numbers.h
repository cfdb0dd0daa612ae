#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Number rules shared by the board, the pickers and the dialogs.
namespace zel {

// Reals become integers by rounding to the nearest, ties to the even neighbour.
inline double roundHalfEven(double value) {
    return std::nearbyint(value);
}

// The same, saturated into a 32-bit integer (non-finite values give 0).
inline std::int32_t toInt32(double value) {
    if (!std::isfinite(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

// Column and row numbers come from the floor of a quotient, never a truncating cast.
inline std::int64_t floorToInt(double value) {
    if (!std::isfinite(value))
        return 0;
    const double f = std::floor(value);
    if (f >= 9.0e18)
        return static_cast<std::int64_t>(9.0e18);
    if (f <= -9.0e18)
        return static_cast<std::int64_t>(-9.0e18);
    return static_cast<std::int64_t>(f);
}

// Integer ceiling of a / b for b > 0 and a >= 0.
inline std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

// Remainder with the sign of the dividend, as the board's row rule wants it.
inline std::int64_t remainder(std::int64_t a, std::int64_t b) {
    return b == 0 ? 0 : a % b;
}

inline bool fitsInt16(double value) {
    return value >= -32768.0 && value <= 32767.0;
}

} // namespace zel

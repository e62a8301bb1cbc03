#pragma once
// Whole-number rounding used throughout the engine: nearest integer, halves to
// the even neighbour (the processor's default mode).

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace brp {

inline std::int32_t Round(long double value)
{
    if (std::isnan(value))
        return 0;
    // Saturate instead of invoking undefined behaviour on absurd inputs.
    if (value >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (value <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    // Adding and taking away 1.5 * 2^63 leaves the nearest integer (halves to
    // even) in the 64-bit significand: the same as nearbyintl, without a
    // library call on every coordinate of a page.
    constexpr long double magic = 0x1.8p63L;
    const long double r = (value + magic) - magic;
    // r is a whole number in range, so going through double is exact and
    // spares the x87 control-word switch of a direct truncating conversion.
    return static_cast<std::int32_t>(static_cast<double>(r));
}

// Truncation toward zero with the same saturation.
inline std::int32_t Trunc(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double r = std::truncl(value);
    if (r >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

} // namespace brp

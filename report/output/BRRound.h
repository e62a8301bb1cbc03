#pragma once
// Whole-number rounding used throughout the engine: nearest integer, halves to
// the even neighbour (the processor's default mode).

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

inline std::int32_t BRRound(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double r = std::nearbyintl(value);
    // Saturate instead of invoking undefined behaviour on absurd inputs.
    if (r >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

// Truncation toward zero with the same saturation.
inline std::int32_t BRTrunc(long double value)
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

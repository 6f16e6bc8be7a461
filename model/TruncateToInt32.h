#pragma once

#include <cstdint>

// Drops the fraction of x (toward zero) and returns it as a 32-bit integer.
// A plain cast is undefined for NaN, infinities and values beyond the 32-bit
// range; here NaN gives 0 and the others the nearest bound.
std::int32_t TruncateToInt32(double x);

#include "model/TruncateToInt32.h"

#include <cmath>
#include <limits>

std::int32_t TruncateToInt32(double x) {
    if (std::isnan(x)) return 0;
    // Every double strictly between these bounds truncates into range.
    if (!(x > -2147483649.0)) return std::numeric_limits<std::int32_t>::min();
    if (!(x < 2147483648.0)) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(x);
}

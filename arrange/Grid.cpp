#include "arrange/Grid.h"

#include <limits>

namespace Arrange {

int32_t ClampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t TruncateToGrid(int32_t value, int32_t g) {
    if (g < 1) return value;
    return value / g * g;
}

int32_t RaiseToGrid(int32_t value, int32_t g) {
    if (g < 1) return value;
    const int32_t remainder = value % g;
    if (remainder == 0) return value;
    // Below zero the remainder is negative and the multiple above is reached by
    // dropping it; adding g as well would overshoot by a whole step.
    if (remainder < 0) return value - remainder;
    return ClampToInt32(int64_t{value} + g - remainder);
}

}  // namespace Arrange

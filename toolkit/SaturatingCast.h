// Float-to-integer truncation for pixel arithmetic on values that come from
// outside (a host may write any float, NaN and infinities included, into a
// control). Truncates toward zero like a plain cast for every value that fits;
// NaN gives 0 and values beyond the int32 range give its nearest end, where a
// plain cast would be undefined.
#pragma once

#include <cstdint>

namespace toolkit {

constexpr int32_t truncateToInt32(float v) {
    if (!(v == v)) return 0;                    // NaN
    if (v >= 2147483648.0f) return INT32_MAX;   // 2^31 and above
    if (v <= -2147483648.0f) return INT32_MIN;  // -2^31 and below
    return static_cast<int32_t>(v);
}

}  // namespace toolkit

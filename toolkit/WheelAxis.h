// Axis of a wheel event: 0 horizontal, 1 vertical.
#pragma once

#include <cstdint>

namespace toolkit {

using WheelAxis = int32_t;

inline constexpr int32_t kWheelHorizontal = 0;
inline constexpr int32_t kWheelVertical = 1;

}  // namespace toolkit

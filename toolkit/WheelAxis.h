// Axis of a wheel event: 0 horizontal, 1 vertical.
#pragma once

#include <cstdint>

namespace toolkit {

using WheelAxis = int32_t;

enum : int32_t {
    kWheelHorizontal = 0,
    kWheelVertical = 1,
};

}  // namespace toolkit

// A point in integer pixels. Plain value, copied freely; no range limits
// (coordinates may be negative, e.g. a pointer left of a view).
#pragma once

#include <cstdint>

namespace toolkit {

struct CPosition {
    int32_t x = 0;
    int32_t y = 0;

    constexpr CPosition() = default;
    constexpr CPosition(int32_t px, int32_t py) : x(px), y(py) {}

    constexpr CPosition& offset(int32_t dx, int32_t dy) {
        x += dx;
        y += dy;
        return *this;
    }

    constexpr bool operator==(const CPosition& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const CPosition& o) const { return !(*this == o); }
};

}  // namespace toolkit

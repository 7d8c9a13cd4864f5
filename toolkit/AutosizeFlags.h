// Autosize flags kept by each view and read by its parent container when the
// container is resized. The follow flags say which edges of the child move
// with the parent's right/bottom edge; the spread flags are read by a
// container on itself and share any size change evenly among its children.
#pragma once

#include <cstdint>

namespace toolkit {

inline constexpr int32_t kFollowLeft = 0x1;
inline constexpr int32_t kFollowTop = 0x2;
inline constexpr int32_t kFollowRight = 0x4;
inline constexpr int32_t kFollowBottom = 0x8;
inline constexpr int32_t kSpreadColumns = 0x10;
inline constexpr int32_t kSpreadRows = 0x20;

}  // namespace toolkit

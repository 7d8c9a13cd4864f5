// Mouse cursor shapes for CFrame::setCursor. 7 and any value not listed act
// like kCursorDefault (the cursor that was showing before the first change).
#pragma once

#include <cstdint>

namespace toolkit {

using CursorType = int32_t;

inline constexpr int32_t kCursorDefault = 0;
inline constexpr int32_t kCursorWait = 1;
inline constexpr int32_t kCursorSizeHorizontal = 2;
inline constexpr int32_t kCursorSizeVertical = 3;
inline constexpr int32_t kCursorSizeAll = 4;
inline constexpr int32_t kCursorSizeNeSw = 5;
inline constexpr int32_t kCursorSizeNwSe = 6;
inline constexpr int32_t kCursorNotAllowed = 8;
inline constexpr int32_t kCursorHand = 9;

}  // namespace toolkit

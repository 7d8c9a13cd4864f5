// Mouse cursor shapes for CFrame::setCursor. 7 and any value not listed act
// like kCursorDefault (the cursor that was showing before the first change).
#pragma once

#include <cstdint>

namespace toolkit {

using CursorType = int32_t;

enum : int32_t {
    kCursorDefault = 0,
    kCursorWait = 1,
    kCursorSizeHorizontal = 2,
    kCursorSizeVertical = 3,
    kCursorSizeAll = 4,
    kCursorSizeNeSw = 5,
    kCursorSizeNwSe = 6,
    kCursorNotAllowed = 8,
    kCursorHand = 9,
};

}  // namespace toolkit

// Button and modifier bits passed as one 32-bit set with every mouse and
// wheel event. The frame never produces bit 0x1 or bit 0x80.
#pragma once

#include <cstdint>

namespace toolkit {

enum : int32_t {
    kButtonLeft = 0x2,
    kButtonMiddle = 0x4,
    kButtonRight = 0x8,
    kModifierShift = 0x10,
    kModifierControl = 0x20,
    kModifierAlt = 0x40,
    kButtonExtra1 = 0x100,
    kButtonExtra2 = 0x200,
    kButtonDoubleClick = 0x400,
};

}  // namespace toolkit

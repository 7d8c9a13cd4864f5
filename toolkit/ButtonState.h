// Button and modifier bits passed as one 32-bit set with every mouse and
// wheel event. The frame never produces bit 0x1 or bit 0x80.
#pragma once

#include <cstdint>

namespace toolkit {

inline constexpr int32_t kButtonLeft = 0x2;
inline constexpr int32_t kButtonMiddle = 0x4;
inline constexpr int32_t kButtonRight = 0x8;
inline constexpr int32_t kModifierShift = 0x10;
inline constexpr int32_t kModifierControl = 0x20;
inline constexpr int32_t kModifierAlt = 0x40;
inline constexpr int32_t kButtonExtra1 = 0x100;
inline constexpr int32_t kButtonExtra2 = 0x200;
inline constexpr int32_t kButtonDoubleClick = 0x400;

}  // namespace toolkit

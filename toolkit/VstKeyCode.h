// The host's key record as the toolkit sees it: a 32-bit character code, an
// 8-bit virtual-key code and an 8-bit modifier set, in that order. The
// toolkit itself looks only at virtual key 2 (Tab) and modifier bit 0x1
// (Shift); everything else is passed through to the views.
#pragma once

#include <cstdint>

namespace toolkit {

struct VstKeyCode {
    int32_t character = 0;
    uint8_t virt = 0;
    uint8_t modifier = 0;
};

inline constexpr uint8_t kVirtualKeyTab = 2;
inline constexpr uint8_t kKeyModifierShift = 0x1;

}  // namespace toolkit

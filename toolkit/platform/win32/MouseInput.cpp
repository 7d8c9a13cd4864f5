// Win32 mouse input decoding: message positions, key-state words, physical
// buttons with the swap setting, and wheel notches. See MouseInput.h for the
// quirks handled (signed coordinates, swapped buttons, partial notches).
#include "toolkit/platform/win32/MouseInput.h"

#include "toolkit/ButtonState.h"

namespace toolkit {
namespace win32 {

CPosition messagePosition(LPARAM lParam) {
    // Signed halves: a captured pointer outside the window has negative
    // client coordinates.
    auto x = static_cast<int16_t>(static_cast<uint16_t>(static_cast<DWORD_PTR>(lParam) & 0xFFFF));
    auto y = static_cast<int16_t>(
        static_cast<uint16_t>((static_cast<DWORD_PTR>(lParam) >> 16) & 0xFFFF));
    return CPosition(x, y);
}

int32_t buttonsFromKeyState(WPARAM keyState, bool altDown) {
    int32_t buttons = 0;
    if (keyState & MK_LBUTTON) buttons |= kButtonLeft;
    if (keyState & MK_RBUTTON) buttons |= kButtonRight;
    if (keyState & MK_MBUTTON) buttons |= kButtonMiddle;
    if (keyState & MK_XBUTTON1) buttons |= kButtonExtra1;
    if (keyState & MK_XBUTTON2) buttons |= kButtonExtra2;
    if (keyState & MK_CONTROL) buttons |= kModifierControl;
    if (keyState & MK_SHIFT) buttons |= kModifierShift;
    if (altDown) buttons |= kModifierAlt;
    return buttons;
}

int32_t modifierBits(bool shift, bool control, bool alt) {
    int32_t buttons = 0;
    if (shift) buttons |= kModifierShift;
    if (control) buttons |= kModifierControl;
    if (alt) buttons |= kModifierAlt;
    return buttons;
}

int32_t physicalButtons(const PhysicalInput& input, bool buttonsSwapped) {
    int32_t buttons = 0;
    if (input.left) buttons |= buttonsSwapped ? kButtonRight : kButtonLeft;
    if (input.middle) buttons |= kButtonMiddle;
    if (input.right) buttons |= buttonsSwapped ? kButtonLeft : kButtonRight;
    return buttons | modifierBits(input.shift, input.control, input.alt);
}

float wheelNotches(WPARAM wParam) {
    auto delta = static_cast<int16_t>(
        static_cast<uint16_t>((static_cast<DWORD_PTR>(wParam) >> 16) & 0xFFFF));
    // Integer division truncates toward zero: part of a notch gives 0.
    return static_cast<float>(static_cast<int32_t>(delta) / WHEEL_DELTA);
}

}  // namespace win32
}  // namespace toolkit

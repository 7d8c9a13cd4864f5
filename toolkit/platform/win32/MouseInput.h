// Decoding of Win32 mouse input into the toolkit's positions and
// button-state sets (ButtonState.h). Pure functions of their arguments, so
// the window procedure and the frame's pointer queries share one mapping and
// tests can check it without synthesising input.
//
// Quirks handled here:
//  - Client coordinates in a message's lParam are signed 16-bit values:
//    with the mouse captured, positions left of or above the window are
//    negative and must not be read as large unsigned numbers.
//  - Button messages arrive already mapped for swapped buttons; the
//    physical button state (GetAsyncKeyState) does not, so only the
//    physical mapping looks at the swap setting.
//  - The wheel delta is a signed multiple of 120 per notch; high-resolution
//    wheels send smaller steps, which count as 0 whole notches.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/CPosition.h"

namespace toolkit {
namespace win32 {

// x and y of a mouse message's lParam, each a signed 16-bit value.
CPosition messagePosition(LPARAM lParam);

// Buttons and modifiers of a mouse message's key-state word (MK_* bits):
// left, right, middle, both extra buttons, Control and Shift; Alt is not in
// the word, so the caller says whether it is down.
int32_t buttonsFromKeyState(WPARAM keyState, bool altDown);

// Modifier bits alone (Shift, Control, Alt).
int32_t modifierBits(bool shift, bool control, bool alt);

// The physical buttons as the toolkit names them: with swapped buttons the
// physical left button is the logical right one and vice versa.
struct PhysicalInput {
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};
int32_t physicalButtons(const PhysicalInput& input, bool buttonsSwapped);

// Whole notches of a WM_MOUSEWHEEL wParam: the signed delta divided by 120,
// truncated toward zero (60 gives 0, -240 gives -2).
float wheelNotches(WPARAM wParam);

}  // namespace win32
}  // namespace toolkit

// Decoding of Win32 mouse input: key-state words, physical buttons with and
// without swapped buttons, signed message coordinates.
#include "toolkit/platform/win32/MouseInput.h"

#include <gtest/gtest.h>

#include "toolkit/ButtonState.h"

namespace toolkit {
namespace win32 {
namespace {

TEST(MouseInput, KeyStateWordMapsEveryButtonAndModifier) {
    struct Case {
        WPARAM keys;
        bool alt;
        int32_t buttons;
    };
    const Case cases[] = {
        {0, false, 0},
        {MK_LBUTTON, false, kButtonLeft},
        {MK_RBUTTON, false, kButtonRight},
        {MK_MBUTTON, false, kButtonMiddle},
        {MK_XBUTTON1, false, kButtonExtra1},
        {MK_XBUTTON2, false, kButtonExtra2},
        {MK_CONTROL, false, kModifierControl},
        {MK_SHIFT, false, kModifierShift},
        {0, true, kModifierAlt},
        {MK_LBUTTON | MK_SHIFT | MK_CONTROL, true,
         kButtonLeft | kModifierShift | kModifierControl | kModifierAlt},
        // The high word of an extra-button message names the button; it is
        // not part of the key state.
        {MAKEWPARAM(MK_XBUTTON2, XBUTTON2), false, kButtonExtra2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "keys 0x" << std::hex << c.keys << " alt " << c.alt);
        EXPECT_EQ(buttonsFromKeyState(c.keys, c.alt), c.buttons);
    }
}

TEST(MouseInput, PhysicalButtonsFollowTheSwapSetting) {
    struct Case {
        PhysicalInput input;
        bool swapped;
        int32_t buttons;
    };
    PhysicalInput left;
    left.left = true;
    PhysicalInput right;
    right.right = true;
    PhysicalInput middleShift;
    middleShift.middle = true;
    middleShift.shift = true;
    PhysicalInput keys;
    keys.control = true;
    keys.alt = true;
    const Case cases[] = {
        {left, false, kButtonLeft},
        {left, true, kButtonRight},  // the physical left button is the logical right
        {right, false, kButtonRight},
        {right, true, kButtonLeft},
        {middleShift, true, kButtonMiddle | kModifierShift},
        {keys, false, kModifierControl | kModifierAlt},
        {PhysicalInput(), true, 0},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(physicalButtons(cases[i].input, cases[i].swapped), cases[i].buttons);
    }
}

TEST(MouseInput, MessageCoordinatesAreSigned16Bit) {
    struct Case {
        LPARAM lParam;
        CPosition where;
    };
    const Case cases[] = {
        {MAKELPARAM(30, 20), CPosition(30, 20)},
        {MAKELPARAM(0xFFFB, 0xFFFF), CPosition(-5, -1)},  // captured, left of and above
        {MAKELPARAM(0x7FFF, 0x8000), CPosition(32767, -32768)},
    };
    for (const Case& c : cases) {
        const CPosition got = messagePosition(c.lParam);
        EXPECT_EQ(got.x, c.where.x);
        EXPECT_EQ(got.y, c.where.y);
    }
}

}  // namespace
}  // namespace win32
}  // namespace toolkit

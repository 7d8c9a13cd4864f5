// The editor's rectangle as a VST 2.4 host reads it through effEditGetRect:
// four signed 16-bit edges in the order top, left, bottom, right, in pixels of
// the editor window (top-left is normally 0, 0).
#pragma once

#include <cstdint>

struct ERect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;
};

static_assert(sizeof(ERect) == 8, "hosts read the rectangle as four 16-bit edges");

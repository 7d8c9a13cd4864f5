// A colour: 8-bit red, green, blue and alpha, 4 bytes in that order.
// Alpha 255 is opaque, 0 fully transparent. The named colours below are
// process-wide and read-only.
#pragma once

#include <cstdint>

namespace toolkit {

struct CRgba {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr CRgba() = default;
    constexpr CRgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
        : red(r), green(g), blue(b), alpha(a) {}

    constexpr bool operator==(const CRgba& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    constexpr bool operator!=(const CRgba& o) const { return !(*this == o); }
};

static_assert(sizeof(CRgba) == 4, "a colour is four bytes");

inline constexpr CRgba kColorTransparent{255, 255, 255, 0};
inline constexpr CRgba kColorBlack{0, 0, 0, 255};
inline constexpr CRgba kColorWhite{255, 255, 255, 255};
inline constexpr CRgba kColorGrey{127, 127, 127, 255};
inline constexpr CRgba kColorRed{255, 0, 0, 255};
inline constexpr CRgba kColorGreen{0, 255, 0, 255};
inline constexpr CRgba kColorBlue{0, 0, 255, 255};
inline constexpr CRgba kColorYellow{255, 255, 0, 255};
inline constexpr CRgba kColorMagenta{255, 0, 255, 255};
inline constexpr CRgba kColorCyan{0, 255, 255, 255};

}  // namespace toolkit

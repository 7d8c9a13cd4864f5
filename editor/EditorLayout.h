// Where the editor puts its controls, one compile-time table per edition.
//
// Every knob is a 40 x 40 film-strip knob whose top edge is at kKnobTop; its
// value display is 40 x 10, two pixels right of the knob's left edge, from
// kDisplayTop to kDisplayBottom. The Vesk edition also has a two-position
// switch for its "Stereo" parameter, 12 x 22 with its top-left at
// (kSwitchLeft, kSwitchTop). The rows are in the order in which the editor
// creates the controls, which is also their drawing order; the knob left edges
// follow the labels printed on the background image.
#pragma once

#include <array>
#include <cstdint>

// Each edition's editor lives in the edition's own inline namespace (the one
// the effect of that edition uses), so a program that links both editions
// keeps their layouts and editors apart.
#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
#define TOVRA_EDITOR_EDITION tovra_vesk
#elif defined(TOVRA_EDITION_BRIN) && TOVRA_EDITION_BRIN
#define TOVRA_EDITOR_EDITION tovra_brin
#else
#error "define TOVRA_EDITION_VESK=1 or TOVRA_EDITION_BRIN=1"
#endif

inline namespace TOVRA_EDITOR_EDITION {
namespace editor_layout {

enum class ControlKind : uint8_t { Knob, Switch };

struct Placement {
    int32_t parameter;  // parameter index, also the control's tag
    ControlKind kind;
    int32_t left;       // left edge in editor pixels
};

// Embedded "DATA" resources of the library.
constexpr int32_t kBackgroundResource = 127;
constexpr int32_t kKnobStripResource = 128;
constexpr int32_t kSwitchResource = 129;

constexpr int32_t kKnobTop = 54;
constexpr int32_t kDisplayInset = 2;   // display left = knob left + 2
constexpr int32_t kDisplayWidth = 40;
constexpr int32_t kDisplayTop = 99;
constexpr int32_t kDisplayBottom = 109;
constexpr int32_t kSwitchLeft = 554;  // the switch exists in Vesk only
constexpr int32_t kSwitchTop = 67;

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK

constexpr int32_t kParameterCount = 14;
constexpr bool kHasSwitch = true;
constexpr int32_t kStereoParameter = 12;

constexpr std::array<Placement, 14> kPlacements{{
    {1, ControlKind::Knob, 9},      // unit 1 PRE
    {2, ControlKind::Knob, 54},     // unit 1 DECAY
    {3, ControlKind::Knob, 93},     // unit 1 LPF
    {4, ControlKind::Knob, 135},    // unit 1 HPF
    {0, ControlKind::Knob, 177},    // unit 1 LEVEL
    {10, ControlKind::Knob, 219},   // unit 1 PAN
    {6, ControlKind::Knob, 277},    // unit 2 PRE
    {7, ControlKind::Knob, 319},    // unit 2 DECAY
    {8, ControlKind::Knob, 361},    // unit 2 LPF
    {9, ControlKind::Knob, 403},    // unit 2 HPF
    {5, ControlKind::Knob, 445},    // unit 2 LEVEL
    {11, ControlKind::Knob, 487},   // unit 2 PAN
    {kStereoParameter, ControlKind::Switch, kSwitchLeft},  // STEREO / MONO
    {13, ControlKind::Knob, 586},   // MIX
}};

#else

constexpr int32_t kParameterCount = 6;
constexpr bool kHasSwitch = false;

constexpr std::array<Placement, 6> kPlacements{{
    {0, ControlKind::Knob, 9},      // PRE
    {1, ControlKind::Knob, 51},     // DECAY
    {2, ControlKind::Knob, 93},     // LPF
    {3, ControlKind::Knob, 135},    // HPF
    {4, ControlKind::Knob, 177},    // LEVEL
    {5, ControlKind::Knob, 256},    // MIX
}};

#endif

// Every parameter appears exactly once, as a knob or as the switch.
constexpr bool coversEveryParameterOnce() {
    for (int32_t p = 0; p < kParameterCount; ++p) {
        int32_t seen = 0;
        for (const Placement& placement : kPlacements)
            if (placement.parameter == p) ++seen;
        if (seen != 1) return false;
    }
    return static_cast<int32_t>(kPlacements.size()) == kParameterCount;
}
static_assert(coversEveryParameterOnce(), "each parameter needs exactly one control");

}  // namespace editor_layout
}  // namespace TOVRA_EDITOR_EDITION

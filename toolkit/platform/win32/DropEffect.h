// The effect a drop target answers to a drag source: copy when the source
// allows copying, else move, else link; with none of them allowed the
// value is left as it was. Bits are OLE's DROPEFFECT_* values (copy 1,
// move 2, link 4). No platform quirks: a plain function, shared by the drop
// target and its tests.
#pragma once

#include <cstdint>

namespace toolkit {
namespace win32 {

constexpr uint32_t chooseDropEffect(uint32_t allowed) {
    return (allowed & 1u) ? 1u : (allowed & 2u) ? 2u : (allowed & 4u) ? 4u : allowed;
}

}  // namespace win32
}  // namespace toolkit

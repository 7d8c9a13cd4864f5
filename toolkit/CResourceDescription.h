// Names an embedded image resource: by number (kind 0, only the low 16 bits
// are used) or by name (any other kind; the text is not copied and must
// outlive every load that uses it). Kind 2 with no name marks a bitmap that
// was created empty instead of loaded. Plain value, passed by value.
#pragma once

#include <cstdint>

namespace toolkit {

struct CResourceDescription {
    static constexpr int32_t kIntegerKind = 0;
    static constexpr int32_t kNameKind = 1;
    static constexpr int32_t kEmptyKind = 2;

    int32_t kind = kIntegerKind;
    union {
        uint32_t number;
        const char* name;
    };

    // Implicit on purpose: new CBitmap(128) loads resource 128.
    constexpr CResourceDescription(int32_t resourceNumber)
        : kind(kIntegerKind), number(static_cast<uint32_t>(resourceNumber)) {}
    constexpr CResourceDescription(const char* resourceName) : kind(kNameKind), name(resourceName) {}
    constexpr CResourceDescription(int32_t k, uint32_t value) : kind(k), number(value) {}

    static constexpr CResourceDescription empty() { return CResourceDescription(kEmptyKind, 0u); }

    constexpr bool isNumber() const { return kind == kIntegerKind; }
    constexpr uint16_t resourceNumber() const { return static_cast<uint16_t>(number & 0xFFFFu); }
};

}  // namespace toolkit

// CDragContainer: what is being dragged over a frame, as the views see it.
// A payload exists from the drag's entry into the window to its leave or
// drop; the same object is passed to every routing call in between, and
// views may hold on to it only for that time.
//
// Items are NUL-terminated UTF-8 byte strings; size is their length without
// the terminator. A returned pointer stays valid until the next firstItem or
// nextItem call or the payload's destruction.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"

namespace toolkit {

inline constexpr int32_t kDragFile = 0;      // a file path
inline constexpr int32_t kDragText = 1;
inline constexpr int32_t kDragUtf8Text = 2;  // text the source offered as Unicode
inline constexpr int32_t kDragUnknown = -1;
inline constexpr int32_t kDragError = -2;    // no data at all

class CDragContainer : public CBaseObject {
public:
    // Restarts the iteration and answers the first item (null when none).
    virtual const char* firstItem(int32_t& size, int32_t& type) = 0;
    // The next item, or null at the end (type tells why).
    virtual const char* nextItem(int32_t& size, int32_t& type) = 0;
    virtual int32_t itemType(int32_t index) = 0;
    virtual int32_t itemCount() = 0;
};

}  // namespace toolkit

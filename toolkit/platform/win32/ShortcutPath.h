// Resolution of a dropped shell shortcut (.lnk) to the path it points to.
//
// Only a path whose text from its first '.' to the end is ".lnk" (any case)
// counts as a shortcut, so "C:\Notes\Todo.lnk" is resolved while a path with
// a dot in a folder name or two dots in the file name is left alone. The
// shortcut is loaded through the shell-link object, resolved without any
// user interface (500 ms time-out, any match accepted) and the path is
// replaced by the target's short (8.3) path. Any failure leaves the path as
// it was. Needs COM initialised on the calling thread (OLE drag and drop
// has done that).
#pragma once

#include <cstddef>

namespace toolkit {
namespace win32 {

// Capacity of the path buffers of dropped files, in UTF-16 units.
constexpr size_t kDroppedPathCapacity = 2048;

// path: NUL-terminated, in a buffer of `capacity` UTF-16 units. Answers
// whether the path was replaced.
bool resolveShortcutInPlace(wchar_t* path, size_t capacity);

}  // namespace win32
}  // namespace toolkit

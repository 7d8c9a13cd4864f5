#include "toolkit/platform/win32/WideToUtf8.h"

#include <windows.h>

namespace toolkit {

const char* WideToUtf8::text() {
    if (converted) return converted;
    if (!source) return "";
    // Outside ASCII one UTF-16 unit takes up to three bytes, so the buffer
    // is sized by asking first rather than by the number of units.
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, source, -1, nullptr, 0, nullptr, nullptr);
    converted = new char[bytes > 0 ? bytes : 1];
    if (bytes <= 0 ||
        WideCharToMultiByte(CP_UTF8, 0, source, -1, converted, bytes, nullptr, nullptr) == 0)
        converted[0] = '\0';
    return converted;
}

}  // namespace toolkit

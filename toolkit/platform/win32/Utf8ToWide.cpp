#include "toolkit/platform/win32/Utf8ToWide.h"

#include <windows.h>

#include <cstring>

namespace toolkit {

const wchar_t* Utf8ToWide::text() {
    if (converted) return converted;
    if (!source) return L"";
    // A UTF-8 string never has more UTF-16 units than bytes.
    const size_t count = std::strlen(source);
    converted = new wchar_t[count + 1];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, source, -1, converted,
                            static_cast<int>(count + 1)) == 0)
        converted[0] = L'\0';
    return converted;
}

}  // namespace toolkit

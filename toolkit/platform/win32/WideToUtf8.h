// UTF-16 -> UTF-8 at the boundary from Windows (file names, dropped text).
// The UTF-8 copy is made on the first text() call (whole string, terminator
// included) and freed with the converter. A null source or a string that
// cannot be converted gives an empty string, never null.
#pragma once

#include <cwchar>

namespace toolkit {

class WideToUtf8 {
public:
    explicit WideToUtf8(const wchar_t* wide) : source(wide) {}
    WideToUtf8(const WideToUtf8&) = delete;
    WideToUtf8& operator=(const WideToUtf8&) = delete;
    ~WideToUtf8() { delete[] converted; }

    const char* text();

private:
    const wchar_t* source;
    char* converted = nullptr;
};

}  // namespace toolkit

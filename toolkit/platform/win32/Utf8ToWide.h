// UTF-8 -> UTF-16 at the boundary to Windows and GDI+. The toolkit's text is
// NUL-terminated UTF-8; the wide copy is made on the first text() call
// (whole string, terminator included) and freed with the converter.
// A null source or invalid UTF-8 gives an empty string, never null.
#pragma once

#include <cwchar>

namespace toolkit {

class Utf8ToWide {
public:
    explicit Utf8ToWide(const char* utf8) : source(utf8) {}
    Utf8ToWide(const Utf8ToWide&) = delete;
    Utf8ToWide& operator=(const Utf8ToWide&) = delete;
    ~Utf8ToWide() { delete[] converted; }

    const wchar_t* text();

private:
    const char* source;
    wchar_t* converted = nullptr;
};

}  // namespace toolkit

#include "toolkit/CFontDesc.h"

#include <cstring>

namespace toolkit {

namespace {

char* copyName(const char* name) {
    if (!name) return nullptr;
    const size_t n = std::strlen(name);
    char* copy = new char[n + 1];
    std::memcpy(copy, name, n + 1);
    return copy;
}

}  // namespace

CFontDesc::CFontDesc(const char* name, int32_t size, int32_t style)
    : fontName(copyName(name)), fontSize(size), fontStyle(style) {}

CFontDesc::CFontDesc(const char* name, int32_t size, int32_t style, bool isPermanent)
    : fontName(copyName(name)), fontSize(size), fontStyle(style), permanent(isPermanent) {}

CFontDesc::~CFontDesc() {
    dropPlatformFont();
    delete[] fontName;
}

void CFontDesc::release() {
    // The static descriptors live in static storage for the library's whole
    // life; an unbalanced release must not try to delete them.
    if (permanent && refCount <= 1) return;
    CBaseObject::release();
}

void CFontDesc::setName(const char* name) {
    if (name == fontName) return;
    if (name && fontName && std::strcmp(name, fontName) == 0) return;
    if (!name && !fontName) return;
    char* copy = copyName(name);
    delete[] fontName;
    fontName = copy;
    dropPlatformFont();
}

FontStyle CFontDesc::platformStyle(int32_t style) {
    // Exactly one face style: the last set bit in this order wins.
    FontStyle face = FontStyle::Regular;
    if (style & kStyleBold) face = FontStyle::Bold;
    if (style & kStyleItalic) face = FontStyle::Italic;
    if (style & kStyleUnderline) face = FontStyle::Underline;
    return face;
}

gfx::Font* CFontDesc::platformFont() {
    if (!font) font = graphicsBackend().createFont(fontName, fontSize, platformStyle(fontStyle));
    return font;
}

void CFontDesc::dropPlatformFont() {
    if (!font) return;
    graphicsBackend().deleteFont(font);
    font = nullptr;
}

// The process-wide descriptors, made when the library is loaded and
// destroyed when it is unloaded.
struct StaticFontTable {
    CFontDesc fonts[8] = {
        {"Arial", 12, 0, true}, {"Arial", 18, 0, true}, {"Arial", 14, 0, true},
        {"Arial", 12, 0, true}, {"Arial", 11, 0, true}, {"Arial", 10, 0, true},
        {"Arial", 9, 0, true},  {"Symbol", 13, 0, true},
    };
};

namespace {
StaticFontTable staticFonts;
}  // namespace

CFontDesc* const kDefaultFont = &staticFonts.fonts[0];
CFontDesc* const kFontSize18 = &staticFonts.fonts[1];
CFontDesc* const kFontSize14 = &staticFonts.fonts[2];
CFontDesc* const kFontSize12 = &staticFonts.fonts[3];
CFontDesc* const kFontSize11 = &staticFonts.fonts[4];
CFontDesc* const kFontSize10 = &staticFonts.fonts[5];
CFontDesc* const kFontSize9 = &staticFonts.fonts[6];
CFontDesc* const kSymbolFont = &staticFonts.fonts[7];

void CFontDesc::dropStaticPlatformFonts() {
    for (CFontDesc& f : staticFonts.fonts) f.dropPlatformFont();
}

}  // namespace toolkit

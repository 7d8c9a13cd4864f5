// A font by name, pixel size and style bits, with the platform font made
// from it on first use and cached until the name changes, the descriptor
// dies or the graphics library shuts down (dropPlatformFont).
//
// Style bits: kStyleBold 0x1, kStyleItalic 0x2, kStyleUnderline 0x4. The
// platform face takes exactly one of them, the last that is set in the order
// bold, italic, underline: bold + italic draws italic only, any set with
// underline draws underlined only.
//
// The eight static descriptors below exist for the whole life of the library
// and are never destroyed through release(): a release that would drop one
// of them to zero is ignored.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"
#include "toolkit/GraphicsBackend.h"

namespace toolkit {

inline constexpr int32_t kStyleBold = 0x1;
inline constexpr int32_t kStyleItalic = 0x2;
inline constexpr int32_t kStyleUnderline = 0x4;

class CFontDesc : public CBaseObject {
public:
    // name may be null (the platform font then comes from the generic
    // family); size in pixels.
    CFontDesc(const char* name = nullptr, int32_t size = 0, int32_t style = 0);
    CFontDesc(const CFontDesc&) = delete;
    CFontDesc& operator=(const CFontDesc&) = delete;
    ~CFontDesc() override;

    void release() override;

    const char* name() const { return fontName; }
    int32_t size() const { return fontSize; }
    int32_t style() const { return fontStyle; }

    // A different name (byte comparison) replaces the copy and drops the
    // cached platform font; the same name does nothing.
    void setName(const char* name);

    // The platform font, made on first use; null when the library cannot
    // make one (text operations then draw nothing).
    gfx::Font* platformFont();
    // Forgets (deletes) the cached platform font, if any.
    void dropPlatformFont();
    bool hasPlatformFont() const { return font != nullptr; }

    // The one platform face style for a set of style bits.
    static FontStyle platformStyle(int32_t style);

    // Drops the platform fonts of the eight static descriptors.
    static void dropStaticPlatformFonts();

private:
    friend struct StaticFontTable;
    CFontDesc(const char* name, int32_t size, int32_t style, bool permanent);

    char* fontName = nullptr;
    int32_t fontSize = 0;
    int32_t fontStyle = 0;
    gfx::Font* font = nullptr;
    bool permanent = false;
};

extern CFontDesc* const kDefaultFont;  // "Arial" 12
extern CFontDesc* const kFontSize18;   // "Arial" 18
extern CFontDesc* const kFontSize14;   // "Arial" 14
extern CFontDesc* const kFontSize12;   // "Arial" 12, distinct from kDefaultFont
extern CFontDesc* const kFontSize11;   // "Arial" 11
extern CFontDesc* const kFontSize10;   // "Arial" 10
extern CFontDesc* const kFontSize9;    // "Arial" 9
extern CFontDesc* const kSymbolFont;   // "Symbol" 13

}  // namespace toolkit

// The edition's artwork as the plug-in DLL carries it: the .rc linked into
// this program must embed PNGs of type "DATA" under 127, 128 and 129 in
// German (1031), with the sizes and colour types the editor relies on. This
// also proves that windres found the image files next to the .rc.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct PngHeader {
    bool valid = false;
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;  // 2 RGB, 6 RGBA
};

uint32_t bigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

PngHeader readPngHeader(const void* data, DWORD size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngHeader h;
    const auto* p = static_cast<const unsigned char*>(data);
    // signature, IHDR length and type, width, height, depth, colour type
    if (size < 8 + 8 + 13 || memcmp(p, kSignature, 8) != 0 || memcmp(p + 12, "IHDR", 4) != 0)
        return h;
    h.valid = true;
    h.width = bigEndian32(p + 16);
    h.height = bigEndian32(p + 20);
    h.bitDepth = p[24];
    h.colourType = p[25];
    return h;
}

struct ArtworkCase {
    int number;
    uint32_t width;
    uint32_t height;
    int colourType;
};

#if defined(TOVRA_EDITION_VESK)
constexpr uint32_t kBackgroundWidth = 642;
#else
constexpr uint32_t kBackgroundWidth = 310;
#endif

const ArtworkCase kCases[] = {
    {127, kBackgroundWidth, 120, 2},  // opaque background
    {128, 40, 3880, 6},               // knob film strip, 97 frames of 40 x 40
    {129, 12, 44, 6},                 // switch, 2 frames of 12 x 22
};

TEST(ArtworkResources, EmbeddedAsGermanDataResources) {
    HMODULE module = GetModuleHandleW(nullptr);
    for (const ArtworkCase& c : kCases) {
        SCOPED_TRACE(c.number);
        HRSRC info = FindResourceExW(module, L"DATA", MAKEINTRESOURCEW(c.number),
                                     MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
        ASSERT_NE(info, nullptr);
        // The plain lookup the bitmap loader uses finds the same resource.
        EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(c.number), "DATA"), info);
        DWORD size = SizeofResource(module, info);
        HGLOBAL handle = LoadResource(module, info);
        ASSERT_NE(handle, nullptr);
        const void* bytes = LockResource(handle);
        ASSERT_NE(bytes, nullptr);
        PngHeader h = readPngHeader(bytes, size);
        ASSERT_TRUE(h.valid);
        EXPECT_EQ(h.width, c.width);
        EXPECT_EQ(h.height, c.height);
        EXPECT_EQ(h.bitDepth, 8);
        EXPECT_EQ(h.colourType, c.colourType);
    }
}

}  // namespace

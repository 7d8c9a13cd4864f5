// The GDI+ backend under wine: resources embedded in this test program
// (GdiplusBackendTest.rc), decoded, drawn and read back pixel by pixel.
#include "toolkit/platform/win32/GdiplusBackend.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

#include "toolkit/CBitmap.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/GDIPlusGlobals.h"
#include "toolkit/platform/win32/Utf8ToWide.h"
#include "toolkit/platform/win32/WideToUtf8.h"

namespace toolkit {
namespace {

constexpr int32_t kStrip = 300;
constexpr int32_t kOpaque = 301;
constexpr int32_t kGarbage = 302;
constexpr int32_t kNativeBitmap = 303;
constexpr int32_t kKnob = 128;

// The colours of data/make_test_images.py.
constexpr uint32_t kFrameColours[5] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFF102040u};

uint32_t pixelOf(const CBitmap* bitmap, int32_t x, int32_t y) {
    Gdiplus::ARGB argb = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(bitmap->platformBitmap()->bitmap, x, y, &argb);
    return argb;
}

// Channels equal within tolerance (premultiplied round trips may move a
// partly transparent pixel's colour by one step).
bool closeTo(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFu);
        const int cb = static_cast<int>((b >> shift) & 0xFFu);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

// Keeps the library running for the test, as the editor's background does.
class GdiplusBackendTest : public ::testing::Test {
protected:
    void SetUp() override { acquireGraphicsLibrary(); }
    void TearDown() override {
        releaseGraphicsLibrary();
        EXPECT_EQ(GDIPlusGlobals::instance(), nullptr) << "a bitmap or context was left alive";
    }
};

TEST_F(GdiplusBackendTest, ResourcesLoadWithTheirSize) {
    struct Case {
        const char* label;
        CResourceDescription resource;
        bool loads;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {"RGBA strip", CResourceDescription(kStrip), true, 40, 200},
        {"RGB without alpha", CResourceDescription(kOpaque), true, 6, 4},
        {"by name", CResourceDescription("STRIP"), true, 40, 200},
        {"the editor's knob strip", CResourceDescription(kKnob), true, 40, 3880},
        {"missing", CResourceDescription(999), false, 0, 0},
        {"missing name", CResourceDescription("NOSUCH"), false, 0, 0},
        {"undecodable data", CResourceDescription(kGarbage), true, 0, 0},
        {"native bitmap fallback", CResourceDescription(kNativeBitmap), true, 7, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CBitmap* bitmap = new CBitmap(c.resource);
        EXPECT_EQ(bitmap->width(), c.width);
        EXPECT_EQ(bitmap->height(), c.height);
        EXPECT_EQ(bitmap->loadFromResource(c.resource), c.loads);
        EXPECT_EQ(bitmap->width(), c.width);
        EXPECT_EQ(bitmap->height(), c.height);
        bitmap->release();
    }
}

TEST_F(GdiplusBackendTest, FilmStripFrameShowsThatFrame) {
    CBitmap* strip = new CBitmap(CResourceDescription(kStrip));
    for (int32_t k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        COffscreenContext* off = new COffscreenContext(nullptr, 60, 60);
        strip->draw(off, CRectangle(10, 10, 50, 50), CPosition(0, 40 * k));
        int32_t wrong = 0;
        for (int32_t y = 0; y < 60; ++y) {
            for (int32_t x = 0; x < 60; ++x) {
                const bool inside = x >= 10 && x < 50 && y >= 10 && y < 50;
                const uint32_t expected = inside ? pixelOf(strip, x - 10, 40 * k + y - 10) : 0u;
                if (!closeTo(pixelOf(off->bitmap(), x, y), expected, 1)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(pixelOf(off->bitmap(), 30, 30), kFrameColours[k]);
        off->release();
    }
    strip->release();

    // The same with the editor's real strip, frame by frame.
    CBitmap* knob = new CBitmap(CResourceDescription(kKnob));
    for (int32_t k : {0, 48, 96}) {
        SCOPED_TRACE(k);
        COffscreenContext* off = new COffscreenContext(nullptr, 40, 40);
        knob->draw(off, CRectangle(0, 0, 40, 40), CPosition(0, 40 * k));
        int32_t wrong = 0;
        for (int32_t y = 0; y < 40; ++y)
            for (int32_t x = 0; x < 40; ++x)
                if (!closeTo(pixelOf(off->bitmap(), x, y), pixelOf(knob, x, 40 * k + y), 1)) ++wrong;
        EXPECT_EQ(wrong, 0);
        off->release();
    }
    knob->release();
}

TEST_F(GdiplusBackendTest, DrawAndDrawTransparentGiveIdenticalPixels) {
    CBitmap* strip = new CBitmap(CResourceDescription(kStrip));
    COffscreenContext* a = new COffscreenContext(nullptr, 40, 40);
    COffscreenContext* b = new COffscreenContext(nullptr, 40, 40);
    for (COffscreenContext* c : {a, b}) {
        c->setFillColor(CRgba(90, 90, 90, 255));
        c->fillRect(CRectangle(0, 0, 40, 40));
    }
    // Frame 2 has a transparent square and a half-transparent column.
    strip->draw(a, CRectangle(0, 0, 40, 40), CPosition(0, 80));
    strip->drawTransparent(b, CRectangle(0, 0, 40, 40), CPosition(0, 80));
    int32_t different = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x)
            if (pixelOf(a->bitmap(), x, y) != pixelOf(b->bitmap(), x, y)) ++different;
    EXPECT_EQ(different, 0);
    EXPECT_EQ(pixelOf(a->bitmap(), 5, 5), 0xFF5A5A5Au);   // through the transparent square
    EXPECT_EQ(pixelOf(a->bitmap(), 20, 20), 0xFF0000FFu);
    EXPECT_TRUE(closeTo(pixelOf(a->bitmap(), 39, 20), 0xFF2D2DACu, 2));  // half blue over grey
    a->release();
    b->release();
    strip->release();
}

TEST_F(GdiplusBackendTest, AlphaBlendScalesTheImageAlpha) {
    struct Case {
        uint8_t alpha;
        uint32_t redOverBlue;
    };
    const Case cases[] = {{255, 0xFFFF0000u}, {128, 0xFF80007Fu}, {64, 0xFF4000BFu}, {0, 0xFF0000FFu}};
    CBitmap* strip = new CBitmap(CResourceDescription(kStrip));
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.alpha));
        COffscreenContext* off = new COffscreenContext(nullptr, 20, 20);
        off->setFillColor(kColorBlue);
        off->fillRect(CRectangle(0, 0, 20, 20));
        strip->drawAlphaBlend(off, CRectangle(5, 5, 15, 15), CPosition(0, 0), c.alpha);
        EXPECT_TRUE(closeTo(pixelOf(off->bitmap(), 10, 10), c.redOverBlue, 2))
            << std::hex << pixelOf(off->bitmap(), 10, 10);
        EXPECT_EQ(pixelOf(off->bitmap(), 2, 2), 0xFF0000FFu);
        EXPECT_EQ(pixelOf(off->bitmap(), 15, 15), 0xFF0000FFu);
        off->release();
    }
    strip->release();
}

TEST_F(GdiplusBackendTest, MissingAndUndecodableBitmapsDrawNothing) {
    CBitmap* missing = new CBitmap(CResourceDescription(999));
    CBitmap* garbage = new CBitmap(CResourceDescription(kGarbage));
    COffscreenContext* off = new COffscreenContext(nullptr, 10, 10);
    missing->draw(off, CRectangle(0, 0, 10, 10));
    garbage->draw(off, CRectangle(0, 0, 10, 10));
    garbage->drawAlphaBlend(off, CRectangle(0, 0, 10, 10), CPosition(0, 0), 100);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(pixelOf(off->bitmap(), x, y), 0u);
    off->release();
    missing->release();
    garbage->release();
}

TEST_F(GdiplusBackendTest, CopyToPlacesTheSourceOffsetAtTheDestination) {
    COffscreenContext* source = new COffscreenContext(nullptr, 30, 20);
    source->setFillColor(kColorRed);
    source->fillRect(CRectangle(0, 0, 30, 20));
    source->setFillColor(kColorGreen);
    source->fillRect(CRectangle(5, 5, 10, 10));
    COffscreenContext* screen = new COffscreenContext(nullptr, 40, 40);
    screen->drawOffset = CPosition(2, 1);
    source->copyTo(screen, CRectangle(10, 10, 20, 20), CPosition(5, 5));
    EXPECT_EQ(pixelOf(screen->bitmap(), 12, 11), 0xFF00FF00u);
    EXPECT_EQ(pixelOf(screen->bitmap(), 16, 15), 0xFF00FF00u);
    EXPECT_EQ(pixelOf(screen->bitmap(), 17, 16), 0xFFFF0000u);
    EXPECT_EQ(pixelOf(screen->bitmap(), 21, 20), 0xFFFF0000u);
    EXPECT_EQ(pixelOf(screen->bitmap(), 22, 21), 0u);
    EXPECT_EQ(pixelOf(screen->bitmap(), 11, 10), 0u);
    screen->release();
    source->release();
}

// Drawing on a device context: a 32-bit top-down DIB section read back.
class DeviceSurface {
public:
    DeviceSurface(int32_t w, int32_t h) : width(w) {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, dib);
        for (int32_t i = 0; i < w * h; ++i) bits[i] = 0;
    }
    ~DeviceSurface() {
        SelectObject(dc, old);
        DeleteObject(dib);
        DeleteDC(dc);
    }
    uint32_t rgb(int32_t x, int32_t y) const {
        GdiFlush();
        return bits[y * width + x] & 0x00FFFFFFu;
    }
    HDC dc = nullptr;

private:
    int32_t width;
    HBITMAP dib = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
};

TEST_F(GdiplusBackendTest, DeviceContextFillAndFrameFollowThePixelRules) {
    DeviceSurface surface(20, 20);
    {
        CDrawContext ctx(nullptr, surface.dc, nullptr);
        ctx.setFillColor(kColorRed);
        ctx.fillRect(CRectangle(0, 0, 10, 10));
    }
    int32_t red = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x)
            if (surface.rgb(x, y) == 0xFF0000u) ++red;
    EXPECT_EQ(red, 100);
    EXPECT_EQ(surface.rgb(9, 9), 0xFF0000u);
    EXPECT_EQ(surface.rgb(10, 10), 0u);

    DeviceSurface framed(20, 20);
    {
        CDrawContext ctx(nullptr, framed.dc, nullptr);
        ctx.setFrameColor(kColorGreen);
        ctx.frameRect(CRectangle(0, 0, 10, 10));
        // The clip replaces: a fill outside it leaves the frame alone.
        ctx.setClipRect(CRectangle(12, 12, 20, 20));
        ctx.setFillColor(kColorBlue);
        ctx.fillRect(CRectangle(0, 0, 20, 20));
    }
    EXPECT_EQ(framed.rgb(0, 0), 0x00FF00u);
    EXPECT_EQ(framed.rgb(9, 0), 0x00FF00u);
    EXPECT_EQ(framed.rgb(0, 9), 0x00FF00u);
    EXPECT_EQ(framed.rgb(9, 9), 0x00FF00u);
    EXPECT_EQ(framed.rgb(5, 5), 0u);
    EXPECT_EQ(framed.rgb(10, 10), 0u);
    EXPECT_EQ(framed.rgb(11, 11), 0u);
    EXPECT_EQ(framed.rgb(12, 12), 0x0000FFu);
    EXPECT_EQ(framed.rgb(19, 19), 0x0000FFu);
}

TEST_F(GdiplusBackendTest, WindowContextDrawsOnTheWindowAndKnowsItsScreenPosition) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 60, 100, 80, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    for (int i = 0; i < 3; ++i) {  // the borrowed device context goes back every time
        CDrawContext* ctx = new CDrawContext(nullptr, nullptr, window);
        EXPECT_EQ(ctx->screenOffset, CPosition(r.left, r.top));
        EXPECT_NE(ctx->graphics(), nullptr);
        ctx->setFillColor(kColorRed);
        ctx->fillRect(CRectangle(0, 0, 100, 80));
        EXPECT_GT(ctx->stringWidth("x"), 0);
        ctx->release();
    }
    DestroyWindow(window);
}

// Rows of the offscreen that hold a pixel of any alpha.
void inkRows(const CBitmap* bitmap, int32_t& first, int32_t& last, const CRectangle& area) {
    first = 1 << 30;
    last = -1;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (pixelOf(bitmap, x, y) >> 24) {
                if (y < first) first = y;
                if (y > last) last = y;
            }
}

TEST_F(GdiplusBackendTest, TextIsMeasuredAndDrawnAboveItsBottomLine) {
    COffscreenContext* off = new COffscreenContext(nullptr, 120, 40);
    off->setFontColor(kColorWhite);
    const int32_t width = off->stringWidth("Tovra");
    EXPECT_GT(width, 15);
    EXPECT_LT(width, 60);
    off->drawString("Tovra", CPosition(5, 25), false);
    int32_t first = 0;
    int32_t last = 0;
    inkRows(off->bitmap(), first, last, CRectangle(0, 0, 120, 40));
    ASSERT_GE(last, 0) << "no text drawn";
    EXPECT_LE(last, 25);
    EXPECT_GE(first, 25 + 1 - 15);  // a 12 px Arial line is under 15 px high
    off->release();
}

TEST_F(GdiplusBackendTest, NonAsciiTextAndUnknownFamiliesStillDraw) {
    COffscreenContext* off = new COffscreenContext(nullptr, 120, 40);
    off->setFontColor(kColorWhite);
    // "Ää€" in UTF-8: three characters, seven bytes.
    const char* text = "\xC3\x84\xC3\xA4\xE2\x82\xAC";
    const int32_t width = off->stringWidth(text);
    EXPECT_GT(width, 10);
    EXPECT_LT(width, 50);
    off->drawString(text, CPosition(5, 25));
    int32_t first = 0;
    int32_t last = 0;
    inkRows(off->bitmap(), first, last, CRectangle(0, 0, 120, 40));
    EXPECT_GE(last, 0);

    // An unknown family falls back to the generic sans-serif one, which a
    // bare wine prefix does not have ("Microsoft Sans Serif"): then there is
    // no font at all and text draws nothing.
    Gdiplus::GpFontFamily* generic = nullptr;
    const bool hasGeneric = Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok;
    if (generic) Gdiplus::DllExports::GdipDeleteFontFamily(generic);
    CFontDesc unknown("No Such Family", 12, 0);
    EXPECT_EQ(unknown.platformFont() != nullptr, hasGeneric);
    if (!hasGeneric) {
        COffscreenContext* blank = new COffscreenContext(nullptr, 40, 20);
        blank->setFont(&unknown);
        EXPECT_EQ(blank->stringWidth("abc"), -1);
        blank->drawString("abc", CPosition(0, 15));
        inkRows(blank->bitmap(), first, last, CRectangle(0, 0, 40, 20));
        EXPECT_EQ(last, -1);
        blank->release();
    }
    CFontDesc boldItalic("Arial", 12, kStyleBold | kStyleItalic);
    EXPECT_NE(boldItalic.platformFont(), nullptr);
    off->release();
}

TEST_F(GdiplusBackendTest, RightAlignedTextTooWideForItsRectIsCut) {
    COffscreenContext* off = new COffscreenContext(nullptr, 80, 30);
    off->setFontColor(kColorWhite);
    off->drawStringInRect("WWWWWWWWWW", CRectangle(20, 5, 50, 25), kAlignRight);
    int32_t first = 0;
    int32_t last = 0;
    inkRows(off->bitmap(), first, last, CRectangle(20, 0, 50, 30));
    EXPECT_GE(last, 0) << "nothing drawn inside the rect";
    inkRows(off->bitmap(), first, last, CRectangle(0, 0, 20, 30));
    EXPECT_EQ(last, -1) << "drawn left of the rect";
    inkRows(off->bitmap(), first, last, CRectangle(50, 0, 80, 30));
    EXPECT_EQ(last, -1) << "drawn right of the rect";
    EXPECT_EQ(off->clipRect(), CRectangle(0, 0, 80, 30));
    off->release();
}

TEST(GdiplusHolder, LibraryStopsWithTheLastBitmapAndFrameAndStartsAgain) {
    GdiplusBackend& backend = GdiplusBackend::instance();
    ASSERT_EQ(GDIPlusGlobals::instance(), nullptr);
    const int32_t startsBefore = backend.startupCount();

    CFrame* frame = new CFrame(CRectangle(0, 0, 100, 50), nullptr, nullptr);
    EXPECT_TRUE(backend.isRunning());
    CBitmap* bitmap = new CBitmap(CResourceDescription(kStrip));
    EXPECT_EQ(bitmap->width(), 40);
    EXPECT_EQ(backend.startupCount(), startsBefore + 1);
    delete frame;
    EXPECT_TRUE(backend.isRunning());
    // The static fonts lose their platform fonts before the library stops.
    {
        COffscreenContext* off = new COffscreenContext(nullptr, 10, 10);
        EXPECT_GT(off->stringWidth("x"), 0);
        off->release();
    }
    EXPECT_TRUE(kDefaultFont->hasPlatformFont());
    bitmap->release();
    EXPECT_FALSE(backend.isRunning());
    EXPECT_EQ(GDIPlusGlobals::instance(), nullptr);
    EXPECT_FALSE(kDefaultFont->hasPlatformFont());

    CBitmap* again = new CBitmap(CResourceDescription(kStrip));
    EXPECT_TRUE(backend.isRunning());
    EXPECT_EQ(backend.startupCount(), startsBefore + 2);
    EXPECT_EQ(again->width(), 40);
    again->release();
    EXPECT_FALSE(backend.isRunning());
}

TEST(TextConversion, Utf8AndUtf16RoundTrip) {
    struct Case {
        const char* label;
        const char* utf8;
        const wchar_t* wide;
    };
    const Case cases[] = {
        {"ASCII", "Tovra", L"Tovra"},
        {"empty", "", L""},
        {"two-byte", "\xC3\x84pfel", L"\u00C4pfel"},
        {"three-byte", "\xE2\x82\xAC 5", L"\u20AC 5"},
        {"surrogate pair", "\xF0\x9F\x8E\xB5", L"\xD83C\xDFB5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Utf8ToWide wide(c.utf8);
        EXPECT_STREQ(wide.text(), c.wide);
        EXPECT_EQ(wide.text(), wide.text());  // converted once
        WideToUtf8 utf8(c.wide);
        EXPECT_STREQ(utf8.text(), c.utf8);
    }
    EXPECT_STREQ(Utf8ToWide(nullptr).text(), L"");
    EXPECT_STREQ(Utf8ToWide("\xFF\xFE broken").text(), L"");
    EXPECT_STREQ(WideToUtf8(nullptr).text(), "");
}

}  // namespace
}  // namespace toolkit

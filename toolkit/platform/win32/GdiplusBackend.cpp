#include "toolkit/platform/win32/GdiplusBackend.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>

#include "toolkit/LibraryModule.h"
#include "toolkit/platform/win32/ResourceStream.h"
#include "toolkit/platform/win32/Utf8ToWide.h"

namespace toolkit {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpPen;
using Gdiplus::GpSolidFill;
using Gdiplus::Ok;
using Gdiplus::RectF;

namespace {

GpGraphics* native(gfx::Graphics* g) { return reinterpret_cast<GpGraphics*>(g); }
GpPen* native(gfx::Pen* p) { return reinterpret_cast<GpPen*>(p); }
GpSolidFill* native(gfx::Brush* b) { return reinterpret_cast<GpSolidFill*>(b); }
GpFont* native(gfx::Font* f) { return reinterpret_cast<GpFont*>(f); }

// Settings every graphics object of the toolkit gets.
void configure(GpGraphics* g) {
    gp::GdipSetInterpolationMode(g, Gdiplus::InterpolationModeLowQuality);
    gp::GdipSetPageUnit(g, Gdiplus::UnitPixel);
}

}  // namespace

GdiplusBackend& GdiplusBackend::instance() {
    // Never destroyed: the static fonts may give back handles while the
    // library unloads.
    static GdiplusBackend* backend = new GdiplusBackend();
    return *backend;
}

GraphicsBackend& graphicsBackend() { return GdiplusBackend::instance(); }

uintptr_t GdiplusBackend::startup() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    running = true;
    ++startups;
    return token;
}

void GdiplusBackend::shutdown(uintptr_t token) {
    if (sansSerif) gp::GdipDeleteFontFamily(static_cast<GpFontFamily*>(sansSerif));
    sansSerif = nullptr;
    Gdiplus::GdiplusShutdown(token);
    running = false;
}

PlatformDeviceContext GdiplusBackend::windowDeviceContext(PlatformWindow window) {
    return window ? GetDC(static_cast<HWND>(window)) : nullptr;
}

void GdiplusBackend::releaseWindowDeviceContext(PlatformWindow window, PlatformDeviceContext dc) {
    if (dc) ReleaseDC(static_cast<HWND>(window), static_cast<HDC>(dc));
}

CPosition GdiplusBackend::windowScreenOrigin(PlatformWindow window) {
    RECT r{};
    if (!window || !GetWindowRect(static_cast<HWND>(window), &r)) return CPosition(0, 0);
    return CPosition(r.left, r.top);
}

gfx::Graphics* GdiplusBackend::createDeviceGraphics(PlatformDeviceContext dc) {
    if (!dc) return nullptr;
    GpGraphics* g = nullptr;
    if (gp::GdipCreateFromHDC(static_cast<HDC>(dc), &g) != Ok) return nullptr;
    configure(g);
    gp::GdipSetPixelOffsetMode(g, Gdiplus::PixelOffsetModeNone);
    gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeNone);
    return reinterpret_cast<gfx::Graphics*>(g);
}

gfx::Graphics* GdiplusBackend::createImageGraphics(gfx::Image* image) {
    if (!image || !image->bitmap) return nullptr;
    GpGraphics* g = nullptr;
    if (gp::GdipGetImageGraphicsContext(image->bitmap, &g) != Ok) return nullptr;
    configure(g);
    return reinterpret_cast<gfx::Graphics*>(g);
}

void GdiplusBackend::deleteGraphics(gfx::Graphics* g) {
    if (g) gp::GdipDeleteGraphics(native(g));
}

void GdiplusBackend::setClip(gfx::Graphics* g, const CRectangle& clip) {
    if (g) gp::GdipSetClipRectI(native(g), clip.left, clip.top, clip.width(), clip.height(),
                                 Gdiplus::CombineModeReplace);
}

gfx::Pen* GdiplusBackend::createPen(uint32_t argb, float width) {
    GpPen* pen = nullptr;
    if (gp::GdipCreatePen1(argb, width, Gdiplus::UnitWorld, &pen) != Ok) return nullptr;
    gp::GdipSetPenDashStyle(pen, Gdiplus::DashStyleSolid);
    return reinterpret_cast<gfx::Pen*>(pen);
}

void GdiplusBackend::setPenWidth(gfx::Pen* p, float width) {
    if (p) gp::GdipSetPenWidth(native(p), width);
}

void GdiplusBackend::setPenColor(gfx::Pen* p, uint32_t argb) {
    if (p) gp::GdipSetPenColor(native(p), argb);
}

void GdiplusBackend::deletePen(gfx::Pen* p) {
    if (p) gp::GdipDeletePen(native(p));
}

gfx::Brush* GdiplusBackend::createSolidBrush(uint32_t argb) {
    GpSolidFill* brush = nullptr;
    if (gp::GdipCreateSolidFill(argb, &brush) != Ok) return nullptr;
    return reinterpret_cast<gfx::Brush*>(brush);
}

void GdiplusBackend::setBrushColor(gfx::Brush* b, uint32_t argb) {
    if (b) gp::GdipSetSolidFillColor(native(b), argb);
}

void GdiplusBackend::deleteBrush(gfx::Brush* b) {
    if (b) gp::GdipDeleteBrush(native(b));
}

void GdiplusBackend::drawLine(gfx::Graphics* g, gfx::Pen* p, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (g && p) gp::GdipDrawLineI(native(g), native(p), x1, y1, x2, y2);
}

void GdiplusBackend::fillRectangle(gfx::Graphics* g, gfx::Brush* b, float x, float y, float w, float h) {
    if (g && b) gp::GdipFillRectangle(native(g), native(b), x, y, w, h);
}

void GdiplusBackend::drawRectangle(gfx::Graphics* g, gfx::Pen* p, float x, float y, float w, float h) {
    if (g && p) gp::GdipDrawRectangle(native(g), native(p), x, y, w, h);
}

void* GdiplusBackend::genericFamily() {
    if (!sansSerif) {
        GpFontFamily* family = nullptr;
        if (gp::GdipGetGenericFontFamilySansSerif(&family) == Ok) sansSerif = family;
    }
    return sansSerif;
}

gfx::Font* GdiplusBackend::createFont(const char* name, int32_t pixelSize, FontStyle style) {
    GpFontFamily* named = nullptr;
    if (name) {
        // Font names are plain ASCII; the C library's conversion suffices.
        wchar_t wide[201] = {};
        if (std::mbstowcs(wide, name, 200) != static_cast<size_t>(-1))
            gp::GdipCreateFontFamilyFromName(wide, nullptr, &named);
    }
    GpFontFamily* generic = static_cast<GpFontFamily*>(genericFamily());
    GpFontFamily* family = named ? named : generic;
    GpFont* font = nullptr;
    if (family &&
        gp::GdipCreateFont(family, static_cast<Gdiplus::REAL>(pixelSize), static_cast<INT>(style),
                           Gdiplus::UnitPixel, &font) != Ok)
        font = nullptr;
    if (!font && family != generic && generic &&
        gp::GdipCreateFont(generic, static_cast<Gdiplus::REAL>(pixelSize), static_cast<INT>(style),
                           Gdiplus::UnitPixel, &font) != Ok)
        font = nullptr;
    if (named) gp::GdipDeleteFontFamily(named);
    return reinterpret_cast<gfx::Font*>(font);
}

void GdiplusBackend::deleteFont(gfx::Font* f) {
    if (f) gp::GdipDeleteFont(native(f));
}

bool GdiplusBackend::measureString(gfx::Graphics* g, gfx::Font* f, const char* utf8, float& width) {
    if (!g || !f || !utf8) return false;
    Utf8ToWide text(utf8);
    RectF layout(0.0f, 0.0f, 0.0f, 0.0f);
    RectF bounds(0.0f, 0.0f, 0.0f, 0.0f);
    if (gp::GdipMeasureString(native(g), text.text(), -1, native(f), &layout, nullptr, &bounds, nullptr,
                              nullptr) != Ok)
        return false;
    width = bounds.Width;
    return true;
}

float GdiplusBackend::fontLineHeight(gfx::Graphics* g, gfx::Font* f) {
    if (!g || !f) return 0.0f;
    Gdiplus::REAL dpi = 0.0f;
    Gdiplus::REAL height = 0.0f;
    gp::GdipGetDpiY(native(g), &dpi);
    gp::GdipGetFontHeightGivenDPI(native(f), dpi, &height);
    return height;
}

void GdiplusBackend::setTextAntialias(gfx::Graphics* g, bool antialias) {
    if (g)
        gp::GdipSetTextRenderingHint(native(g), antialias ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                          : Gdiplus::TextRenderingHintSystemDefault);
}

void GdiplusBackend::drawString(gfx::Graphics* g, gfx::Font* f, gfx::Brush* b, const char* utf8, float x,
                                float y) {
    if (!g || !f || !b || !utf8) return;
    Utf8ToWide text(utf8);
    RectF layout(x, y, 0.0f, 0.0f);
    gp::GdipDrawString(native(g), text.text(), -1, native(f), &layout, nullptr, native(b));
}

gfx::Image* GdiplusBackend::loadImage(const CResourceDescription& resource) {
    HMODULE module = static_cast<HMODULE>(libraryModule());
    const char* id = resource.isNumber() ? MAKEINTRESOURCEA(resource.resourceNumber()) : resource.name;
    if (!resource.isNumber() && !id) return nullptr;

    gfx::Image* image = nullptr;
    HRSRC found = FindResourceA(module, id, "DATA");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) {
        ResourceStream* stream = new ResourceStream(bytes, SizeofResource(module, found));
        GpBitmap* bitmap = nullptr;
        if (gp::GdipCreateBitmapFromStreamICM(stream, &bitmap) != Ok) bitmap = nullptr;
        // The decoder took its own reference for as long as it needs one.
        stream->Release();
        image = new gfx::Image{bitmap};
    }
    if (!image) {
        GpBitmap* bitmap = nullptr;
        if (resource.isNumber()) {
            gp::GdipCreateBitmapFromResource(module, MAKEINTRESOURCEW(resource.resourceNumber()), &bitmap);
        } else {
            Utf8ToWide name(resource.name);
            gp::GdipCreateBitmapFromResource(module, name.text(), &bitmap);
        }
        if (bitmap) image = new gfx::Image{bitmap};
    }
    return image;
}

gfx::Image* GdiplusBackend::createImage(int32_t width, int32_t height) {
    GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok ||
        !bitmap)
        return nullptr;
    return new gfx::Image{bitmap};
}

bool GdiplusBackend::imageSize(gfx::Image* image, int32_t& width, int32_t& height) {
    width = height = 0;
    if (!image || !image->bitmap) return false;
    UINT w = 0;
    UINT h = 0;
    if (gp::GdipGetImageWidth(image->bitmap, &w) != Ok || gp::GdipGetImageHeight(image->bitmap, &h) != Ok)
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

void GdiplusBackend::deleteImage(gfx::Image* image) {
    if (!image) return;
    if (image->bitmap) gp::GdipDisposeImage(image->bitmap);
    delete image;
}

void GdiplusBackend::drawImage(gfx::Graphics* g, gfx::Image* image, int32_t dstX, int32_t dstY, int32_t w,
                               int32_t h, int32_t srcX, int32_t srcY, uint8_t alpha) {
    if (!g || !image || !image->bitmap) return;
    if (alpha == 255) {
        gp::GdipDrawImageRectRectI(native(g), image->bitmap, dstX, dstY, w, h, srcX, srcY, w, h,
                                   Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        return;
    }
    // The part is copied to a surface of its own first, so the colour matrix
    // scales exactly the pixels that are drawn.
    GpBitmap* part = nullptr;
    if (gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &part) != Ok || !part) return;
    GpGraphics* partGraphics = nullptr;
    if (gp::GdipGetImageGraphicsContext(part, &partGraphics) == Ok) {
        gp::GdipDrawImageRectRectI(partGraphics, image->bitmap, 0, 0, w, h, srcX, srcY, w, h,
                                   Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        gp::GdipDeleteGraphics(partGraphics);
        Gdiplus::ColorMatrix matrix = {};
        for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
        matrix.m[3][3] = static_cast<float>(alpha) * (1.0f / 255.0f);
        GpImageAttributes* attributes = nullptr;
        if (gp::GdipCreateImageAttributes(&attributes) == Ok) {
            gp::GdipSetImageAttributesColorMatrix(attributes, Gdiplus::ColorAdjustTypeBitmap, TRUE, &matrix,
                                                  nullptr, Gdiplus::ColorMatrixFlagsDefault);
            gp::GdipDrawImageRectRectI(native(g), part, dstX, dstY, w, h, 0, 0, w, h, Gdiplus::UnitPixel,
                                       attributes, nullptr, nullptr);
            gp::GdipDisposeImageAttributes(attributes);
        }
    }
    gp::GdipDisposeImage(part);
}

}  // namespace toolkit

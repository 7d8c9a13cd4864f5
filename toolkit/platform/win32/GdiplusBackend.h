// The Windows build's graphics backend over the GDI+ flat interface.
//
// Graphics objects, pens, brushes and fonts are the library's own objects
// (GpGraphics, GpPen, GpSolidFill, GpFont) behind the backend's opaque
// handles. An image is a small record around a GpBitmap so that data that
// was found but could not be decoded still gives an image, one that reports
// no size and draws nothing.
//
// Settings: every graphics object interpolates at low quality and measures
// in pixels; one on a device context also has no pixel offset and no
// smoothing. Clips replace. Pens are solid, in world units. Fonts are made
// in pixel units from the named family, else the generic sans-serif family
// (fetched once, kept until shut-down). Text crosses into the library as
// UTF-16 (Utf8ToWide). Resources are type "DATA" in libraryModule(), read in
// place through a ResourceStream, with the native bitmap resource of the
// same number or name as the fallback.
//
// The library offers no query of its own for whether it runs, so the
// backend keeps that state for tests to observe (isRunning, startupCount).
//
// Quirk: wine's generic sans-serif family is "Microsoft Sans Serif" and
// nothing else; a prefix without that font (or a replacement for it) has
// no generic family, so there a font whose own family is missing (such as
// "Symbol") is not made at all and its text draws nothing.
#pragma once

#include <cstdint>

#include "toolkit/GraphicsBackend.h"

namespace Gdiplus {
class GpBitmap;
}

namespace toolkit {

namespace gfx {
struct Image {
    Gdiplus::GpBitmap* bitmap = nullptr;  // null: undecodable data
};
}  // namespace gfx

class GdiplusBackend : public GraphicsBackend {
public:
    static GdiplusBackend& instance();

    bool isRunning() const { return running; }
    int32_t startupCount() const { return startups; }

    uintptr_t startup() override;
    void shutdown(uintptr_t token) override;
    PlatformDeviceContext windowDeviceContext(PlatformWindow window) override;
    void releaseWindowDeviceContext(PlatformWindow window, PlatformDeviceContext dc) override;
    CPosition windowScreenOrigin(PlatformWindow window) override;
    gfx::Graphics* createDeviceGraphics(PlatformDeviceContext dc) override;
    gfx::Graphics* createImageGraphics(gfx::Image* image) override;
    void deleteGraphics(gfx::Graphics* graphics) override;
    void setClip(gfx::Graphics* graphics, const CRectangle& clip) override;
    gfx::Pen* createPen(uint32_t argb, float width) override;
    void setPenWidth(gfx::Pen* pen, float width) override;
    void setPenColor(gfx::Pen* pen, uint32_t argb) override;
    void deletePen(gfx::Pen* pen) override;
    gfx::Brush* createSolidBrush(uint32_t argb) override;
    void setBrushColor(gfx::Brush* brush, uint32_t argb) override;
    void deleteBrush(gfx::Brush* brush) override;
    void drawLine(gfx::Graphics* graphics, gfx::Pen* pen, int32_t x1, int32_t y1, int32_t x2,
                  int32_t y2) override;
    void fillRectangle(gfx::Graphics* graphics, gfx::Brush* brush, float x, float y, float w,
                       float h) override;
    void drawRectangle(gfx::Graphics* graphics, gfx::Pen* pen, float x, float y, float w,
                       float h) override;
    gfx::Font* createFont(const char* name, int32_t pixelSize, FontStyle style) override;
    void deleteFont(gfx::Font* font) override;
    bool measureString(gfx::Graphics* graphics, gfx::Font* font, const char* utf8,
                       float& width) override;
    float fontLineHeight(gfx::Graphics* graphics, gfx::Font* font) override;
    void setTextAntialias(gfx::Graphics* graphics, bool antialias) override;
    void drawString(gfx::Graphics* graphics, gfx::Font* font, gfx::Brush* brush, const char* utf8,
                    float x, float y) override;
    gfx::Image* loadImage(const CResourceDescription& resource) override;
    gfx::Image* createImage(int32_t width, int32_t height) override;
    bool imageSize(gfx::Image* image, int32_t& width, int32_t& height) override;
    void deleteImage(gfx::Image* image) override;
    void drawImage(gfx::Graphics* graphics, gfx::Image* image, int32_t dstX, int32_t dstY, int32_t w,
                   int32_t h, int32_t srcX, int32_t srcY, uint8_t alpha) override;

private:
    GdiplusBackend() = default;
    void* genericFamily();

    void* sansSerif = nullptr;  // GpFontFamily*, fetched once per start
    bool running = false;
    int32_t startups = 0;
};

}  // namespace toolkit

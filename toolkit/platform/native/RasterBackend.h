// The native build's graphics backend: a stand-in for the platform library
// that records every call as a typed command and rasterises fills, frames,
// lines, bitmap blits and (approximate) text into 32-bit ARGB buffers, so
// tests can check both what was asked and which pixels changed.
//
// Surfaces. A device context is a RasterSurface* (tests make one and pass
// it to CDrawContext); a window becomes drawable by attachWindow(). Images
// (gfx::Image) are RasterSurfaces too: bitmaps and offscreen contexts expose
// their pixels through CBitmap::platformBitmap().
//
// Pixels are 0xAARRGGBB, not premultiplied; drawing composites source-over.
// Rasterising rules (aliased, pixel centres on integers):
//   fillRectangle(x, y, w, h)  the pixels x .. x+w-1, y .. y+h-1
//   drawRectangle(x, y, w, h)  the outline through (x, y) and (x+w, y+h)
//   drawLine                   Bresenham, both ends drawn
//   pen width n covers n pixels across a line, from -(n/2) to n-1-(n/2),
//                              with flat ends; rectangle corners are joined
// Everything is cut by the graphics' clip and the surface bounds.
//
// Text is approximate: every code point advances size/2 pixels, the line
// height is 1.15 x size, and each visible glyph is drawn as a solid block
// over its advance cell (less its last column) in the brush colour.
//
// Resources. The library module's resources are what tests register:
// addImageResource (decoded pixels), addUndecodableResource (data that
// cannot be decoded). Fonts: a family is known when registered with
// addFontFamily (Arial and Symbol at the start); otherwise the generic
// sans-serif family is used, unless setGenericFamilyAvailable(false).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "toolkit/GraphicsBackend.h"

namespace toolkit {

struct RasterSurface {
    RasterSurface() = default;
    RasterSurface(int32_t w, int32_t h, uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<size_t>(w > 0 && h > 0 ? w * h : 0), fill) {}

    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // row-major, width x height

    bool contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // 0 outside the surface.
    uint32_t pixel(int32_t x, int32_t y) const {
        return contains(x, y) ? pixels[static_cast<size_t>(y) * width + x] : 0u;
    }
    void setPixel(int32_t x, int32_t y, uint32_t argb) {
        if (contains(x, y)) pixels[static_cast<size_t>(y) * width + x] = argb;
    }
    void fill(uint32_t argb) { pixels.assign(pixels.size(), argb); }
    // Number of pixels equal to argb inside r (cut by the surface).
    int32_t count(uint32_t argb, const CRectangle& r) const;
    int32_t count(uint32_t argb) const { return count(argb, CRectangle(0, 0, width, height)); }
};

namespace gfx {
struct Image : RasterSurface {
    using RasterSurface::RasterSurface;
    bool undecodable = false;  // reports no size and draws nothing
};
struct Graphics {
    RasterSurface* target = nullptr;
    bool deviceSurface = false;
    bool hasClip = false;
    CRectangle clip;  // left, top, right, bottom
    bool textAntialias = false;
};
struct Pen {
    uint32_t argb = 0;
    float width = 1.0f;
};
struct Brush {
    uint32_t argb = 0;
};
struct Font {
    std::string family;  // the family actually used
    int32_t size = 0;
    FontStyle style = FontStyle::Regular;
};
}  // namespace gfx

class RasterBackend : public GraphicsBackend {
public:
    enum class Op {
        Startup,
        Shutdown,
        WindowDeviceContext,
        ReleaseWindowDeviceContext,
        CreateDeviceGraphics,
        CreateImageGraphics,
        DeleteGraphics,
        SetClip,
        CreatePen,
        SetPenWidth,
        SetPenColor,
        DeletePen,
        CreateSolidBrush,
        SetBrushColor,
        DeleteBrush,
        DrawLine,
        FillRectangle,
        DrawRectangle,
        CreateFont,
        DeleteFont,
        MeasureString,
        FontLineHeight,
        SetTextAntialias,
        DrawString,
        LoadImage,
        CreateImage,
        DeleteImage,
        DrawImage,
    };

    // One backend call: the object it acted on (graphics, pen, brush, font,
    // image; null where none), its numbers in argument order and its text.
    struct Call {
        Op op;
        const void* object = nullptr;
        std::vector<double> args;
        std::string text;
    };

    // The process's instance (the one graphicsBackend() answers).
    static RasterBackend& instance();

    // Forgets recorded calls, resources, windows and counters and restores
    // the known font families. Objects still alive stay valid.
    void reset();

    const std::vector<Call>& calls() const { return recorded; }
    void clearCalls() { recorded.clear(); }
    std::vector<Call> callsOf(Op op) const;
    size_t countOf(Op op) const;

    int32_t startupCount() const { return startups; }
    int32_t shutdownCount() const { return shutdowns; }
    bool isRunning() const { return running; }
    // Graphics, pens, brushes, fonts and images created and not yet deleted.
    int32_t liveObjects() const { return live; }

    void attachWindow(PlatformWindow window, RasterSurface* surface,
                      CPosition screenOrigin = CPosition(0, 0));
    void detachWindow(PlatformWindow window);

    void addImageResource(uint32_t number, const RasterSurface& pixels);
    void addImageResource(const std::string& name, const RasterSurface& pixels);
    void addUndecodableResource(uint32_t number);
    void addFontFamily(const std::string& name);
    void setGenericFamilyAvailable(bool available) { genericFamily = available; }

    // Text metrics of the stand-in (see the header comment).
    static float glyphAdvance(int32_t size) { return static_cast<float>(size) * 0.5f; }
    static float lineHeight(int32_t size) { return static_cast<float>(size) * 1.15f; }

    // GraphicsBackend
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

    // Source-over of one non-premultiplied ARGB pixel onto another.
    static uint32_t blend(uint32_t destination, uint32_t source);

private:
    RasterBackend();
    void record(Op op, const void* object, std::vector<double> args, std::string text = {});
    void plot(gfx::Graphics* g, int32_t x, int32_t y, uint32_t argb);
    void fillPixels(gfx::Graphics* g, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t argb);

    struct Resource {
        RasterSurface pixels;
        bool undecodable = false;
    };
    struct Window {
        RasterSurface* surface = nullptr;
        CPosition origin;
    };

    std::vector<Call> recorded;
    std::map<uint32_t, Resource> numberedResources;
    std::map<std::string, Resource> namedResources;
    std::map<PlatformWindow, Window> windows;
    std::vector<std::string> families;
    bool genericFamily = true;
    bool running = false;
    int32_t startups = 0;
    int32_t shutdowns = 0;
    int32_t live = 0;
    uintptr_t nextToken = 1;
};

}  // namespace toolkit

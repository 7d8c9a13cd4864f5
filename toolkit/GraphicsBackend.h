// The narrow 2-D graphics backend through which CDrawContext, CFontDesc,
// CBitmap, COffscreenContext and GDIPlusGlobals draw. Nothing else in the
// toolkit talks to the graphics library.
//
// One backend exists per build and graphicsBackend() answers it: the GDI+
// backend in the Windows build (platform/GdiplusBackend), the recording and
// rasterising stand-in natively (platform/RasterBackend). Both are provided
// by the tovra_toolkit_platform library.
//
// Conventions for every operation:
//  - Coordinates are surface pixels (the caller has already added its
//    offsets). Colours are 32-bit values alpha<<24 | red<<16 | green<<8 | blue.
//  - Text is NUL-terminated UTF-8; a backend whose library wants UTF-16
//    converts at its own boundary.
//  - A null handle argument makes an operation do nothing (or answer
//    false / null / 0); status codes of the library are not reported.
//  - Handles are owned by whoever created them and given back with the
//    matching delete operation; deleting null does nothing.
#pragma once

#include <cstdint>

#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CResourceDescription.h"
#include "toolkit/CRgba.h"
#include "toolkit/PlatformHandles.h"

namespace toolkit {

// Opaque objects of the graphics library. Each backend gives them meaning.
namespace gfx {
struct Graphics;  // a drawing surface bound to a device context or an image
struct Pen;       // solid line colour and width
struct Brush;     // solid fill colour
struct Font;      // a realised font face of one pixel size and style
struct Image;     // a 32-bit ARGB picture (decoded resource or empty surface)
}  // namespace gfx

// The single face style a platform font is created with.
enum class FontStyle : int32_t { Regular = 0, Bold = 1, Italic = 2, Underline = 4 };

class GraphicsBackend {
public:
    virtual ~GraphicsBackend();

    // Library lifetime. startup() answers a token that shutdown() takes
    // back; after shutdown no handle made before it may be used.
    virtual uintptr_t startup() = 0;
    virtual void shutdown(uintptr_t token) = 0;

    // Window surfaces: the device context of a window (given back with
    // releaseWindowDeviceContext) and the window's top-left on the screen
    // ((0, 0) when unknown).
    virtual PlatformDeviceContext windowDeviceContext(PlatformWindow window) = 0;
    virtual void releaseWindowDeviceContext(PlatformWindow window, PlatformDeviceContext dc) = 0;
    virtual CPosition windowScreenOrigin(PlatformWindow window) = 0;

    // Graphics objects. Both kinds interpolate at low quality and measure in
    // pixels; a device-context graphics also has no pixel offset and no
    // smoothing (anti-aliasing) of lines and fills. The clip starts unlimited.
    virtual gfx::Graphics* createDeviceGraphics(PlatformDeviceContext dc) = 0;
    virtual gfx::Graphics* createImageGraphics(gfx::Image* image) = 0;
    virtual void deleteGraphics(gfx::Graphics* graphics) = 0;
    // Replaces the clip by the rectangle (left, top, width, height).
    virtual void setClip(gfx::Graphics* graphics, const CRectangle& clip) = 0;

    // Pens are solid; width in pixels.
    virtual gfx::Pen* createPen(uint32_t argb, float width) = 0;
    virtual void setPenWidth(gfx::Pen* pen, float width) = 0;
    virtual void setPenColor(gfx::Pen* pen, uint32_t argb) = 0;
    virtual void deletePen(gfx::Pen* pen) = 0;

    virtual gfx::Brush* createSolidBrush(uint32_t argb) = 0;
    virtual void setBrushColor(gfx::Brush* brush, uint32_t argb) = 0;
    virtual void deleteBrush(gfx::Brush* brush) = 0;

    // A line between two pixel positions, both ends drawn.
    virtual void drawLine(gfx::Graphics* graphics, gfx::Pen* pen, int32_t x1, int32_t y1, int32_t x2,
                          int32_t y2) = 0;
    // Fills the w x h pixels whose top-left is (x, y).
    virtual void fillRectangle(gfx::Graphics* graphics, gfx::Brush* brush, float x, float y, float w,
                               float h) = 0;
    // Strokes the outline through (x, y) and (x + w, y + h), both included.
    virtual void drawRectangle(gfx::Graphics* graphics, gfx::Pen* pen, float x, float y, float w,
                               float h) = 0;

    // Fonts: family looked up by name (ASCII), falling back to the
    // library's generic sans-serif family; em size in pixels. Null when not
    // even the generic family can make the font.
    virtual gfx::Font* createFont(const char* name, int32_t pixelSize, FontStyle style) = 0;
    virtual void deleteFont(gfx::Font* font) = 0;
    // Width of the text's bounding box laid out from (0, 0) without limits;
    // false when nothing could be measured.
    virtual bool measureString(gfx::Graphics* graphics, gfx::Font* font, const char* utf8,
                               float& width) = 0;
    // Line height of the font at the graphics' vertical resolution.
    virtual float fontLineHeight(gfx::Graphics* graphics, gfx::Font* font) = 0;
    // true: ClearType grid-fitted text; false: the system's default.
    virtual void setTextAntialias(gfx::Graphics* graphics, bool antialias) = 0;
    // Draws the text with its layout box's top-left at (x, y), no size limit.
    virtual void drawString(gfx::Graphics* graphics, gfx::Font* font, gfx::Brush* brush,
                            const char* utf8, float x, float y) = 0;

    // Images. loadImage decodes the library module's "DATA" resource, or a
    // native bitmap resource of the same number or name when there is no
    // such data; null when neither exists. An undecodable resource gives an
    // image that reports no size.
    virtual gfx::Image* loadImage(const CResourceDescription& resource) = 0;
    // A new 32-bit ARGB surface, all pixels transparent black.
    virtual gfx::Image* createImage(int32_t width, int32_t height) = 0;
    // false (and 0 x 0) when the image cannot report its size.
    virtual bool imageSize(gfx::Image* image, int32_t& width, int32_t& height) = 0;
    virtual void deleteImage(gfx::Image* image) = 0;
    // Draws the w x h pixels of the image at (srcX, srcY) 1:1 to (dstX, dstY)
    // with the image's own alpha, multiplied by alpha / 255 when alpha < 255.
    virtual void drawImage(gfx::Graphics* graphics, gfx::Image* image, int32_t dstX, int32_t dstY,
                           int32_t w, int32_t h, int32_t srcX, int32_t srcY, uint8_t alpha) = 0;
};

// The build's backend; never null, lives for the whole process.
GraphicsBackend& graphicsBackend();

// Colour value handed to the backend: alpha<<24 | red<<16 | green<<8 | blue.
constexpr uint32_t toArgb(const CRgba& c) {
    return (static_cast<uint32_t>(c.alpha) << 24) | (static_cast<uint32_t>(c.red) << 16) |
           (static_cast<uint32_t>(c.green) << 8) | static_cast<uint32_t>(c.blue);
}

}  // namespace toolkit

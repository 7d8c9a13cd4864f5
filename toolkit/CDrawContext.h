// A drawing context: the only way toolkit code draws. It keeps the current
// pen, fill, font and colours, a clip rectangle and two offsets, and turns
// every call into calls of the graphics backend (GraphicsBackend.h).
//
// Coordinates passed in are in the caller's space; drawOffset is added to
// every one of them before use. penPosition and the stored clip are kept in
// surface coordinates (offset already added). Containers shift drawOffset
// and screenOffset while they draw their children and restore them after.
//
// A context without a surface (no device context and no window) keeps and
// reports its clip, colours and font but draws nothing and measures text as
// -1. Colour, line-width and clip changes reach the backend only when the
// value really changes; the font colour is always set.
//
// Lifetime: one drawing pass. Views must not keep a context. Settings are
// not reset between views: each view sets what it needs.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"
#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CRgba.h"
#include "toolkit/GraphicsBackend.h"
#include "toolkit/PlatformHandles.h"

namespace toolkit {

class CFrame;
class CFontDesc;

// Horizontal text alignment for drawStringInRect.
inline constexpr int32_t kAlignLeft = 0;
inline constexpr int32_t kAlignCenter = 1;
inline constexpr int32_t kAlignRight = 2;

class CDrawContext : public CBaseObject {
public:
    // frame: only sizes the initial clip (its view rectangle), may be null
    // (clip (0, 0, 1000, 1000)). dc: the surface; when null and a window is
    // given, the window's own device context is used (and given back when
    // the context dies). window: also gives screenOffset.
    CDrawContext(CFrame* frame, PlatformDeviceContext dc, PlatformWindow window);
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    ~CDrawContext() override;

    // The surface's position on the screen, and the origin added to every
    // coordinate passed in. Both (0, 0) at construction unless a window
    // gives screenOffset.
    CPosition screenOffset;
    CPosition drawOffset;

    // Clip: rect + drawOffset replaces the clip when it differs.
    void setClipRect(const CRectangle& rect);
    // The clip in the caller's space (stored clip - drawOffset).
    CRectangle clipRect() const;

    void moveTo(const CPosition& point);
    void lineTo(const CPosition& point);
    CPosition penPosition() const { return pen_position; }

    // Line width in pixels.
    void setLineWidth(int32_t width);
    int32_t lineWidth() const { return line_width; }

    void setFrameColor(const CRgba& color);
    CRgba frameColor() const { return frame_color; }
    void setFillColor(const CRgba& color);
    CRgba fillColor() const { return fill_color; }
    void setFontColor(const CRgba& color);
    CRgba fontColor() const { return font_color; }

    // Fills the (normalised) rectangle: fillRect((0, 0, 10, 10)) covers the
    // 10 x 10 pixels from (0, 0) to (9, 9).
    void fillRect(const CRectangle& rect);
    // Outlines it with the pen through (left, top) and (right - 1, bottom - 1).
    void frameRect(const CRectangle& rect);

    // size <= 0: the font's own size; style -1: the font's own style. Other
    // values make a private descriptor of that size/style. Null: no change.
    void setFont(CFontDesc* font, int32_t size = 0, int32_t style = -1);
    CFontDesc* font() const { return current_font; }

    // Width in pixels (truncated) of the text in the current font; -1 when
    // there is no text, font, surface or platform font.
    int32_t stringWidth(const char* utf8);
    // Draws the text so that point.y is its bottom line: it occupies the
    // font's line height h in pixels ending one pixel below point.y.
    void drawString(const char* utf8, const CPosition& point, bool antialias = true);
    // Draws the text vertically centred in rect, aligned left, centred or
    // right, clipped to rect (a text wider than rect is cut, not moved).
    void drawStringInRect(const char* utf8, const CRectangle& rect, int32_t alignment = kAlignCenter,
                          bool antialias = true);

    PlatformDeviceContext deviceContext() const { return device_context; }
    PlatformWindow window() const { return platform_window; }
    CFrame* frame() const { return owner_frame; }
    // The backend surface; null when the context has no surface.
    gfx::Graphics* graphics() const { return graphics_object; }

protected:
    // For COffscreenContext: draw into a graphics object of its own making
    // (owned from then on by this context).
    void adoptGraphics(gfx::Graphics* graphics);
    // Replaces the stored clip without consulting the backend.
    void resetClip(const CRectangle& surfaceClip) { clip = surfaceClip; }

private:
    PlatformDeviceContext device_context = nullptr;
    PlatformWindow platform_window = nullptr;
    CFrame* owner_frame = nullptr;
    CFontDesc* current_font = nullptr;
    CRgba font_color{0, 0, 0, 0};
    CPosition pen_position;
    int32_t line_width = 0;
    CRgba frame_color{0, 0, 0, 0};
    CRgba fill_color{0, 0, 0, 0};
    int32_t line_style = 1;
    int32_t draw_mode = 3;
    CRectangle clip;
    gfx::Graphics* graphics_object = nullptr;
    gfx::Pen* pen = nullptr;
    gfx::Brush* fill_brush = nullptr;
    gfx::Brush* font_brush = nullptr;
    // Device context fetched from the window, given back at destruction.
    PlatformDeviceContext window_dc = nullptr;
};

}  // namespace toolkit

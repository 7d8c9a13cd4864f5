#include "toolkit/CDrawContext.h"

#include "toolkit/CFontDesc.h"
#include "toolkit/CFrame.h"

namespace toolkit {

namespace {

CRectangle offsetBy(CRectangle r, const CPosition& by) { return r.offset(by.x, by.y); }

}  // namespace

CDrawContext::CDrawContext(CFrame* frame, PlatformDeviceContext dc, PlatformWindow window)
    : device_context(dc), platform_window(window), owner_frame(frame) {
    // The cached settings start at values no real setting has (see the
    // member initialisers), so the settings at the end all reach the backend.
    GraphicsBackend& backend = graphicsBackend();
    clip = frame ? frame->getViewRect() : CRectangle(0, 0, 1000, 1000);

    PlatformDeviceContext surface = dc;
    if (!surface && window) {
        window_dc = backend.windowDeviceContext(window);
        surface = window_dc;
    }
    if (surface) graphics_object = backend.createDeviceGraphics(surface);

    pen = backend.createPen(toArgb(kColorBlack), 1.0f);
    fill_brush = backend.createSolidBrush(toArgb(kColorBlack));
    font_brush = backend.createSolidBrush(toArgb(kColorBlack));

    if (window) screenOffset = backend.windowScreenOrigin(window);

    setFrameColor(kColorWhite);
    line_style = 0;  // solid: the pen is made solid
    setLineWidth(1);
    setFillColor(kColorBlack);
    setFontColor(kColorWhite);
    setFont(kDefaultFont, 0, -1);
    draw_mode = 0;  // copy: the device graphics draws without smoothing
}

CDrawContext::~CDrawContext() {
    GraphicsBackend& backend = graphicsBackend();
    if (current_font) current_font->release();
    current_font = nullptr;
    backend.deleteBrush(font_brush);
    backend.deleteBrush(fill_brush);
    backend.deletePen(pen);
    backend.deleteGraphics(graphics_object);
    // A surface borrowed from the window goes back once nothing draws on it.
    if (window_dc) backend.releaseWindowDeviceContext(platform_window, window_dc);
}

void CDrawContext::adoptGraphics(gfx::Graphics* graphics) {
    if (graphics_object == graphics) return;
    graphicsBackend().deleteGraphics(graphics_object);
    graphics_object = graphics;
}

void CDrawContext::setClipRect(const CRectangle& rect) {
    const CRectangle next = offsetBy(rect, drawOffset);
    if (next == clip) return;
    clip = next;
    if (graphics_object) graphicsBackend().setClip(graphics_object, clip);
}

CRectangle CDrawContext::clipRect() const { return offsetBy(clip, CPosition(-drawOffset.x, -drawOffset.y)); }

void CDrawContext::moveTo(const CPosition& point) {
    pen_position = CPosition(point.x + drawOffset.x, point.y + drawOffset.y);
}

void CDrawContext::lineTo(const CPosition& point) {
    const CPosition to(point.x + drawOffset.x, point.y + drawOffset.y);
    if (graphics_object && pen)
        graphicsBackend().drawLine(graphics_object, pen, pen_position.x, pen_position.y, to.x, to.y);
    pen_position = to;
}

void CDrawContext::setLineWidth(int32_t width) {
    if (width == line_width) return;
    line_width = width;
    if (pen) graphicsBackend().setPenWidth(pen, static_cast<float>(width));
}

void CDrawContext::setFrameColor(const CRgba& color) {
    if (color == frame_color) return;
    frame_color = color;
    if (pen) graphicsBackend().setPenColor(pen, toArgb(color));
}

void CDrawContext::setFillColor(const CRgba& color) {
    if (color == fill_color) return;
    fill_color = color;
    if (fill_brush) graphicsBackend().setBrushColor(fill_brush, toArgb(color));
}

void CDrawContext::setFontColor(const CRgba& color) {
    font_color = color;
    if (font_brush) graphicsBackend().setBrushColor(font_brush, toArgb(color));
}

namespace {

// The rectangle in surface coordinates with left <= right and top <= bottom.
CRectangle surfaceRect(const CRectangle& rect, const CPosition& offset) {
    CRectangle r = offsetBy(rect, offset);
    if (r.left > r.right) {
        const int32_t t = r.left;
        r.left = r.right;
        r.right = t;
    }
    if (r.top > r.bottom) {
        const int32_t t = r.top;
        r.top = r.bottom;
        r.bottom = t;
    }
    return r;
}

}  // namespace

void CDrawContext::fillRect(const CRectangle& rect) {
    if (!graphics_object || !fill_brush) return;
    const CRectangle r = surfaceRect(rect, drawOffset);
    graphicsBackend().fillRectangle(graphics_object, fill_brush, static_cast<float>(r.left),
                                    static_cast<float>(r.top), static_cast<float>(r.width()),
                                    static_cast<float>(r.height()));
}

void CDrawContext::frameRect(const CRectangle& rect) {
    if (!graphics_object || !pen) return;
    const CRectangle r = surfaceRect(rect, drawOffset);
    graphicsBackend().drawRectangle(graphics_object, pen, static_cast<float>(r.left),
                                    static_cast<float>(r.top), static_cast<float>(r.width() - 1),
                                    static_cast<float>(r.height() - 1));
}

void CDrawContext::setFont(CFontDesc* font, int32_t size, int32_t style) {
    if (!font) return;
    // Retain first: the new font may be the one being released.
    const bool ownSize = size <= 0 || size == font->size();
    const bool ownStyle = style == -1 || style == font->style();
    CFontDesc* next;
    if (ownSize && ownStyle) {
        font->retain();
        next = font;
    } else {
        next = new CFontDesc(font->name(), size > 0 ? size : font->size(),
                             style != -1 ? style : font->style());
    }
    if (current_font) current_font->release();
    current_font = next;
}

int32_t CDrawContext::stringWidth(const char* utf8) {
    if (!current_font || !utf8 || !graphics_object) return -1;
    gfx::Font* platformFont = current_font->platformFont();
    if (!platformFont) return -1;
    float width = 0.0f;
    if (!graphicsBackend().measureString(graphics_object, platformFont, utf8, width)) return -1;
    return static_cast<int32_t>(width);
}

void CDrawContext::drawString(const char* utf8, const CPosition& point, bool antialias) {
    if (!utf8 || !current_font || !graphics_object) return;
    gfx::Font* platformFont = current_font->platformFont();
    if (!platformFont || !font_brush) return;
    GraphicsBackend& backend = graphicsBackend();
    const int32_t x = point.x + drawOffset.x;
    const int32_t y = point.y + drawOffset.y;
    backend.setTextAntialias(graphics_object, antialias);
    const float lineHeight = backend.fontLineHeight(graphics_object, platformFont);
    // point.y is the bottom line: the text's h rows end one row below it.
    backend.drawString(graphics_object, platformFont, font_brush, utf8, static_cast<float>(x),
                       static_cast<float>(y) + 1.0f - lineHeight);
}

void CDrawContext::drawStringInRect(const char* utf8, const CRectangle& rect, int32_t alignment,
                                    bool antialias) {
    if (!utf8) return;
    const int32_t fontSize = current_font ? current_font->size() : 0;
    const int32_t y = rect.bottom + fontSize / 2 - (rect.bottom - rect.top) / 2 - 1;
    int32_t x = rect.left;
    if (alignment != kAlignLeft) {
        const int32_t w = stringWidth(utf8);
        if (alignment == kAlignRight) {
            x = rect.right - w;
        } else {
            x = static_cast<int32_t>(static_cast<float>(rect.right - rect.left) * 0.5f +
                                     static_cast<float>(rect.left) - static_cast<float>(w) * 0.5f);
        }
    }
    const CRectangle saved = clipRect();
    setClipRect(intersection(rect, saved));
    drawString(utf8, CPosition(x, y), antialias);
    setClipRect(saved);
}

}  // namespace toolkit

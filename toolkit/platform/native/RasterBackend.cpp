#include "toolkit/platform/native/RasterBackend.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace toolkit {

namespace {

int32_t toPixel(float v) { return static_cast<int32_t>(std::floor(v + 0.5f)); }

int32_t penPixels(float width) { return std::max(1, toPixel(width)); }

size_t codePoints(const char* utf8) {
    size_t n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p)
        if ((*p & 0xC0u) != 0x80u) ++n;
    return n;
}

using PixelSet = std::set<std::pair<int32_t, int32_t>>;

// The pixels of a line of n-pixel width from (x1, y1) to (x2, y2), ends
// included, with flat ends: the width spreads across the line's major axis.
void linePixels(PixelSet& out, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t n) {
    const int32_t lo = -(n / 2);
    const int32_t hi = lo + n - 1;
    const int32_t dx = std::abs(x2 - x1);
    const int32_t dy = -std::abs(y2 - y1);
    const bool mostlyHorizontal = dx >= -dy;
    const int32_t sx = x1 < x2 ? 1 : -1;
    const int32_t sy = y1 < y2 ? 1 : -1;
    int32_t err = dx + dy;
    int32_t x = x1;
    int32_t y = y1;
    for (;;) {
        for (int32_t o = lo; o <= hi; ++o) out.insert(mostlyHorizontal ? std::make_pair(x, y + o) : std::make_pair(x + o, y));
        if (x == x2 && y == y2) break;
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace

int32_t RasterSurface::count(uint32_t argb, const CRectangle& r) const {
    int32_t n = 0;
    for (int32_t y = std::max(0, r.top); y < std::min(height, r.bottom); ++y)
        for (int32_t x = std::max(0, r.left); x < std::min(width, r.right); ++x)
            if (pixel(x, y) == argb) ++n;
    return n;
}

RasterBackend::RasterBackend() { reset(); }

RasterBackend& RasterBackend::instance() {
    // Never destroyed: objects in static storage (the static fonts) may
    // still give back their handles while the process ends.
    static RasterBackend* backend = new RasterBackend();
    return *backend;
}

GraphicsBackend& graphicsBackend() { return RasterBackend::instance(); }

void RasterBackend::reset() {
    recorded.clear();
    numberedResources.clear();
    namedResources.clear();
    windows.clear();
    families = {"Arial", "Symbol"};
    genericFamily = true;
    startups = 0;
    shutdowns = 0;
}

std::vector<RasterBackend::Call> RasterBackend::callsOf(Op op) const {
    std::vector<Call> out;
    for (const Call& c : recorded)
        if (c.op == op) out.push_back(c);
    return out;
}

size_t RasterBackend::countOf(Op op) const {
    return static_cast<size_t>(
        std::count_if(recorded.begin(), recorded.end(), [op](const Call& c) { return c.op == op; }));
}

void RasterBackend::record(Op op, const void* object, std::vector<double> args, std::string text) {
    recorded.push_back(Call{op, object, std::move(args), std::move(text)});
}

void RasterBackend::attachWindow(PlatformWindow window, RasterSurface* surface, CPosition origin) {
    windows[window] = Window{surface, origin};
}

void RasterBackend::detachWindow(PlatformWindow window) { windows.erase(window); }

void RasterBackend::addImageResource(uint32_t number, const RasterSurface& pixels) {
    numberedResources[number & 0xFFFFu] = Resource{pixels, false};
}

void RasterBackend::addImageResource(const std::string& name, const RasterSurface& pixels) {
    namedResources[name] = Resource{pixels, false};
}

void RasterBackend::addUndecodableResource(uint32_t number) {
    numberedResources[number & 0xFFFFu] = Resource{RasterSurface(), true};
}

void RasterBackend::addFontFamily(const std::string& name) { families.push_back(name); }

uint32_t RasterBackend::blend(uint32_t d, uint32_t s) {
    const uint32_t sa = s >> 24;
    if (sa == 255) return s;
    if (sa == 0) return d;
    const uint32_t da = d >> 24;
    const uint32_t destWeight = da * (255 - sa);         // scaled by 255
    const uint32_t outA255 = sa * 255 + destWeight;     // out alpha x 255
    const uint32_t outA = (outA255 + 127) / 255;
    uint32_t out = outA << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFFu;
        const uint32_t dc = (d >> shift) & 0xFFu;
        const uint32_t c = (sc * sa * 255 + dc * destWeight + outA255 / 2) / outA255;
        out |= std::min<uint32_t>(c, 255) << shift;
    }
    return out;
}

void RasterBackend::plot(gfx::Graphics* g, int32_t x, int32_t y, uint32_t argb) {
    RasterSurface* s = g->target;
    if (!s || !s->contains(x, y)) return;
    if (g->hasClip && (x < g->clip.left || x >= g->clip.right || y < g->clip.top || y >= g->clip.bottom))
        return;
    uint32_t& p = s->pixels[static_cast<size_t>(y) * s->width + x];
    p = blend(p, argb);
}

void RasterBackend::fillPixels(gfx::Graphics* g, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                               uint32_t argb) {
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x) plot(g, x, y, argb);
}

uintptr_t RasterBackend::startup() {
    running = true;
    ++startups;
    const uintptr_t token = nextToken++;
    record(Op::Startup, nullptr, {static_cast<double>(token)});
    return token;
}

void RasterBackend::shutdown(uintptr_t token) {
    running = false;
    ++shutdowns;
    record(Op::Shutdown, nullptr, {static_cast<double>(token)});
}

PlatformDeviceContext RasterBackend::windowDeviceContext(PlatformWindow window) {
    auto it = windows.find(window);
    RasterSurface* surface = it == windows.end() ? nullptr : it->second.surface;
    record(Op::WindowDeviceContext, window, {});
    return surface;
}

void RasterBackend::releaseWindowDeviceContext(PlatformWindow window, PlatformDeviceContext dc) {
    record(Op::ReleaseWindowDeviceContext, window, {}, {});
    (void)dc;
}

CPosition RasterBackend::windowScreenOrigin(PlatformWindow window) {
    auto it = windows.find(window);
    return it == windows.end() ? CPosition(0, 0) : it->second.origin;
}

gfx::Graphics* RasterBackend::createDeviceGraphics(PlatformDeviceContext dc) {
    if (!dc) return nullptr;
    auto* g = new gfx::Graphics();
    g->target = static_cast<RasterSurface*>(dc);
    g->deviceSurface = true;
    ++live;
    record(Op::CreateDeviceGraphics, g, {});
    return g;
}

gfx::Graphics* RasterBackend::createImageGraphics(gfx::Image* image) {
    if (!image) return nullptr;
    auto* g = new gfx::Graphics();
    g->target = image;
    ++live;
    record(Op::CreateImageGraphics, g, {});
    return g;
}

void RasterBackend::deleteGraphics(gfx::Graphics* g) {
    if (!g) return;
    record(Op::DeleteGraphics, g, {});
    --live;
    delete g;
}

void RasterBackend::setClip(gfx::Graphics* g, const CRectangle& clip) {
    if (!g) return;
    record(Op::SetClip, g, {double(clip.left), double(clip.top), double(clip.width()), double(clip.height())});
    g->hasClip = true;
    g->clip = clip;
}

gfx::Pen* RasterBackend::createPen(uint32_t argb, float width) {
    auto* p = new gfx::Pen{argb, width};
    ++live;
    record(Op::CreatePen, p, {double(argb), double(width)});
    return p;
}

void RasterBackend::setPenWidth(gfx::Pen* p, float width) {
    if (!p) return;
    record(Op::SetPenWidth, p, {double(width)});
    p->width = width;
}

void RasterBackend::setPenColor(gfx::Pen* p, uint32_t argb) {
    if (!p) return;
    record(Op::SetPenColor, p, {double(argb)});
    p->argb = argb;
}

void RasterBackend::deletePen(gfx::Pen* p) {
    if (!p) return;
    record(Op::DeletePen, p, {});
    --live;
    delete p;
}

gfx::Brush* RasterBackend::createSolidBrush(uint32_t argb) {
    auto* b = new gfx::Brush{argb};
    ++live;
    record(Op::CreateSolidBrush, b, {double(argb)});
    return b;
}

void RasterBackend::setBrushColor(gfx::Brush* b, uint32_t argb) {
    if (!b) return;
    record(Op::SetBrushColor, b, {double(argb)});
    b->argb = argb;
}

void RasterBackend::deleteBrush(gfx::Brush* b) {
    if (!b) return;
    record(Op::DeleteBrush, b, {});
    --live;
    delete b;
}

void RasterBackend::drawLine(gfx::Graphics* g, gfx::Pen* p, int32_t x1, int32_t y1, int32_t x2,
                             int32_t y2) {
    if (!g || !p) return;
    record(Op::DrawLine, g, {double(x1), double(y1), double(x2), double(y2)});
    PixelSet pixels;
    linePixels(pixels, x1, y1, x2, y2, penPixels(p->width));
    for (const auto& xy : pixels) plot(g, xy.first, xy.second, p->argb);
}

void RasterBackend::fillRectangle(gfx::Graphics* g, gfx::Brush* b, float x, float y, float w, float h) {
    if (!g || !b) return;
    record(Op::FillRectangle, g, {x, y, w, h});
    if (w <= 0.0f || h <= 0.0f) return;
    fillPixels(g, toPixel(x), toPixel(y), toPixel(x + w), toPixel(y + h), b->argb);
}

void RasterBackend::drawRectangle(gfx::Graphics* g, gfx::Pen* p, float x, float y, float w, float h) {
    if (!g || !p) return;
    record(Op::DrawRectangle, g, {x, y, w, h});
    if (w < 0.0f || h < 0.0f) return;
    const int32_t l = toPixel(x), t = toPixel(y), r = toPixel(x + w), b = toPixel(y + h);
    const int32_t n = penPixels(p->width);
    const int32_t lo = -(n / 2);
    const int32_t hi = lo + n - 1;
    PixelSet pixels;
    // The horizontal edges reach over the corners so that wide pens join.
    linePixels(pixels, l + lo, t, r + hi, t, n);
    linePixels(pixels, l + lo, b, r + hi, b, n);
    linePixels(pixels, l, t, l, b, n);
    linePixels(pixels, r, t, r, b, n);
    for (const auto& xy : pixels) plot(g, xy.first, xy.second, p->argb);
}

gfx::Font* RasterBackend::createFont(const char* name, int32_t pixelSize, FontStyle style) {
    const std::string requested = name ? name : "";
    std::string family;
    if (std::find(families.begin(), families.end(), requested) != families.end())
        family = requested;
    else if (genericFamily)
        family = "Sans Serif";
    gfx::Font* f = nullptr;
    if (!family.empty() && pixelSize > 0) {
        f = new gfx::Font{family, pixelSize, style};
        ++live;
    }
    record(Op::CreateFont, f, {double(pixelSize), double(static_cast<int32_t>(style))}, requested);
    return f;
}

void RasterBackend::deleteFont(gfx::Font* f) {
    if (!f) return;
    record(Op::DeleteFont, f, {});
    --live;
    delete f;
}

bool RasterBackend::measureString(gfx::Graphics* g, gfx::Font* f, const char* utf8, float& width) {
    if (!g || !f || !utf8) return false;
    width = static_cast<float>(codePoints(utf8)) * glyphAdvance(f->size);
    record(Op::MeasureString, g, {width}, utf8);
    return true;
}

float RasterBackend::fontLineHeight(gfx::Graphics* g, gfx::Font* f) {
    if (!g || !f) return 0.0f;
    const float h = lineHeight(f->size);
    record(Op::FontLineHeight, g, {h});
    return h;
}

void RasterBackend::setTextAntialias(gfx::Graphics* g, bool antialias) {
    if (!g) return;
    record(Op::SetTextAntialias, g, {antialias ? 1.0 : 0.0});
    g->textAntialias = antialias;
}

void RasterBackend::drawString(gfx::Graphics* g, gfx::Font* f, gfx::Brush* b, const char* utf8, float x,
                               float y) {
    if (!g || !f || !b || !utf8) return;
    record(Op::DrawString, g, {x, y}, utf8);
    const float advance = glyphAdvance(f->size);
    const int32_t top = toPixel(y);
    const int32_t bottom = toPixel(y + lineHeight(f->size));
    size_t index = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
        if ((*p & 0xC0u) == 0x80u) continue;  // continuation byte of the same code point
        if (*p != ' ') {
            const int32_t left = toPixel(x + static_cast<float>(index) * advance);
            const int32_t right = toPixel(x + static_cast<float>(index + 1) * advance) - 1;
            fillPixels(g, left, top, right, bottom, b->argb);
        }
        ++index;
    }
}

gfx::Image* RasterBackend::loadImage(const CResourceDescription& resource) {
    const Resource* found = nullptr;
    std::string label;
    if (resource.isNumber()) {
        auto it = numberedResources.find(resource.resourceNumber());
        if (it != numberedResources.end()) found = &it->second;
        label = std::to_string(resource.resourceNumber());
    } else if (resource.name) {
        auto it = namedResources.find(resource.name);
        if (it != namedResources.end()) found = &it->second;
        label = resource.name;
    }
    gfx::Image* image = nullptr;
    if (found) {
        image = new gfx::Image();
        static_cast<RasterSurface&>(*image) = found->pixels;
        image->undecodable = found->undecodable;
        ++live;
    }
    record(Op::LoadImage, image, {}, label);
    return image;
}

gfx::Image* RasterBackend::createImage(int32_t width, int32_t height) {
    gfx::Image* image = nullptr;
    if (width > 0 && height > 0) {
        image = new gfx::Image(width, height, 0u);
        ++live;
    }
    record(Op::CreateImage, image, {double(width), double(height)});
    return image;
}

bool RasterBackend::imageSize(gfx::Image* image, int32_t& width, int32_t& height) {
    width = height = 0;
    if (!image || image->undecodable) return false;
    width = image->width;
    height = image->height;
    return true;
}

void RasterBackend::deleteImage(gfx::Image* image) {
    if (!image) return;
    record(Op::DeleteImage, image, {});
    --live;
    delete image;
}

void RasterBackend::drawImage(gfx::Graphics* g, gfx::Image* image, int32_t dstX, int32_t dstY, int32_t w,
                              int32_t h, int32_t srcX, int32_t srcY, uint8_t alpha) {
    if (!g || !image) return;
    record(Op::DrawImage, image,
           {double(dstX), double(dstY), double(w), double(h), double(srcX), double(srcY), double(alpha)});
    if (image->undecodable) return;
    for (int32_t dy = 0; dy < h; ++dy) {
        for (int32_t dx = 0; dx < w; ++dx) {
            if (!image->contains(srcX + dx, srcY + dy)) continue;
            const uint32_t p = image->pixel(srcX + dx, srcY + dy);
            uint32_t a = p >> 24;
            if (alpha < 255) a = (a * alpha + 127) / 255;
            plot(g, dstX + dx, dstY + dy, (a << 24) | (p & 0x00FFFFFFu));
        }
    }
}

}  // namespace toolkit

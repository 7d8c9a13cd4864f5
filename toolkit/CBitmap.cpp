#include "toolkit/CBitmap.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/GDIPlusGlobals.h"

namespace toolkit {

CBitmap::CBitmap(const CResourceDescription& description) : resource(description) {
    acquireGraphicsLibrary();
    loadFromResource(description);
}

CBitmap::CBitmap(int32_t width, int32_t height)
    : resource(CResourceDescription::empty()), image_width(width), image_height(height) {
    acquireGraphicsLibrary();
    image = graphicsBackend().createImage(width, height);
    // A surface the library could not make is an empty bitmap, not one that
    // claims a size it cannot draw.
    if (!image) image_width = image_height = 0;
}

CBitmap::~CBitmap() {
    dispose();
    releaseGraphicsLibrary();
}

void CBitmap::draw(CDrawContext* context, const CRectangle& dest, const CPosition& sourceOffset) {
    drawAlphaBlend(context, dest, sourceOffset, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRectangle& dest,
                              const CPosition& sourceOffset) {
    drawAlphaBlend(context, dest, sourceOffset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRectangle& dest,
                             const CPosition& sourceOffset, uint8_t alpha) {
    if (!image || !context || !context->graphics()) return;
    const int32_t w = dest.right - dest.left;
    const int32_t h = dest.bottom - dest.top;
    if (w <= 0 || h <= 0) return;
    const CPosition& offset = context->drawOffset;
    graphicsBackend().drawImage(context->graphics(), image, dest.left + offset.x, dest.top + offset.y,
                                w, h, sourceOffset.x, sourceOffset.y, alpha);
}

void CBitmap::dispose() {
    graphicsBackend().deleteImage(image);
    image = nullptr;
    image_width = 0;
    image_height = 0;
}

bool CBitmap::loadFromResource(const CResourceDescription& description) {
    dispose();
    image = graphicsBackend().loadImage(description);
    if (!image) return false;
    int32_t w = 0;
    int32_t h = 0;
    if (!graphicsBackend().imageSize(image, w, h) || w < 0 || h < 0) w = h = 0;
    image_width = w;
    image_height = h;
    return true;
}

bool CBitmap::loadUnsupported(const void*) {
    dispose();
    return false;
}

}  // namespace toolkit

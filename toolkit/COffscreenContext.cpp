#include "toolkit/COffscreenContext.h"

#include "toolkit/CBitmap.h"

namespace toolkit {

COffscreenContext::COffscreenContext(CFrame* frame, int32_t width, int32_t height, const CRgba&)
    : CDrawContext(frame, nullptr, nullptr), surface_height(height), surface_width(width) {
    resetClip(CRectangle(0, 0, width, height).normalise());
    surface_bitmap = new CBitmap(width, height);
    adoptGraphics(graphicsBackend().createImageGraphics(surface_bitmap->platformBitmap()));
}

COffscreenContext::~COffscreenContext() {
    // The graphics object draws into the bitmap: it must go first.
    adoptGraphics(nullptr);
    if (surface_bitmap) surface_bitmap->release();
    surface_bitmap = nullptr;
}

void COffscreenContext::copyTo(CDrawContext* destination, const CRectangle& dest,
                               const CPosition& sourceOffset) {
    if (surface_bitmap) surface_bitmap->draw(destination, dest, sourceOffset);
}

}  // namespace toolkit

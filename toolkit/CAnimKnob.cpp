#include "toolkit/CAnimKnob.h"

#include <cstring>

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/SaturatingCast.h"

namespace toolkit {

CAnimKnob::CAnimKnob(const CRectangle& size, CControlListener* l, int32_t t, int32_t count,
                     int32_t height, CBitmap* bg, const CPosition& bgOffset)
    : CKnob(size, l, t, bg, bgOffset) {
    frameCount = count;
    frameHeight = height;
    countFramesFromImage();
    handleInset = 0;
}

CAnimKnob::CAnimKnob(const CAnimKnob& other)
    : CKnob(other), IMultiBitmapControl(other), lastDrawnPoint(0, 0) {
    countFramesFromImage();
}

CView* CAnimKnob::clone() const { return new CAnimKnob(*this); }

void CAnimKnob::countFramesFromImage() {
    if (backgroundBitmap && frameHeight != 0)
        frameCount = static_cast<int16_t>(backgroundBitmap->height() / frameHeight);
}

void CAnimKnob::setFrameHeight(int32_t height) {
    frameHeight = height;
    countFramesFromImage();
}

bool CAnimKnob::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CAnimKnob") == 0) return true;
    return CKnob::isKindOf(className);
}

bool CAnimKnob::isDirty() const {
    if (!CView::isDirty() && handlePoint() == lastDrawnPoint) return false;
    return CControl::isDirty();
}

int32_t CAnimKnob::stripOffsetForValue() const {
    // Without a positive frame height there are no frames to step through.
    if (!(value >= 0.0f) || frameHeight <= 0) return 0;
    const int64_t last = (static_cast<int64_t>(frameCount) - 1) * frameHeight;
    int32_t y = truncateToInt32(value * static_cast<float>(last));
    // Snap down to the top of the frame that holds y (the first multiple of
    // frameHeight above y, minus one frame); at or beyond the last frame's
    // top, and for a strip without frames, y stays as computed.
    if (last > 0 && y < last) y = static_cast<int32_t>(y / frameHeight * frameHeight);
    return y;
}

void CAnimKnob::draw(CDrawContext* context) {
    const int32_t y = stripOffsetForValue();
    if (backgroundBitmap) {
        if (transparent)
            backgroundBitmap->drawTransparent(context, viewRect, CPosition(0, y));
        else
            backgroundBitmap->draw(context, viewRect, CPosition(0, y));
    }
    lastDrawnPoint = handlePoint();
    setDirty(false);
}

}  // namespace toolkit

// CAnimKnob: a knob that shows one frame of a vertical film strip (its
// background image) instead of drawing a pointer.
//
// Frame choice for value v, t = (frameCount - 1) * frameHeight:
//   v >= 0   y = trunc(v * t) snapped down to a multiple of frameHeight; at or
//            beyond t it stays as computed (so 1.0 shows the last frame)
//   v < 0    y = 0 (NaN too)
// i.e. frame floor(v * (frameCount - 1)) for 0..1. With 97 frames of 40
// pixels: 0.5 -> y 1920 (frame 48), 0.999 -> 3800 (frame 95),
// 1.0 -> 3840 (frame 96), -0.1 -> 0. A frame height of 0 or less shows the
// top of the strip.
//
// Dirty test: a value change that does not move the (virtual) pointer by a
// whole pixel is not redrawn:
//   dirty flag clear and handle point == point at last draw -> clean
//   otherwise                                  -> oldValue != value or flag
// With 40-pixel knobs (radius 20, inset 0) the point moves about one pixel
// per hundredth of the range.
//
// When constructed with an image and a non-zero frame height (and whenever
// setFrameHeight gets one), frameCount becomes image height / frameHeight
// (the quotient truncated to 16 bits), whatever count was passed. The handle
// inset is 0.
#pragma once

#include <cstdint>

#include "toolkit/CKnob.h"
#include "toolkit/IMultiBitmapControl.h"

namespace toolkit {

class CAnimKnob : public CKnob, public IMultiBitmapControl {
public:
    CAnimKnob(const CRectangle& size, CControlListener* listener, int32_t tag, int32_t frameCount,
              int32_t frameHeight, CBitmap* background,
              const CPosition& backgroundOffset = CPosition(0, 0));

    void draw(CDrawContext* context) override;
    bool isDirty() const override;
    // True for "CAnimKnob" and "CKnob", otherwise as CControl.
    bool isKindOf(const char* className) const override;
    CView* clone() const override;
    void setFrameHeight(int32_t height) override;

    // Source y offset into the strip for the current value.
    int32_t stripOffsetForValue() const;
    const CPosition& getLastDrawnPoint() const { return lastDrawnPoint; }

protected:
    CAnimKnob(const CAnimKnob& other);

    void countFramesFromImage();

    CPosition lastDrawnPoint;
};

}  // namespace toolkit

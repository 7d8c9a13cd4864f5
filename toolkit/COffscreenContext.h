// A drawing context whose surface is a private width x height ARGB bitmap
// (all pixels transparent black at the start), drawn into like any other
// context (origin = the bitmap's top-left) and later copied into another
// context in one step with copyTo.
//
// The background colour is accepted for the callers' sake and has no effect
// on drawing. Width or height <= 0 gives a context with an empty clip whose
// drawing reaches no pixels.
#pragma once

#include <cstdint>

#include "toolkit/CDrawContext.h"
#include "toolkit/CRgba.h"

namespace toolkit {

class CBitmap;
class CFrame;

class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(CFrame* frame, int32_t width, int32_t height,
                      const CRgba& background = kColorBlack);
    ~COffscreenContext() override;

    // Draws the bitmap into dest (dest's coordinates, the destination's
    // offset applied) starting at sourceOffset of the bitmap.
    void copyTo(CDrawContext* destination, const CRectangle& dest,
                const CPosition& sourceOffset = CPosition(0, 0));

    CBitmap* bitmap() const { return surface_bitmap; }
    int32_t width() const { return surface_width; }
    int32_t height() const { return surface_height; }

private:
    CBitmap* surface_bitmap = nullptr;
    int32_t surface_height = 0;
    int32_t surface_width = 0;
};

}  // namespace toolkit

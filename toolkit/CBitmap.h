// A picture loaded from the library's embedded resources (or an empty
// 32-bit ARGB surface) that draws rectangular parts of itself 1:1 into a
// drawing context, optionally with a global opacity.
//
// A film strip is drawn one frame at a time: the destination rectangle is
// the control's, the source offset the frame's top-left in the strip.
//
// Every bitmap holds the graphics library running (GDIPlusGlobals) from
// construction to destruction. A missing resource leaves a 0 x 0 bitmap that
// draws nothing; undecodable data leaves an image that reports no size
// (also 0 x 0, drawing has no effect).
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"
#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CResourceDescription.h"
#include "toolkit/GraphicsBackend.h"

namespace toolkit {

class CDrawContext;

class CBitmap : public CBaseObject {
public:
    // Loads the resource (result not reported: check width/height).
    explicit CBitmap(const CResourceDescription& resource);
    // An empty surface of width x height pixels, all transparent black.
    CBitmap(int32_t width, int32_t height);
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    ~CBitmap() override;

    // Draws the part of the image at sourceOffset, of the size of dest, into
    // dest (caller's coordinates of the context). draw and drawTransparent
    // are the same: images carry their own alpha.
    virtual void draw(CDrawContext* context, const CRectangle& dest,
                      const CPosition& sourceOffset = CPosition(0, 0));
    virtual void drawTransparent(CDrawContext* context, const CRectangle& dest,
                                 const CPosition& sourceOffset = CPosition(0, 0));
    // As draw, with the image's alpha multiplied by alpha / 255.
    virtual void drawAlphaBlend(CDrawContext* context, const CRectangle& dest,
                                const CPosition& sourceOffset, uint8_t alpha);
    // Deletes the image; 0 x 0 until loaded again.
    virtual void dispose();
    // false when the resource is neither embedded data nor a native bitmap.
    virtual bool loadFromResource(const CResourceDescription& resource);
    // Not supported: disposes and answers false.
    virtual bool loadUnsupported(const void* source);

    int32_t width() const { return image_width; }
    int32_t height() const { return image_height; }
    const CResourceDescription& resourceDescription() const { return resource; }
    // The backend image; null when none is held.
    gfx::Image* platformBitmap() const { return image; }

private:
    CResourceDescription resource;
    int32_t image_width = 0;
    int32_t image_height = 0;
    gfx::Image* image = nullptr;
};

}  // namespace toolkit

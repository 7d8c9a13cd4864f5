// IMultiBitmapControl: a control drawn from an image holding `frameCount`
// equal frames of `frameHeight` pixels stacked vertically, frame 0 on top.
//
// setFrameHeight here only stores the height (implementers may also derive
// the count from their image); autoComputeFrameHeight takes the height of
// the object's view rectangle, when the object is a view, and leaves the
// count alone.
#pragma once

#include <cstdint>

namespace toolkit {

class IMultiBitmapControl {
public:
    virtual ~IMultiBitmapControl() = default;

    virtual void setFrameHeight(int32_t height) { frameHeight = height; }
    virtual int32_t getFrameHeight() const { return frameHeight; }
    virtual void autoComputeFrameHeight();

    int32_t getFrameCount() const { return frameCount; }

protected:
    int32_t frameHeight = 0;
    int32_t frameCount = 0;
};

}  // namespace toolkit

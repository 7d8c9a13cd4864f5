// CKnob: the rotary control. Its value maps linearly onto an angle of the
// circle inscribed in the view; the user changes it by dragging (linear or
// circular), with the mouse wheel or with the arrow keys.
//
// Angles are float radians, counter-clockwise from "pointing right", up
// positive. Defaults: startAngle 5pi/4 (lower left) holds minValue,
// rangeAngle -3pi/2 sweeps clockwise to maxValue at the lower right; the dead
// wedge (2 * halfGapAngle = pi/2) is the bottom quarter. With range 0..1:
// valuePerRadian = -1/(1.5pi), valueAtAngleZero = 5/6. The coefficients are
// recomputed only by setStartAngle/setRangeAngle (each also marks the knob
// dirty); later setMin/setMax do not update them.
//
// Geometry: radius = view width / 2, centre (radius, radius) from the view's
// top-left. Points passed to handlePointForValue/valueForPoint are relative
// to the view's top-left. 40-pixel knob, inset 0, range 0..1:
//   value 0 -> (6, 34)   0.25 -> (2, 12)   0.5 -> (20, 0)
//   0.75 -> (38, 12)     1 -> (34, 34)
// valueForPoint splits the dead wedge at straight down: (19, 39) -> 0,
// (21, 39) -> 1.
//
// Drag mode, decided at every mouse-down from the frame's knobMode():
//   linear   when the left button is held and exactly one of
//            (knobMode == 2, Alt held) is true
//   circular otherwise (knob mode 2 + Alt, or another mode without Alt)
//
// Gesture table (w = where, buttons b; "notify" = listener.valueChanged):
//   event          value                                   dirty / redraw       notify order
//   mouseDown      linear: unchanged until the mouse moves; (circular: see      beginEdit first
//                  circular: jumps to valueForPoint(w)      mouseMoved)
//   mouseDown 0x22 defaultValue (0.5)                       next idle           begin, begin,
//   (Ctrl+left)    answer kMouseHandledNoTracking                               [changed], end, end
//   mouseMoved     linear: d = (first.y - w.y) + (w.x -     invalidate() at     changed if
//                  first.x); value = d * valuePerPixel +    once when dirty     value != oldValue
//                  entryValue, clamped. valuePerPixel =
//                  range / 200, or / 300 with Shift
//                  (fineFactor 1.5). A change of the
//                  button word rebases entryValue so the
//                  value is continuous: only the speed
//                  changes.
//                  circular: value = valueForPoint(w), but
//                  pinned at max (or min) while the pointer
//                  is more than half the range below (above)
//                  the last accepted value.
//   mouseMoved     without the left button, or at the last  nothing             none
//                  point: nothing
//   mouseUp        unchanged                                -                   endEdit
//   wheel(dist)    += wheelStep * dist (* 0.1 with Shift),  next idle           if dirty: begin,
//                  clamped; false when mouse disabled                           changed, end
//   keyDown        virtual 12 up / 13 right: +wheelStep;    next idle           if dirty: begin,
//                  11 left / 14 down: -wheelStep; * 0.1                         changed, end
//                  with modifier bit 0x1 (Shift); clamped;
//                  other keys: -1 (not handled)
//
// Drawing: the background image (if any) at `backgroundOffset`, then the
// pointer: two lines (shadow one pixel left, handle colour one pixel up) from
// the handle point to the view centre, or the handle image centred on the
// handle point.
#pragma once

#include <cstdint>

#include "toolkit/CControl.h"
#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CRgba.h"

namespace toolkit {

class CBitmap;
class CDrawContext;

// Virtual key codes of the host's key record that the knob reacts to.
inline constexpr uint8_t kVirtualKeyLeft = 11;
inline constexpr uint8_t kVirtualKeyUp = 12;
inline constexpr uint8_t kVirtualKeyRight = 13;
inline constexpr uint8_t kVirtualKeyDown = 14;

// The knob mode value that makes plain drags linear.
inline constexpr int32_t kLinearKnobMode = 2;

class CKnob : public CControl {
public:
    CKnob(const CRectangle& size, CControlListener* listener, int32_t tag, CBitmap* background,
          const CPosition& backgroundOffset = CPosition(0, 0));
    ~CKnob() override;

    void draw(CDrawContext* context) override;
    MouseResult mouseDown(CPosition where, int32_t buttons) override;
    MouseResult mouseUp(CPosition where, int32_t buttons) override;
    MouseResult mouseMoved(CPosition where, int32_t buttons) override;
    bool wheel(CPosition where, float distance, int32_t buttons) override;
    int32_t keyDown(VstKeyCode& key) override;
    // True for "CKnob", otherwise as CControl.
    bool isKindOf(const char* className) const override;
    CView* clone() const override;

    virtual void setStartAngle(float a);
    virtual float getStartAngle() const;
    virtual void setRangeAngle(float a);
    virtual float getRangeAngle() const;
    // Pointer position for the current value, relative to the view's top-left.
    virtual void handlePointForValue(CPosition& point) const;
    // Value for a position relative to the view's top-left; always within
    // [minValue, maxValue] for a valid map.
    virtual float valueForPoint(const CPosition& point) const;
    virtual int32_t getHandleInset() const;
    virtual void setHandleInset(int32_t n);
    virtual CRgba getHandleShadowColor() const;
    virtual void setHandleShadowColor(const CRgba& c);
    virtual CRgba getHandleColor() const;
    virtual void setHandleColor(const CRgba& c);
    virtual CBitmap* getHandleImage() const;
    // Retains the new image, releases the old one; a non-null image sets
    // handleInset to trunc(width * 0.5 + 2.5). No redraw.
    virtual void setHandleImage(CBitmap* image);
    virtual void setFineFactor(float f);
    virtual float getFineFactor() const;
    virtual void drawHandle(CDrawContext* context);

    const CPosition& getBackgroundOffset() const { return backgroundOffset; }
    float getHalfGapAngle() const { return halfGapAngle; }
    float getValuePerRadian() const { return valuePerRadian; }
    float getValueAtAngleZero() const { return valueAtAngleZero; }

protected:
    // Every setting copied, gesture state zeroed, back offset (0, 0), one
    // more reference on the handle image.
    CKnob(const CKnob& other);

    void compute();
    CPosition handlePoint() const;
    CPosition toLocal(const CPosition& where) const;

    CPosition backgroundOffset;
    CRgba handleColor = kColorWhite;
    CRgba handleShadowColor = kColorGrey;
    CBitmap* handleImage = nullptr;
    int32_t handleInset = 3;
    float startAngle = 0.0f;
    float rangeAngle = 0.0f;
    float halfGapAngle = 0.0f;
    float valuePerRadian = 0.0f;
    float valueAtAngleZero = 0.0f;
    float radius = 0.0f;
    float fineFactor = 1.5f;

    // Gesture state, from mouse-down to mouse-up.
    CPosition firstPoint;
    CPosition lastPoint;
    float startValue = 0.0f;
    float entryValue = 0.0f;
    float dragRange = 0.0f;
    float valuePerPixel = 0.0f;
    int32_t lastButtons = 0;
    bool linearDrag = false;
};

}  // namespace toolkit

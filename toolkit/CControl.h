// CControl: base of every view that carries a value the user can change
// (knobs, the on/off button, the value display).
//
// A control holds one float `value` between `minValue` and `maxValue`
// (default 0..1), a `defaultValue` (0.5) restored by a Control+left click,
// an integer `tag` telling its owner which parameter it stands for (the
// editor uses the parameter index), and a listener it does not own.
// `setValue` is a plain store: no clamping, no notification, no redraw
// request; only user gestures clamp (clampValue). Out-of-range and NaN values
// are kept as they are until then.
//
// Dirty state combines the view's dirty flag with the value last drawn
// (`oldValue`, 1.0 at construction):
//   isDirty()        oldValue != value (any NaN counts as different) or flag
//   setDirty(true)   flag set; oldValue := -1.0, or 0.0 when value is -1.0
//   setDirty(false)  flag cleared; oldValue := value
// Every control's draw ends with setDirty(false). So writing a new value from
// any thread is enough for the frame's idle pass to repaint the control.
//
// Gesture bracket (listener first on the way in, last on the way out):
//   beginEdit()  listener.editStarted; frame.setFocusView(this); frame.beginEdit(tag)
//   endEdit()    frame.endEdit(tag); listener.editEnded
// Without a frame only the listener hears of it.
//
// checkDefaultReset(buttons), a complete gesture of its own:
//   buttons != 0x22 exactly     -> false, nothing happens (0x32, 0x422 refused)
//   buttons == 0x22             -> beginEdit; value := getDefaultValue();
//                                  valueChanged if now dirty; endEdit; true
//
// The constructor switches transparency off and the mouse on, retains the
// optional background image and leaves the control dirty, so it is drawn at
// the first paint.
#pragma once

#include <cstdint>

#include "toolkit/CControlListener.h"
#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CView.h"

namespace toolkit {

class CBitmap;

class CControl : public CView {
public:
    CControl(const CRectangle& size, CControlListener* listener, int32_t tag,
             CBitmap* background = nullptr);

    bool isDirty() const override;
    void setDirty(bool state = true) override;
    // True for "CControl", otherwise as CView.
    bool isKindOf(const char* className) const override;
    void draw(CDrawContext* context) override = 0;
    CView* clone() const override = 0;

    // Runs the editor's throttled idle routine through the frame, if attached.
    virtual void runIdleTasks();
    virtual void setValue(float v);
    virtual float getValue() const;
    virtual void setMin(float v);
    virtual float getMin() const;
    virtual void setMax(float v);
    virtual float getMax() const;
    virtual void setOldValue(float v);
    virtual float getOldValue() const;
    virtual void setDefaultValue(float v);
    virtual float getDefaultValue() const;
    // value > maxValue -> maxValue; else value < minValue -> minValue. NaN stays.
    virtual void clampValue();
    virtual bool checkDefaultReset(int32_t buttons);
    virtual void setTag(int32_t t);
    virtual int32_t getTag() const;
    virtual void beginEdit();
    virtual void endEdit();
    virtual CControlListener* getListener() const;
    virtual void setListener(CControlListener* l);
    // Source offset into the background image (used by the value display).
    virtual void setBackOffset(const CPosition& offset);
    virtual void setBackOffsetToOrigin();
    virtual const CPosition& getBackOffset() const;
    // Value change per unit of wheel distance and per arrow key.
    virtual void setWheelStep(float v);
    virtual float getWheelStep() const;

protected:
    // Copies every setting; the back offset of a copy is (0, 0).
    CControl(const CControl& other);

    CControlListener* listener = nullptr;
    int32_t tag = 0;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    float wheelStep = 0.1f;
    CPosition backOffset;
};

}  // namespace toolkit

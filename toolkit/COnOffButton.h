// COnOffButton: a two-state switch drawn from a two-frame image stacked
// vertically: the upper half for the value 0, the lower half for any other
// value (NaN included). Its view rectangle is the image's width and half its
// height.
//
// A left click is a complete gesture; the button never clamps and notifies
// on every left click, whether or not the value differs from the drawn one:
//   event            value                          redraw         notify
//   left mouseDown   0.0 when |trunc(value)| >= 1    invalidate()   notifyOrder 1: begin,
//                    (1.0, -1.0, 2.5, ... and NaN),  at once        changed, end; then the
//                    else 1.0 (0, 0.3, 0.5, -0.9)                   editor's idle tasks;
//                    answer kMouseHandledNoTracking                 notifyOrder 0: idle
//                                                                   tasks, then begin,
//                                                                   changed, end; other
//                                                                   orders: never
//   other buttons    unchanged, kMouseNotHandled     -              none
#pragma once

#include <cstdint>

#include "toolkit/CControl.h"

namespace toolkit {

// When the listener hears of a click, relative to the editor's idle tasks.
inline constexpr int32_t kNotifyAfterIdle = 0;
inline constexpr int32_t kNotifyBeforeIdle = 1;

class COnOffButton : public CControl {
public:
    COnOffButton(const CRectangle& size, CControlListener* listener, int32_t tag,
                 CBitmap* background);

    void draw(CDrawContext* context) override;
    MouseResult mouseDown(CPosition where, int32_t buttons) override;
    // True for "COnOffButton", otherwise as CControl.
    bool isKindOf(const char* className) const override;
    CView* clone() const override;

    virtual int32_t getNotifyOrder() const;
    // Plain store, no redraw.
    virtual void setNotifyOrder(int32_t order);

protected:
    COnOffButton(const COnOffButton& other) = default;

    int32_t notifyOrder = kNotifyAfterIdle;
};

}  // namespace toolkit

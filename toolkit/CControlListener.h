// CControlListener: what a control tells its owner (the plug-in's editor).
//
//   valueChanged(control)       the user changed the control's value
//   modifierClicked(control, b) offered by the container before a click whose
//                               button word holds any of 0xF8 (right button,
//                               Shift, Control, Alt, 0x80) reaches a control
//                               with a listener; non-zero consumes the click
//                               (answered kMouseHandled, nothing recorded, the
//                               control never sees it). Default 0.
//   editStarted(control)        a user gesture on the control begins
//   editEnded(control)          the gesture ends
//
// The host's begin/end-edit travel separately, through the frame to the
// editor interface (see CControl::beginEdit/endEdit).
#pragma once

#include <cstdint>

namespace toolkit {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;

    virtual void valueChanged(CControl* control) = 0;
    virtual int32_t modifierClicked(CControl* control, int32_t buttons) {
        (void)control;
        (void)buttons;
        return 0;
    }
    virtual void editStarted(CControl* control) { (void)control; }
    virtual void editEnded(CControl* control) { (void)control; }
};

}  // namespace toolkit

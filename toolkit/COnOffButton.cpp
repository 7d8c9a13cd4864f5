#include "toolkit/COnOffButton.h"

#include <cmath>
#include <cstring>

#include "toolkit/ButtonState.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

namespace toolkit {

COnOffButton::COnOffButton(const CRectangle& size, CControlListener* l, int32_t t, CBitmap* bg)
    : CControl(size, l, t, bg) {}

CView* COnOffButton::clone() const { return new COnOffButton(*this); }

bool COnOffButton::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "COnOffButton") == 0) return true;
    return CControl::isKindOf(className);
}

int32_t COnOffButton::getNotifyOrder() const { return notifyOrder; }
void COnOffButton::setNotifyOrder(int32_t order) { notifyOrder = order; }

void COnOffButton::draw(CDrawContext* context) {
    if (backgroundBitmap) {
        const int32_t y = (value != 0.0f) ? backgroundBitmap->height() / 2 : 0;
        if (transparent)
            backgroundBitmap->drawTransparent(context, viewRect, CPosition(0, y));
        else
            backgroundBitmap->draw(context, viewRect, CPosition(0, y));
    }
    setDirty(false);
}

MouseResult COnOffButton::mouseDown(CPosition, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseNotHandled;

    // On when the value truncates to 0, off otherwise. Written without the
    // integer conversion, which a NaN or huge value would make undefined; a
    // NaN counts as on and turns off.
    value = (std::fabs(value) < 1.0f) ? 1.0f : 0.0f;
    invalidate();

    // The editor's idle tasks may call the host, and a host may close the
    // editor from there, which releases this button; keep it alive until the
    // click is fully answered.
    retain();
    if (listener && notifyOrder == kNotifyBeforeIdle) {
        beginEdit();
        listener->valueChanged(this);
        endEdit();
    }
    runIdleTasks();
    if (listener && notifyOrder == kNotifyAfterIdle) {
        beginEdit();
        listener->valueChanged(this);
        endEdit();
    }
    release();
    return kMouseHandledNoTracking;
}

}  // namespace toolkit

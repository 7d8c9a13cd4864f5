#include "toolkit/CControl.h"

#include <cstring>

#include "toolkit/ButtonState.h"
#include "toolkit/CFrame.h"

namespace toolkit {

CControl::CControl(const CRectangle& size, CControlListener* l, int32_t t, CBitmap* bg)
    : CView(size), listener(l), tag(t) {
    setTransparent(false);
    setMouseEnabled(true);
    setBackground(bg);
    setDirty(true);
}

CControl::CControl(const CControl& other)
    : CView(other),
      listener(other.listener),
      tag(other.tag),
      oldValue(other.oldValue),
      defaultValue(other.defaultValue),
      value(other.value),
      minValue(other.minValue),
      maxValue(other.maxValue),
      wheelStep(other.wheelStep),
      backOffset(0, 0) {}

bool CControl::isDirty() const {
    // Written as a negated equality so that a NaN on either side counts as a
    // difference.
    return !(oldValue == value) || CView::isDirty();
}

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (state)
        oldValue = (value == -1.0f) ? 0.0f : -1.0f;
    else
        oldValue = value;
}

bool CControl::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CControl") == 0) return true;
    return CView::isKindOf(className);
}

void CControl::runIdleTasks() {
    if (frame) frame->runEditorIdle();
}

void CControl::setValue(float v) { value = v; }
float CControl::getValue() const { return value; }
void CControl::setMin(float v) { minValue = v; }
float CControl::getMin() const { return minValue; }
void CControl::setMax(float v) { maxValue = v; }
float CControl::getMax() const { return maxValue; }
void CControl::setOldValue(float v) { oldValue = v; }
float CControl::getOldValue() const { return oldValue; }
void CControl::setDefaultValue(float v) { defaultValue = v; }
float CControl::getDefaultValue() const { return defaultValue; }

void CControl::clampValue() {
    if (value > maxValue)
        value = maxValue;
    else if (value < minValue)
        value = minValue;
}

bool CControl::checkDefaultReset(int32_t buttons) {
    if (buttons != (kButtonLeft | kModifierControl)) return false;
    beginEdit();
    value = getDefaultValue();
    if (isDirty() && listener) listener->valueChanged(this);
    endEdit();
    return true;
}

void CControl::setTag(int32_t t) { tag = t; }
int32_t CControl::getTag() const { return tag; }

void CControl::beginEdit() {
    if (listener) listener->editStarted(this);
    if (frame) {
        frame->setFocusView(this);
        frame->beginEdit(tag);
    }
}

void CControl::endEdit() {
    if (frame) frame->endEdit(tag);
    if (listener) listener->editEnded(this);
}

CControlListener* CControl::getListener() const { return listener; }
void CControl::setListener(CControlListener* l) { listener = l; }
void CControl::setBackOffset(const CPosition& offset) { backOffset = offset; }
void CControl::setBackOffsetToOrigin() { backOffset = viewRect.topLeft(); }
const CPosition& CControl::getBackOffset() const { return backOffset; }
void CControl::setWheelStep(float v) { wheelStep = v; }
float CControl::getWheelStep() const { return wheelStep; }

}  // namespace toolkit

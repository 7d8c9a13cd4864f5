#include "toolkit/CKnob.h"

#include <cmath>
#include <cstring>

#include "toolkit/ButtonState.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/SaturatingCast.h"

namespace toolkit {

namespace {

constexpr double kPi = 3.14159265358979323846;
// A full turn as the knob adds it in single precision, and as the
// normalisations compare against it in double precision.
constexpr float kTwoPiF = 6.2831855f;
constexpr double kTwoPiD = 6.283185307179586;

constexpr float kDefaultStartAngle = static_cast<float>(5.0 * kPi / 4.0);
constexpr float kDefaultRangeAngle = static_cast<float>(-3.0 * kPi / 2.0);

// Pixels of linear drag for the whole value range (before the fine factor).
constexpr float kLinearDragRange = 200.0f;

// Brings an angle into the circle: one turn up when negative, one down when
// beyond a full turn.
float normalised(float a) {
    if (a < 0.0f) return a + kTwoPiF;
    if (static_cast<double>(a) > kTwoPiD) return a - kTwoPiF;
    return a;
}

}  // namespace

CKnob::CKnob(const CRectangle& size, CControlListener* l, int32_t t, CBitmap* bg,
             const CPosition& bgOffset)
    : CControl(size, l, t, bg), backgroundOffset(bgOffset) {
    radius = static_cast<float>(size.right - size.left) * 0.5f;
    startAngle = kDefaultStartAngle;
    rangeAngle = kDefaultRangeAngle;
    compute();
    setAcceptsFocus(true);
}

CKnob::CKnob(const CKnob& other)
    : CControl(other),
      backgroundOffset(other.backgroundOffset),
      handleColor(other.handleColor),
      handleShadowColor(other.handleShadowColor),
      handleImage(other.handleImage),
      handleInset(other.handleInset),
      startAngle(other.startAngle),
      rangeAngle(other.rangeAngle),
      halfGapAngle(other.halfGapAngle),
      valuePerRadian(other.valuePerRadian),
      valueAtAngleZero(other.valueAtAngleZero),
      radius(other.radius),
      fineFactor(other.fineFactor) {
    if (handleImage) handleImage->retain();
}

CKnob::~CKnob() {
    if (handleImage) handleImage->release();
}

CView* CKnob::clone() const { return new CKnob(*this); }

bool CKnob::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CKnob") == 0) return true;
    return CControl::isKindOf(className);
}

void CKnob::compute() {
    halfGapAngle = (kTwoPiF - std::fabs(rangeAngle)) / 2.0f;
    valuePerRadian = (maxValue - minValue) / rangeAngle;
    valueAtAngleZero = minValue - valuePerRadian * startAngle;
    setDirty(true);
}

void CKnob::setStartAngle(float a) {
    startAngle = a;
    compute();
}
float CKnob::getStartAngle() const { return startAngle; }

void CKnob::setRangeAngle(float a) {
    rangeAngle = a;
    compute();
}
float CKnob::getRangeAngle() const { return rangeAngle; }

CPosition CKnob::toLocal(const CPosition& where) const {
    return CPosition(where.x - viewRect.left, where.y - viewRect.top);
}

CPosition CKnob::handlePoint() const {
    CPosition p;
    handlePointForValue(p);
    return p;
}

void CKnob::handlePointForValue(CPosition& point) const {
    const float alpha = (value - valueAtAngleZero) / valuePerRadian;
    const float length = radius - static_cast<float>(handleInset);
    const float c = static_cast<float>(std::cos(static_cast<double>(alpha)));
    const float s = static_cast<float>(std::sin(static_cast<double>(alpha)));
    point.x = truncateToInt32(c * length + radius + 0.5f);
    point.y = truncateToInt32(radius - s * length + 0.5f);
}

float CKnob::valueForPoint(const CPosition& point) const {
    const float dy = radius - static_cast<float>(point.y);
    const float dx = static_cast<float>(point.x) - radius;
    float theta = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
    if (theta < 0.0f) theta += kTwoPiF;

    const float alpha = theta - startAngle;
    const float r = rangeAngle;
    const float h = halfGapAngle;
    if (r < 0.0f) {
        // Clockwise: measure from the maxValue end.
        const float beta = alpha - r;
        const float betaN = normalised(beta);
        if (betaN > h - r) return maxValue;
        if (betaN > -r) return minValue;
        float gamma = beta;
        if (beta > h - r)
            gamma = beta - kTwoPiF;
        else if (beta < -h)
            gamma = beta + kTwoPiF;
        return valuePerRadian * gamma + maxValue;
    }
    const float alphaN = normalised(alpha);
    if (alphaN > h + r) return minValue;
    if (alphaN > r) return maxValue;
    float gamma = alpha;
    if (alpha > h + r)
        gamma = alpha - kTwoPiF;
    else if (alpha < -h)
        gamma = alpha + kTwoPiF;
    return valuePerRadian * gamma + minValue;
}

int32_t CKnob::getHandleInset() const { return handleInset; }
void CKnob::setHandleInset(int32_t n) { handleInset = n; }
CRgba CKnob::getHandleShadowColor() const { return handleShadowColor; }

void CKnob::setHandleShadowColor(const CRgba& c) {
    handleShadowColor = c;
    setDirty(true);
}

CRgba CKnob::getHandleColor() const { return handleColor; }

void CKnob::setHandleColor(const CRgba& c) {
    handleColor = c;
    setDirty(true);
}

CBitmap* CKnob::getHandleImage() const { return handleImage; }

void CKnob::setHandleImage(CBitmap* image) {
    // Take the new reference before dropping the old one, so that setting
    // the image already held cannot destroy it.
    if (image) image->retain();
    if (handleImage) handleImage->release();
    handleImage = image;
    if (image) handleInset = truncateToInt32(static_cast<float>(image->width()) * 0.5f + 2.5f);
}

void CKnob::setFineFactor(float f) { fineFactor = f; }
float CKnob::getFineFactor() const { return fineFactor; }

void CKnob::draw(CDrawContext* context) {
    if (backgroundBitmap) {
        if (transparent)
            backgroundBitmap->drawTransparent(context, viewRect, backgroundOffset);
        else
            backgroundBitmap->draw(context, viewRect, backgroundOffset);
    }
    drawHandle(context);
    setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
    const CPosition p = handlePoint();
    if (handleImage) {
        const int32_t w = handleImage->width();
        const int32_t h = handleImage->height();
        const int32_t x = viewRect.left + p.x - w / 2;
        const int32_t y = viewRect.top + p.y - h / 2;
        handleImage->drawTransparent(context, CRectangle(x, y, x + w, y + h), CPosition(0, 0));
        return;
    }
    const CPosition c(viewRect.width() / 2, viewRect.height() / 2);
    const int32_t left = viewRect.left;
    const int32_t top = viewRect.top;
    context->setFrameColor(handleShadowColor);
    context->moveTo(CPosition(left + p.x - 1, top + p.y));
    context->lineTo(CPosition(left + c.x - 1, top + c.y));
    context->setFrameColor(handleColor);
    context->moveTo(CPosition(left + p.x, top + p.y - 1));
    context->lineTo(CPosition(left + c.x, top + c.y - 1));
}

MouseResult CKnob::mouseDown(CPosition where, int32_t buttons) {
    beginEdit();
    if (checkDefaultReset(buttons)) {
        endEdit();
        return kMouseHandledNoTracking;
    }
    firstPoint = where;
    lastPoint = CPosition(-1, -1);
    startValue = oldValue;
    entryValue = value;
    linearDrag = false;
    lastButtons = buttons;

    const int32_t mode = frame ? frame->knobMode() : 0;
    const bool alt = (buttons & kModifierAlt) != 0;
    const bool linear = (buttons & kButtonLeft) && ((mode == kLinearKnobMode) != alt);
    if (linear) {
        dragRange = kLinearDragRange;
        if (buttons & kModifierShift) dragRange *= fineFactor;
        lastPoint = where;
        linearDrag = true;
        valuePerPixel = (maxValue - minValue) / dragRange;
    } else {
        startValue = valueForPoint(toLocal(where));
    }
    return mouseMoved(where, buttons);
}

MouseResult CKnob::mouseMoved(CPosition where, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseHandled;
    if (where == lastPoint) return kMouseHandled;
    lastPoint = where;

    if (linearDrag) {
        // Right and up both count: one pixel in either direction is one step.
        const int64_t displacement = (static_cast<int64_t>(firstPoint.y) - where.y) +
                                     (static_cast<int64_t>(where.x) - firstPoint.x);
        const float d = static_cast<float>(displacement);
        if (buttons != lastButtons) {
            // Rebase so that the value is continuous across a change of
            // modifiers: only the speed from here on changes.
            dragRange = kLinearDragRange;
            if (buttons & kModifierShift) dragRange *= fineFactor;
            const float n = (maxValue - minValue) / dragRange;
            entryValue = (valuePerPixel - n) * d + entryValue;
            valuePerPixel = n;
            lastButtons = buttons;
        }
        value = d * valuePerPixel + entryValue;
        clampValue();
    } else {
        const float v = valueForPoint(toLocal(where));
        const float half = (maxValue - minValue) / 2.0f;
        value = v;
        // Pin at the end the knob was near while the pointer crosses the
        // dead wedge, until it comes back within half the range.
        if (startValue - v > half)
            value = maxValue;
        else if (v - startValue > half)
            value = minValue;
        else
            startValue = v;
    }

    if (value != oldValue && listener) listener->valueChanged(this);
    if (isDirty()) invalidate();
    return kMouseHandled;
}

MouseResult CKnob::mouseUp(CPosition, int32_t) {
    endEdit();
    return kMouseHandled;
}

bool CKnob::wheel(CPosition, float distance, int32_t buttons) {
    if (!isMouseEnabled()) return false;
    float delta = wheelStep * distance;
    if (buttons & kModifierShift) delta *= 0.1f;
    value += delta;
    clampValue();
    if (isDirty() && listener) {
        beginEdit();
        listener->valueChanged(this);
        endEdit();
    }
    return true;
}

int32_t CKnob::keyDown(VstKeyCode& key) {
    float step;
    switch (key.virt) {
        case kVirtualKeyLeft:
        case kVirtualKeyDown:
            step = -1.0f;
            break;
        case kVirtualKeyUp:
        case kVirtualKeyRight:
            step = 1.0f;
            break;
        default:
            return -1;
    }
    float delta = step * wheelStep;
    if (key.modifier & kKeyModifierShift) delta *= 0.1f;
    value += delta;
    clampValue();
    if (isDirty() && listener) {
        beginEdit();
        listener->valueChanged(this);
        endEdit();
    }
    return 1;
}

}  // namespace toolkit

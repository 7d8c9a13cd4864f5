#include "toolkit/StandInFramePlatform.h"

#include "toolkit/ButtonState.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

namespace toolkit {

void StandInFramePlatform::createWindow(PlatformWindow parent) {
    if (!parent) return;
    parentHandle = parent;
    windowHandle = this;
    ++windowsCreated;
}

void StandInFramePlatform::destroyWindow() {
    if (!windowHandle) return;
    windowHandle = nullptr;
    ++windowsDestroyed;
}

bool StandInFramePlatform::hostWindowPosition(int32_t& x, int32_t& y) {
    x = hostX;
    y = hostY;
    return true;
}

bool StandInFramePlatform::hostWindowRect(CRectangle& rect) {
    rect = hostRect;
    return true;
}

bool StandInFramePlatform::mouseLocation(CPosition& where) {
    where = pointer;
    return true;
}

void StandInFramePlatform::setCursor(CursorType type) {
    cursorSaved = true;
    switch (type) {
        case kCursorWait:
        case kCursorSizeHorizontal:
        case kCursorSizeVertical:
        case kCursorSizeAll:
        case kCursorSizeNeSw:
        case kCursorSizeNwSe:
        case kCursorNotAllowed:
        case kCursorHand:
            cursor = type;
            break;
        default:
            cursor = kCursorDefault;
            break;
    }
}

void StandInFramePlatform::restoreCursor() {
    cursor = kCursorDefault;
    ++cursorRestores;
}

bool StandInFramePlatform::resizeWindowChain(int32_t width, int32_t height) {
    chainResizes.emplace_back(width, height);
    return chainEndsEarly;
}

bool StandInFramePlatform::registerDropTarget() {
    dropRegistered = true;
    ++dropRegistrations;
    return true;
}

void StandInFramePlatform::revokeDropTarget() {
    if (dropRegistered) ++dropRevocations;
    dropRegistered = false;
}

CDrawContext* StandInFramePlatform::makeDrawContext() {
    return new CDrawContext(boundFrame, surface, windowHandle);
}

MouseResult StandInFramePlatform::pressButton(CPosition where, int32_t buttons, bool doubleClick) {
    if (!boundFrame) return kMouseNotHandled;
    pointer = where;
    if (doubleClick) buttons |= kButtonDoubleClick;
    const MouseResult result = boundFrame->mouseDown(where, buttons);
    if (result == kMouseHandled) captured = true;
    return result;
}

MouseResult StandInFramePlatform::releaseButton(CPosition where, int32_t buttons) {
    if (!boundFrame) return kMouseNotHandled;
    pointer = where;
    const MouseResult result = boundFrame->mouseUp(where, buttons);
    captured = false;
    return result;
}

MouseResult StandInFramePlatform::movePointer(CPosition where, int32_t buttons) {
    if (!boundFrame) return kMouseNotHandled;
    pointer = where;
    return boundFrame->mouseMoved(where, buttons);
}

bool StandInFramePlatform::turnWheel(CPosition where, int32_t delta, int32_t modifiers) {
    if (!boundFrame) return false;
    const int32_t notches = delta / 120;
    const int32_t buttons = modifiers & (kModifierShift | kModifierControl | kModifierAlt);
    return boundFrame->wheel(where, static_cast<float>(notches), buttons);
}

MouseResult StandInFramePlatform::leaveWindow() {
    if (!boundFrame) return kMouseNotHandled;
    return boundFrame->mouseExited(pointer, buttonState);
}

void StandInFramePlatform::paint(const CRectangle& update) {
    if (!boundFrame) return;
    CDrawContext* context = makeDrawContext();
    boundFrame->drawInRect(context, update);
    context->release();
}

void StandInFramePlatform::destroyBySystem() {
    if (boundFrame) boundFrame->setOpen(false);
    parentHandle = nullptr;
    windowHandle = nullptr;
}

}  // namespace toolkit

#include "toolkit/CView.h"

#include <cstring>
#include <new>

#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"
#include "toolkit/CViewContainer.h"

namespace toolkit {

CView::CView(const CRectangle& size) : viewRect(size), mouseArea(size) {}

CView::CView(const CView& other)
    : CBaseObject(),
      viewRect(other.viewRect),
      mouseArea(other.mouseArea),
      mouseEnabled(other.mouseEnabled),
      transparent(other.transparent),
      focusable(other.focusable),
      autosize(other.autosize),
      backgroundBitmap(other.backgroundBitmap) {
    if (backgroundBitmap) backgroundBitmap->retain();
    Attribute** tail = &attributes;
    for (const Attribute* a = other.attributes; a; a = a->next) {
        auto* copy = new Attribute{a->id, a->size, a->size, nullptr, nullptr};
        if (a->size > 0) {
            copy->bytes = new unsigned char[static_cast<size_t>(a->size)];
            std::memcpy(copy->bytes, a->bytes, static_cast<size_t>(a->size));
        }
        *tail = copy;
        tail = &copy->next;
    }
}

CView::~CView() {
    if (backgroundBitmap) backgroundBitmap->release();
    backgroundBitmap = nullptr;
    freeAttributes();
}

void CView::freeAttributes() {
    while (attributes) {
        Attribute* next = attributes->next;
        delete[] attributes->bytes;
        delete attributes;
        attributes = next;
    }
}

void CView::draw(CDrawContext* context) {
    if (backgroundBitmap) {
        if (transparent)
            backgroundBitmap->drawTransparent(context, viewRect, CPosition(0, 0));
        else
            backgroundBitmap->draw(context, viewRect, CPosition(0, 0));
    }
    setDirty(false);
}

void CView::drawInRect(CDrawContext* context, const CRectangle&) { draw(context); }

bool CView::overlapsRect(const CRectangle& r) const {
    return r.right >= viewRect.left && r.left <= viewRect.right && r.bottom >= viewRect.top &&
           r.top <= viewRect.bottom;
}

bool CView::isDirty() const { return dirty; }

void CView::setDirty(bool state) { dirty = state; }

void CView::invalidateRect(CRectangle rect) {
    if (!attached || !visible) return;
    if (parent)
        parent->invalidateRect(rect);
    else if (frame)
        frame->invalidateRect(rect);
}

void CView::invalidate() {
    setDirty(false);
    invalidateRect(viewRect);
}

void CView::setVisible(bool state) {
    if (visible == state) return;
    visible = state;
    setDirty(true);
}

MouseResult CView::mouseDown(CPosition, int32_t) { return kMouseNotImplemented; }
MouseResult CView::mouseUp(CPosition, int32_t) { return kMouseNotImplemented; }
MouseResult CView::mouseMoved(CPosition, int32_t) { return kMouseNotImplemented; }
MouseResult CView::mouseEntered(CPosition, int32_t) { return kMouseNotImplemented; }
MouseResult CView::mouseExited(CPosition, int32_t) { return kMouseNotImplemented; }

bool CView::hitTest(CPosition where, int32_t) { return mouseArea.pointInside(where); }

bool CView::wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons) {
    if (axis == kWheelHorizontal) distance = -distance;
    return wheel(where, distance, buttons);
}

bool CView::wheel(CPosition, float, int32_t) { return false; }

void CView::setMouseEnabled(bool state) { mouseEnabled = state; }
bool CView::isMouseEnabled() const { return mouseEnabled; }
void CView::setMouseArea(const CRectangle& rect) { mouseArea = rect; }
CRectangle& CView::getMouseArea() { return mouseArea; }
void CView::copyMouseArea(CRectangle& out) const { out = mouseArea; }

bool CView::drop(CDragContainer*, CPosition) { return false; }
void CView::dragEnter(CDragContainer*, CPosition) {}
void CView::dragLeave(CDragContainer*, CPosition) {}
void CView::dragMove(CDragContainer*, CPosition) {}

int32_t CView::keyDown(VstKeyCode&) { return -1; }
int32_t CView::keyUp(VstKeyCode&) { return -1; }

void CView::setViewRect(const CRectangle& rect, bool markDirty) {
    viewRect = rect;
    if (markDirty) setDirty(true);
}

CRectangle& CView::getViewRect() { return viewRect; }
void CView::copyViewRect(CRectangle& out) const { out = viewRect; }

void CView::visibleRect(CRectangle& out) {
    if (parent && parent->isKindOf("CViewContainer"))
        static_cast<CViewContainer*>(parent)->clipToVisible(out, viewRect);
    else if (frame)
        frame->clipToVisible(out, viewRect);
    else
        out = CRectangle(0, 0, 0, 0);
}

void CView::parentResized() {}

void CView::convertFromFrame(CPosition& point) {
    if (parent && parent->isKindOf("CViewContainer")) parent->convertFromFrame(point);
}

void CView::convertToFrame(CPosition& point) {
    if (parent && parent->isKindOf("CViewContainer")) parent->convertToFrame(point);
}

void CView::setAutosizeFlags(int32_t flags) { autosize = flags; }
int32_t CView::autosizeFlags() const { return autosize; }
void CView::focusLost() {}
void CView::focusGained() {}
bool CView::acceptsFocus() const { return focusable; }
void CView::setAcceptsFocus(bool state) { focusable = state; }

void CView::setBackground(CBitmap* bitmap) {
    // Retain first: setting the bitmap already held must not destroy it.
    if (bitmap) bitmap->retain();
    if (backgroundBitmap) backgroundBitmap->release();
    backgroundBitmap = bitmap;
    setDirty(true);
}

CBitmap* CView::background() const { return backgroundBitmap; }
void CView::setTransparent(bool state) { transparent = state; }
bool CView::isTransparent() const { return transparent; }

bool CView::detachFrom(CView*) {
    if (!attached) return false;
    parent = nullptr;
    frame = nullptr;
    attached = false;
    return true;
}

bool CView::attachTo(CView* newParent) {
    if (attached || !newParent) return false;
    parent = newParent;
    frame = newParent->getFrame();
    attached = true;
    return true;
}

EditorInterface* CView::editor() { return frame ? frame->editor() : nullptr; }

bool CView::isKindOf(const char* className) const {
    return className && std::strcmp(className, "CView") == 0;
}

CView* CView::clone() const { return new CView(*this); }

bool CView::setAttribute(int32_t id, int32_t size, const void* bytes) {
    if (size < 0 || (size > 0 && !bytes)) return false;
    Attribute** link = &attributes;
    while (*link && (*link)->id != id) link = &(*link)->next;
    Attribute* a = *link;
    if (!a) {
        a = new Attribute{id, 0, 0, nullptr, nullptr};
        *link = a;
    }
    if (a->capacity < size) {
        delete[] a->bytes;
        a->bytes = new unsigned char[static_cast<size_t>(size)];
        a->capacity = size;
    }
    if (size > 0) std::memcpy(a->bytes, bytes, static_cast<size_t>(size));
    a->size = size;
    return true;
}

int32_t CView::getAttribute(int32_t id, int32_t bufferSize, void* buffer) const {
    for (const Attribute* a = attributes; a; a = a->next) {
        if (a->id != id) continue;
        if (buffer && bufferSize > 0 && a->size > 0)
            std::memcpy(buffer, a->bytes,
                        static_cast<size_t>(bufferSize < a->size ? bufferSize : a->size));
        return a->size;
    }
    return -1;
}

}  // namespace toolkit

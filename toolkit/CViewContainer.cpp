#include "toolkit/CViewContainer.h"

#include <cstring>

#include "toolkit/CBitmap.h"
#include "toolkit/CControl.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/Messages.h"
#include "toolkit/ViewGuard.h"

namespace toolkit {

namespace {

CPosition minus(CPosition p, const CPosition& origin) {
    return p.offset(-origin.x, -origin.y);
}

bool isContainer(const CView* view) { return view && view->isKindOf("CViewContainer"); }

}  // namespace

CViewContainer::CViewContainer(const CRectangle& size) : CView(size) {
    frame = nullptr;
    setDirty(true);
}

CViewContainer::CViewContainer(const CViewContainer& other)
    : CView(other),
      backgroundColour(other.backgroundColour),
      backgroundOffsetPoint(other.backgroundOffsetPoint),
      offscreenDrawing(other.offscreenDrawing) {
    setDirty(true);
    for (Node* n = other.firstChild; n; n = n->next) addChild(n->view->clone());
}

CViewContainer::~CViewContainer() {
    CViewContainer::removeAllChildren(true);
    releaseOffscreen();
}

CViewContainer::Node* CViewContainer::findNode(CView* view) const {
    if (!view) return nullptr;
    for (Node* n = firstChild; n; n = n->next)
        if (n->view == view) return n;
    return nullptr;
}

void CViewContainer::unlinkNode(Node* node) {
    if (node->previous)
        node->previous->next = node->next;
    else
        firstChild = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        lastChild = node->previous;
    if (mouseDownView == node->view) mouseDownView = nullptr;
    if (dragTargetView == node->view) dragTargetView = nullptr;
    delete node;
}

void CViewContainer::createOffscreen() {
    releaseOffscreen();
    offscreen = new COffscreenContext(frame, viewRect.width(), viewRect.height(), kColorBlack);
}

void CViewContainer::releaseOffscreen() {
    if (offscreen) offscreen->release();
    offscreen = nullptr;
}

void CViewContainer::invalidateUpward(const CRectangle& rect) {
    if (parent)
        parent->invalidateRect(rect);
    else if (frame)
        frame->invalidateRect(rect);
}

bool CViewContainer::isAncestorOf(const CView* view) const {
    for (const CView* v = view; v; v = v->getParent())
        if (v == this) return true;
    return false;
}

// ---- children ------------------------------------------------------------

bool CViewContainer::addChildBefore(CView* view, CView* before) {
    if (!view || view->isAttached() || findNode(view)) return false;
    Node* node = new Node{view, nullptr, nullptr};
    if (!firstChild) {
        firstChild = lastChild = node;
    } else {
        Node* at = findNode(before);
        if (!at) at = lastChild;
        node->next = at;
        node->previous = at->previous;
        if (at->previous)
            at->previous->next = node;
        else
            firstChild = node;
        at->previous = node;
    }
    view->retain();
    if (attached) {
        view->attachTo(this);
        view->invalidate();
    }
    return true;
}

bool CViewContainer::addChildWithMouseArea(CView* view, const CRectangle& area, bool enabled) {
    if (!addChild(view)) return false;
    view->setMouseEnabled(enabled);
    view->setMouseArea(area);
    return true;
}

bool CViewContainer::addChild(CView* view) {
    if (!view || view->isAttached() || findNode(view)) return false;
    Node* node = new Node{view, nullptr, lastChild};
    if (lastChild)
        lastChild->next = node;
    else
        firstChild = node;
    lastChild = node;
    view->retain();
    if (attached) {
        view->attachTo(this);
        view->invalidate();
    }
    return true;
}

bool CViewContainer::removeChild(CView* view, bool forget) {
    Node* node = findNode(view);
    if (!node) return false;
    view->invalidate();
    if (frame) frame->viewRemoved(view);
    if (attached) view->detachFrom(this);
    unlinkNode(node);
    // Drop the creator's reference only if someone still holds one besides
    // this container: a count never goes below zero, even for a creator
    // that already released its own.
    if (forget && view->referenceCount() > 1) view->release();
    view->release();
    return true;
}

bool CViewContainer::removeAllChildren(bool forget) {
    while (firstChild) {
        CView* view = firstChild->view;
        if (frame) frame->viewRemoved(view);
        if (attached) view->detachFrom(this);
        unlinkNode(firstChild);
        if (forget && view->referenceCount() > 1) view->release();
        view->release();
    }
    mouseDownView = nullptr;
    dragTargetView = nullptr;
    return true;
}

bool CViewContainer::hasChild(CView* view) const { return findNode(view) != nullptr; }

int32_t CViewContainer::childCount() const {
    int32_t n = 0;
    for (Node* node = firstChild; node; node = node->next) ++n;
    return n;
}

CView* CViewContainer::childAt(int32_t index) const {
    if (index < 0) return nullptr;
    for (Node* node = firstChild; node; node = node->next)
        if (index-- == 0) return node->view;
    return nullptr;
}

CView* CViewContainer::findViewAt(CPosition where, bool deep) {
    if (!frame || !visible) return nullptr;
    const CPosition local = minus(where, viewRect.topLeft());
    for (Node* n = lastChild; n; n = n->previous) {
        CView* child = n->view;
        if (!child->isVisible() || !child->getMouseArea().pointInside(local)) continue;
        if (deep && isContainer(child))
            return static_cast<CViewContainer*>(child)->findViewAt(local, true);
        return child;
    }
    return nullptr;
}

CViewContainer* CViewContainer::findContainerAt(CPosition where, bool deep) {
    if (!frame) return nullptr;
    const CPosition local = minus(where, viewRect.topLeft());
    for (Node* n = lastChild; n; n = n->previous) {
        CView* child = n->view;
        if (!child->isVisible() || !child->getMouseArea().pointInside(local)) continue;
        if (deep && isContainer(child))
            return static_cast<CViewContainer*>(child)->findContainerAt(local, true);
        break;
    }
    return this;
}

// ---- background -----------------------------------------------------------

void CViewContainer::setBackgroundColor(const CRgba& colour) {
    backgroundColour = colour;
    setDirty(true);
}

CRgba CViewContainer::backgroundColor() const { return backgroundColour; }

void CViewContainer::setBackgroundOffset(const CPosition& offset) { backgroundOffsetPoint = offset; }

CPosition& CViewContainer::backgroundOffset() { return backgroundOffsetPoint; }

void CViewContainer::paintBackground(CDrawContext* context, const CRectangle& rect) {
    if (!context) return;
    if (backgroundBitmap) {
        const CRectangle saved = context->clipRect();
        context->setClipRect(intersection(rect, saved));
        const CRectangle dest(0, 0, backgroundBitmap->width(), backgroundBitmap->height());
        if (transparent)
            backgroundBitmap->drawTransparent(context, dest, backgroundOffsetPoint);
        else
            backgroundBitmap->draw(context, dest, backgroundOffsetPoint);
        context->setClipRect(saved);
        return;
    }
    // An opaque colour behind a transparent container would hide what the
    // container is meant to show through; a translucent one is still wanted.
    if (transparent && backgroundColour.alpha == 255) return;
    if (!context->graphics()) return;
    context->setFillColor(backgroundColour);
    context->setFrameColor(backgroundColour);
    const CRectangle all(0, 0, viewRect.width(), viewRect.height());
    context->fillRect(all);
    context->frameRect(all);
}

void CViewContainer::setOffscreenDrawing(bool state) {
    offscreenDrawing = state;
    if (!state) releaseOffscreen();
}

// ---- focus, dirty, clipping --------------------------------------------------

bool CViewContainer::moveFocus(CView* current, bool reverse) {
    bool passed = current == nullptr;
    for (Node* n = reverse ? lastChild : firstChild; n; n = reverse ? n->previous : n->next) {
        CView* child = n->view;
        if (!passed) {
            if (child == current) passed = true;
            continue;
        }
        if (child->acceptsFocus()) {
            if (frame) frame->setFocusView(child);
            child->focusGained();
            return true;
        }
        if (isContainer(child) && static_cast<CViewContainer*>(child)->moveFocus(nullptr, reverse))
            return true;
    }
    return false;
}

bool CViewContainer::repaintDirtyChildren() {
    if (!visible) return true;
    if (CView::isDirty()) {
        invalidateUpward(viewRect);
        return true;
    }
    for (Node* n = firstChild; n; n = n->next) {
        CView* child = n->view;
        if (!child->isDirty() || !child->isVisible()) continue;
        if (isContainer(child))
            static_cast<CViewContainer*>(child)->repaintDirtyChildren();
        else
            child->invalidate();
    }
    return true;
}

void CViewContainer::clipToVisible(CRectangle& out, CRectangle rect) {
    const CPosition origin = viewRect.topLeft();
    out = rect.offset(origin.x, origin.y).intersect(viewRect);
    if (static_cast<CView*>(frame) != this) {
        if (isContainer(parent))
            static_cast<CViewContainer*>(parent)->clipToVisible(out, out);
        else if (frame)
            frame->clipToVisible(out, out);
    }
    out.offset(-origin.x, -origin.y);
}

bool CViewContainer::childNeedsUpdate(CView* child, const CRectangle& rect) {
    return child && child->overlapsRect(rect) && child->isVisible();
}

bool CViewContainer::hitTestChildren(CPosition where, int32_t buttons) {
    const CPosition local = minus(where, viewRect.topLeft());
    for (Node* n = lastChild; n; n = n->previous)
        if (n->view->isMouseEnabled() && n->view->hitTest(local, buttons)) return true;
    return false;
}

// ---- view overrides ------------------------------------------------------------

int32_t CViewContainer::notify(CBaseObject*, const char* message) {
    return message == kMsgCheckIfViewContainer ? 1 : 0;
}

void CViewContainer::draw(CDrawContext* context) { drawInRect(context, viewRect); }

void CViewContainer::drawInRect(CDrawContext* context, const CRectangle& update) {
    if (!context) return;
    if (offscreenDrawing && !offscreen) createOffscreen();
    const bool viaOffscreen = offscreenDrawing && offscreen;
    const CPosition origin = viewRect.topLeft();

    CDrawContext* target = context;
    const CPosition savedScreenOffset = context->screenOffset;
    const CPosition savedDrawOffset = context->drawOffset;
    if (viaOffscreen) {
        target = offscreen;
    } else {
        context->screenOffset.offset(origin.x, origin.y);
        context->drawOffset.offset(origin.x, origin.y);
    }

    const CRectangle inParent = intersection(update, viewRect);
    CRectangle local = inParent;
    local.offset(-origin.x, -origin.y);

    const CRectangle savedClip = context->clipRect();
    CRectangle working = savedClip;
    // Drawing into the offscreen surface happens in this container's own
    // space, so the caller's clip moves by the origin with it. (Moving it to
    // (0, 0) instead would paint the wrong part of the surface whenever the
    // clip does not start at the container's top-left corner.)
    if (viaOffscreen) working.offset(-origin.x, -origin.y);

    const CRectangle clip = intersection(local, working);
    target->setClipRect(clip);
    paintBackground(target, local);

    for (Node* n = firstChild; n; n = n->next) {
        CView* child = n->view;
        if (!childNeedsUpdate(child, local)) continue;
        const CRectangle part = intersection(child->getViewRect(), clip);
        if (part.width() == 0 || part.height() == 0) continue;
        target->setClipRect(part);
        child->drawInRect(target, local);
    }
    target->setClipRect(savedClip);

    if (viaOffscreen) {
        if (offscreen->bitmap())
            offscreen->bitmap()->draw(context, inParent, CPosition(local.left, local.top));
    } else {
        context->screenOffset = savedScreenOffset;
        context->drawOffset = savedDrawOffset;
    }
    setDirty(false);
}

bool CViewContainer::isDirty() const {
    if (CView::isDirty()) return true;
    const CRectangle own(0, 0, viewRect.width(), viewRect.height());
    for (Node* n = firstChild; n; n = n->next) {
        if (!n->view->isDirty()) continue;
        if (!intersection(n->view->getViewRect(), own).isEmpty()) return true;
    }
    return false;
}

void CViewContainer::invalidateRect(CRectangle rect) {
    if (!visible) return;
    rect.offset(viewRect.left, viewRect.top).intersect(viewRect);
    if (rect.isEmpty()) return;
    invalidateUpward(rect);
}

void CViewContainer::invalidate() {
    if (visible) invalidateUpward(viewRect);
}

MouseResult CViewContainer::mouseDown(CPosition where, int32_t buttons) {
    const CPosition local = minus(where, viewRect.topLeft());
    for (Node* n = lastChild; n; n = n->previous) {
        CView* child = n->view;
        if (!child->isVisible() || !child->isMouseEnabled() || !child->hitTest(local, buttons))
            continue;
        ViewGuard guard(child);
        if (child->isKindOf("CControl")) {
            auto* control = static_cast<CControl*>(child);
            CControlListener* listener = control->getListener();
            if (listener && (buttons & 0xF8) && listener->modifierClicked(control, buttons) != 0)
                return kMouseHandled;
        }
        const MouseResult result = child->mouseDown(local, buttons);
        // A child that left the container during its own mouse-down is not
        // tracked.
        if (result == kMouseHandled && hasChild(child)) mouseDownView = child;
        return result;
    }
    return kMouseNotHandled;
}

MouseResult CViewContainer::mouseUp(CPosition where, int32_t buttons) {
    if (!mouseDownView) return kMouseNotHandled;
    CView* view = mouseDownView;
    ViewGuard guard(view);
    view->mouseUp(minus(where, viewRect.topLeft()), buttons);
    mouseDownView = nullptr;
    return kMouseHandled;
}

MouseResult CViewContainer::mouseMoved(CPosition where, int32_t buttons) {
    if (!mouseDownView) return kMouseNotHandled;
    CView* view = mouseDownView;
    ViewGuard guard(view);
    if (view->mouseMoved(minus(where, viewRect.topLeft()), buttons) == kMouseHandled)
        return kMouseHandled;
    mouseDownView = nullptr;
    return kMouseNotHandled;
}

bool CViewContainer::wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons) {
    CView* child = findViewAt(where, false);
    if (!child) return false;
    ViewGuard guard(child);
    return child->wheelOnAxis(minus(where, viewRect.topLeft()), axis, distance, buttons);
}

bool CViewContainer::wheel(CPosition where, float distance, int32_t buttons) {
    return wheelOnAxis(where, kWheelVertical, distance, buttons);
}

// ---- drag routing ----------------------------------------------------------------

void CViewContainer::leaveDragTarget(CDragContainer* drag, CPosition local) {
    if (!dragTargetView) return;
    CView* old = dragTargetView;
    ViewGuard guard(old);
    old->dragLeave(drag, local);
}

void CViewContainer::enterDragTarget(CView* view, CDragContainer* drag, CPosition local) {
    dragTargetView = view;
    if (!view) return;
    ViewGuard guard(view);
    view->dragEnter(drag, local);
}

void CViewContainer::dragEnter(CDragContainer* drag, CPosition where) {
    if (!frame) return;
    const CPosition local = minus(where, viewRect.topLeft());
    leaveDragTarget(drag, local);
    enterDragTarget(findViewAt(where, false), drag, local);
}

void CViewContainer::dragMove(CDragContainer* drag, CPosition where) {
    if (!frame) return;
    const CPosition local = minus(where, viewRect.topLeft());
    CView* view = findViewAt(where, false);
    if (view != dragTargetView) {
        leaveDragTarget(drag, local);
        enterDragTarget(view, drag, local);
    } else if (dragTargetView) {
        ViewGuard guard(view);
        view->dragMove(drag, local);
    }
}

void CViewContainer::dragLeave(CDragContainer* drag, CPosition where) {
    if (!frame) return;
    CView* target = dragTargetView;
    dragTargetView = nullptr;
    if (target) {
        ViewGuard guard(target);
        target->dragLeave(drag, minus(where, viewRect.topLeft()));
    }
}

bool CViewContainer::drop(CDragContainer* drag, CPosition where) {
    if (!frame) return false;
    const CPosition local = minus(where, viewRect.topLeft());
    CView* view = findViewAt(where, false);
    if (view != dragTargetView) {
        leaveDragTarget(drag, local);
        dragTargetView = view;
    }
    CView* target = dragTargetView;
    if (!target) return false;
    ViewGuard guard(target);
    const bool result = target->drop(drag, local);
    target->dragLeave(drag, local);
    dragTargetView = nullptr;
    return result;
}

// ---- keys, geometry, focus ------------------------------------------------------------

int32_t CViewContainer::keyDown(VstKeyCode& key) {
    for (Node* n = lastChild; n; n = n->previous) {
        ViewGuard guard(n->view);
        const int32_t result = n->view->keyDown(key);
        if (result != -1) return result;
    }
    return -1;
}

int32_t CViewContainer::keyUp(VstKeyCode& key) {
    for (Node* n = lastChild; n; n = n->previous) {
        ViewGuard guard(n->view);
        const int32_t result = n->view->keyUp(key);
        if (result != -1) return result;
    }
    return -1;
}

void CViewContainer::setViewRect(const CRectangle& rect, bool markDirty) {
    if (rect == viewRect) return;
    const CRectangle old = viewRect;
    viewRect = rect;
    if (markDirty) setDirty(true);
    const int32_t dw = rect.width() - old.width();
    const int32_t dh = rect.height() - old.height();
    if (dw != 0 || dh != 0) {
        const int32_t n = childCount();
        const bool spreadColumns = (autosize & kSpreadColumns) != 0;
        const bool spreadRows = (autosize & kSpreadRows) != 0;
        int32_t i = 0;
        for (Node* node = firstChild; node; node = node->next, ++i) {
            CView* child = node->view;
            CRectangle v = child->getViewRect();
            CRectangle m = child->getMouseArea();
            const int32_t flags = child->autosizeFlags();
            if (spreadColumns) {
                const int32_t share = dw / n;
                if (i > 0) {
                    v.offset(share * i, 0);
                    m.offset(share * i, 0);
                }
                v.right += share;
                m.right += share;
            } else if (dw != 0 && (flags & kFollowRight)) {
                v.right += dw;
                m.right += dw;
                if (!(flags & kFollowLeft)) {
                    v.left += dw;
                    m.left += dw;
                }
            }
            if (spreadRows) {
                const int32_t share = dh / n;
                if (i > 0) {
                    v.offset(0, share * i);
                    m.offset(0, share * i);
                }
                v.bottom += share;
                m.bottom += share;
            } else if (dh != 0 && (flags & kFollowBottom)) {
                v.bottom += dh;
                m.bottom += dh;
                if (!(flags & kFollowTop)) {
                    v.top += dh;
                    m.top += dh;
                }
            }
            if (v != child->getViewRect()) {
                child->setViewRect(v, true);
                child->setMouseArea(m);
            }
        }
    }
    parentResized();
    if (offscreen && offscreenDrawing) createOffscreen();
}

void CViewContainer::parentResized() {
    for (Node* n = firstChild; n; n = n->next) n->view->parentResized();
}

void CViewContainer::convertFromFrame(CPosition& point) {
    point.offset(-viewRect.left, -viewRect.top);
    if (isContainer(parent)) parent->convertFromFrame(point);
}

void CViewContainer::convertToFrame(CPosition& point) {
    point.offset(viewRect.left, viewRect.top);
    if (isContainer(parent)) parent->convertToFrame(point);
}

void CViewContainer::focusLost() {
    for (Node* n = firstChild; n; n = n->next) n->view->focusLost();
}

void CViewContainer::focusGained() {
    for (Node* n = firstChild; n; n = n->next) n->view->focusGained();
}

bool CViewContainer::attachTo(CView* newParent) {
    // Refused before anything changes: an attached container keeps its frame.
    if (!newParent || attached) return false;
    frame = newParent->getFrame();
    if (offscreenDrawing && !offscreen) createOffscreen();
    for (Node* n = firstChild; n; n = n->next) n->view->attachTo(this);
    parent = newParent;
    attached = true;
    return true;
}

bool CViewContainer::detachFrom(CView* oldParent) {
    (void)oldParent;
    releaseOffscreen();
    frame = nullptr;
    for (Node* n = firstChild; n; n = n->next) n->view->detachFrom(this);
    // Routing state names children of a tree this container is leaving.
    mouseDownView = nullptr;
    dragTargetView = nullptr;
    if (!attached) return false;
    parent = nullptr;
    attached = false;
    return true;
}

bool CViewContainer::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CViewContainer") == 0) return true;
    return CView::isKindOf(className);
}

CView* CViewContainer::clone() const { return new CViewContainer(*this); }

}  // namespace toolkit

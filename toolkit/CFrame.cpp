#include "toolkit/CFrame.h"

#include <cstring>

#include "toolkit/CDrawContext.h"
#include "toolkit/EditorInterface.h"
#include "toolkit/FramePlatform.h"
#include "toolkit/GDIPlusGlobals.h"
#include "toolkit/Messages.h"
#include "toolkit/MouseObserver.h"
#include "toolkit/ViewGuard.h"

namespace toolkit {

namespace {

// One guard for every frame of the process: a focus change started while
// another is running (from a focusLost or notify handler) is ignored.
bool focusChangeRunning = false;

bool isContainer(const CView* view) { return view && view->isKindOf("CViewContainer"); }

// True when view is `ancestor` or lies below it.
bool isWithin(const CView* view, const CView* ancestor) {
    for (const CView* v = view; v; v = v->getParent())
        if (v == ancestor) return true;
    return false;
}

CPosition fromFrame(CView* view, CPosition where) {
    view->convertFromFrame(where);
    return where;
}

}  // namespace

CFrame::CFrame(const CRectangle& size, PlatformWindow parentWindow, EditorInterface* editor)
    : CViewContainer(size), editorInterface(editor) {
    construct(parentWindow, nullptr);
}

CFrame::CFrame(const CRectangle& size, PlatformWindow parentWindow, EditorInterface* editor,
               FramePlatform* windowLayer)
    : CViewContainer(size), editorInterface(editor) {
    construct(parentWindow, windowLayer);
}

void CFrame::construct(PlatformWindow parentWindow, FramePlatform* windowLayer) {
    platform = windowLayer ? windowLayer : createFramePlatform();
    platform->bind(*this);
    frame = this;
    attached = true;
    platform->initialiseDragService();
    tracking = false;
    acquireGraphicsLibrary();
    if (parentWindow) {
        platform->createWindow(parentWindow);
        if (platform->window()) setDropActive(true);
    }
}

CFrame::~CFrame() {
    if (modalView) removeChild(modalView, false);
    platform->restoreCursor();
    if (dropActive && platform->window()) {
        platform->revokeDropTarget();
        dropActive = false;
    }
    frame = nullptr;
    modalView = nullptr;
    focusView = nullptr;
    mouseOverView = nullptr;
    CViewContainer::removeAllChildren(true);
    platform->uninitialiseDragService();
    platform->releaseBackBuffer();
    platform->destroyWindow();
    releaseGraphicsLibrary();
    delete platform;
    platform = nullptr;
}

bool CFrame::isOpen() const { return open; }

void CFrame::idle() {
    if (open) repaintDirtyChildren();
}

void CFrame::runEditorIdle() {
    if (editorInterface) editorInterface->runIdleTasks();
}

uint32_t CFrame::ticks() { return platform->ticks(); }

int32_t CFrame::knobMode() { return editorInterface ? editorInterface->getKnobMode() : 0; }

bool CFrame::moveHostWindow(int32_t, int32_t) { return false; }

bool CFrame::hostWindowPosition(int32_t& x, int32_t& y) {
    if (!open) return false;
    return platform->hostWindowPosition(x, y);
}

bool CFrame::setFrameSize(int32_t width, int32_t height) {
    if (!open) return false;
    if (width == viewRect.width() && height == viewRect.height()) return false;
    const CRectangle newRect(viewRect.left, viewRect.top, viewRect.left + width,
                             viewRect.top + height);
    platform->releaseBackBuffer();
    if (platform->resizeWindowChain(width, height)) return true;
    CViewContainer::setViewRect(newRect, true);
    return true;
}

bool CFrame::hostWindowRect(CRectangle& rect) {
    if (!open) return false;
    return platform->hostWindowRect(rect);
}

bool CFrame::setModalView(CView* view) {
    if (view && (modalView || view->isAttached())) return false;
    if (modalView) removeChild(modalView, false);
    modalView = view;
    if (!view) return true;
    if (addChild(view)) return true;
    modalView = nullptr;
    return false;
}

CView* CFrame::getModalView() const { return modalView; }

void CFrame::beginEdit(int32_t index) {
    if (editorInterface) editorInterface->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
    if (editorInterface) editorInterface->endEdit(index);
}

bool CFrame::mouseLocation(CPosition& where) { return platform->mouseLocation(where); }

int32_t CFrame::mouseButtons() { return platform->mouseButtons(); }

void CFrame::setCursor(CursorType type) { platform->setCursor(type); }

void CFrame::setFocusView(CView* view) {
    if (view == focusView || focusChangeRunning) return;
    focusChangeRunning = true;
    CView* old = focusView;
    ViewGuard keepNew(view);
    ViewGuard keepOld(old);
    focusView = view;
    if (view && view->acceptsFocus()) {
        view->setDirty(true);
        for (CView* p = view->getParent(); p && p != this; p = p->getParent())
            p->notify(view, kMsgNewFocusView);
    }
    if (old) {
        if (old->acceptsFocus()) {
            old->setDirty(true);
            for (CView* p = old->getParent(); p && p != this; p = p->getParent())
                p->notify(old, kMsgOldFocusView);
        }
        old->focusLost();
    }
    focusChangeRunning = false;
}

CView* CFrame::getFocusView() const { return focusView; }

void CFrame::viewRemoved(CView* view) {
    if (!view) return;
    if (isWithin(mouseOverView, view)) mouseOverView = nullptr;
    if (isWithin(focusView, view)) focusView = nullptr;
    if (isWithin(modalView, view)) modalView = nullptr;
}

bool CFrame::setDropActive(bool state) {
    if (!dropActive && !state) return true;
    if (!platform->window()) return false;
    if (dropActive) platform->revokeDropTarget();
    if (state) platform->registerDropTarget();
    dropActive = state;
    return true;
}

bool CFrame::isDropActive() const { return dropActive; }

void CFrame::setOpen(bool state) { open = state; }

bool CFrame::markDirtyIn(const CRectangle& r) {
    for (Node* n = firstChild; n; n = n->next) {
        const CRectangle& v = n->view->getViewRect();
        if (r.right >= v.left && r.left <= v.right && r.bottom >= v.top && r.top <= v.bottom)
            n->view->setDirty(true);
    }
    return false;
}

MouseObserver* CFrame::getMouseObserver() const { return mouseObserver; }

void CFrame::setMouseObserver(MouseObserver* observer) { mouseObserver = observer; }

// ---- drawing and invalidation ------------------------------------------------

void CFrame::draw(CDrawContext* context) { drawInRect(context, viewRect); }

void CFrame::drawInRect(CDrawContext* context, const CRectangle& update) {
    CDrawContext* c = context;
    if (c)
        c->retain();
    else
        c = makeDrawContext();
    if (!c) return;
    const CRectangle saved = c->clipRect();
    c->setClipRect(intersection(update, saved));
    if (update.width() > 0 && update.height() > 0) CViewContainer::drawInRect(c, update);
    c->setClipRect(saved);
    c->release();
}

void CFrame::invalidateRect(CRectangle rect) {
    if (visible) platform->invalidateRect(rect);
}

void CFrame::invalidate() {
    if (visible) platform->invalidateRect(viewRect);
    setDirty(false);
}

CDrawContext* CFrame::makeDrawContext() { return platform->makeDrawContext(); }

PlatformWindow CFrame::getParentWindow() const { return platform->parentWindow(); }

PlatformWindow CFrame::getWindow() const { return platform->window(); }

// ---- mouse -------------------------------------------------------------------

MouseResult CFrame::mouseDown(CPosition where, int32_t buttons) {
    mouseDownView = nullptr;
    if (focusView) setFocusView(nullptr);
    if (CView* hover = mouseOverView) {
        ViewGuard guard(hover);
        hover->mouseExited(where, buttons);
        if (mouseObserver) mouseObserver->onMouseExited(hover, this);
        mouseOverView = nullptr;
    }
    if (mouseObserver) mouseObserver->onMouseDown(this, where);
    if (CView* modal = modalView) {
        ViewGuard guard(modal);
        if (modal->hitTest(where, buttons) && modal->mouseDown(where, buttons) == kMouseHandled &&
            modalView == modal) {
            mouseDownView = modal;
            return kMouseHandled;
        }
        return kMouseNotHandled;
    }
    return CViewContainer::mouseDown(where, buttons);
}

MouseResult CFrame::mouseMoved(CPosition where, int32_t buttons) {
    if (!tracking) {
        platform->requestMouseLeave();
        tracking = true;
    }
    if (mouseObserver) mouseObserver->onMouseMoved(this, where);
    if (CView* modal = modalView) {
        ViewGuard guard(modal);
        return modal->mouseMoved(where, buttons);
    }
    const MouseResult routed = CViewContainer::mouseMoved(where, buttons);
    if (routed != kMouseNotHandled) return routed;

    CView* view = findViewAt(where, true);
    if (view != mouseOverView) {
        if (CView* old = mouseOverView) {
            ViewGuard guard(old);
            old->mouseExited(fromFrame(old, where), buttons);
            if (mouseObserver) mouseObserver->onMouseExited(old, this);
        }
        mouseOverView = nullptr;
        if (view) {
            ViewGuard guard(view);
            // Recorded before the call: a view that removes itself while
            // being entered is forgotten again through viewRemoved.
            mouseOverView = view;
            view->mouseEntered(fromFrame(view, where), buttons);
            if (mouseObserver) mouseObserver->onMouseEntered(view, this);
        }
        return kMouseHandled;
    }
    if (view) {
        ViewGuard guard(view);
        return view->mouseMoved(fromFrame(view, where), mouseDownView ? buttons : 0);
    }
    return kMouseNotHandled;
}

MouseResult CFrame::mouseExited(CPosition where, int32_t buttons) {
    if (CView* hover = mouseOverView) {
        ViewGuard guard(hover);
        hover->mouseExited(fromFrame(hover, where), buttons);
        if (mouseObserver) mouseObserver->onMouseExited(hover, this);
    }
    mouseOverView = nullptr;
    tracking = false;
    return kMouseHandled;
}

bool CFrame::wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons) {
    if (mouseDownView) return false;
    CView* target = modalView ? modalView : findViewAt(where, false);
    if (!target) return false;
    ViewGuard guard(target);
    return target->wheelOnAxis(where, axis, distance, buttons);
}

// ---- keys and focus ------------------------------------------------------------

int32_t CFrame::keyDown(VstKeyCode& key) {
    if (CView* focus = focusView) {
        ViewGuard guard(focus);
        const int32_t result = focus->keyDown(key);
        if (result != -1) return result;
    }
    if (CView* modal = modalView) {
        ViewGuard guard(modal);
        const int32_t result = modal->keyDown(key);
        if (result != -1) return result;
    }
    if (key.virt == kVirtualKeyTab)
        return moveFocus(focusView, (key.modifier & kKeyModifierShift) != 0) ? 1 : -1;
    return -1;
}

int32_t CFrame::keyUp(VstKeyCode& key) {
    if (CView* focus = focusView) {
        ViewGuard guard(focus);
        const int32_t result = focus->keyUp(key);
        if (result != -1) return result;
    }
    if (CView* modal = modalView) {
        ViewGuard guard(modal);
        const int32_t result = modal->keyUp(key);
        if (result != -1) return result;
    }
    return -1;
}

bool CFrame::moveFocus(CView* old, bool reverse) {
    if (modalView) {
        if (isContainer(modalView))
            return static_cast<CViewContainer*>(modalView)->moveFocus(old, reverse);
        if (old == modalView) return false;
        setFocusView(modalView);
        return true;
    }
    if (!old) {
        if (!focusView) return CViewContainer::moveFocus(nullptr, reverse);
        old = focusView;
    }
    if (hasChild(old)) {
        if (CViewContainer::moveFocus(old, reverse)) return true;
        setFocusView(nullptr);
        return false;
    }
    // Nested: let each enclosing container look past the branch the focus is
    // in; the frame, reached last, looks past its own child and clears the
    // focus when the end of the tree has been passed.
    CView* came = old;
    for (CView* a = old->getParent(); isContainer(a); came = a, a = a->getParent())
        if (static_cast<CViewContainer*>(a)->moveFocus(came, reverse)) return true;
    return CViewContainer::moveFocus(old, reverse);
}

// ---- children ------------------------------------------------------------------

bool CFrame::removeChild(CView* view, bool forget) {
    if (view && view == modalView) modalView = nullptr;
    return CViewContainer::removeChild(view, forget);
}

bool CFrame::removeAllChildren(bool forget) {
    modalView = nullptr;
    focusView = nullptr;
    mouseOverView = nullptr;
    return CViewContainer::removeAllChildren(forget);
}

EditorInterface* CFrame::editor() { return editorInterface; }

bool CFrame::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CFrame") == 0) return true;
    return CViewContainer::isKindOf(className);
}

CView* CFrame::clone() const { return nullptr; }

}  // namespace toolkit

// CFrame: the root of a view tree, a container bound to one native child
// window inside the host's window (through FramePlatform).
//
// The frame owns the modal view, the keyboard focus and the view under the
// mouse, and decides who receives mouse, wheel and key events. Its space is
// the window's client area. It is attached to itself from construction, so
// views added to it attach at once. It is not reference counted in practice:
// the editor creates it and deletes it directly.
//
// Mouse routing (where in frame coordinates):
//   mouseDown  clears the focus and the hover view (mouseExited), then the
//              modal view alone (1 only if it is hit and answers 1; else 2),
//              else the container routing.
//   mouseMoved arms leave tracking once; modal view alone if set; else the
//              mouse-down view (a drag: no enter/exit while it lasts); else
//              hover: on a change, exit the old view and enter the new (1,
//              no mouseMoved); same view: mouseMoved with buttons only while
//              a mouse-down view exists; no view: 2.
//   mouseExited (pointer left the window) exits the hover view, re-arms
//              tracking, 1.
//   wheel      false during a drag; modal view, else the topmost child.
//   keyDown    focus view, then modal view; Tab (virtual key 2) moves the
//              focus, backwards with Shift (modifier 0x1).
// Views removed from the tree (directly or with an ancestor) stop being the
// modal, focus, hover or mouse-down target at once.
#pragma once

#include <cstdint>

#include "toolkit/CViewContainer.h"
#include "toolkit/CursorType.h"
#include "toolkit/PlatformHandles.h"

namespace toolkit {

class CDrawContext;
class EditorInterface;
class FramePlatform;
class MouseObserver;

class CFrame : public CViewContainer {
public:
    // parentWindow null: no native window (no painting, no input).
    CFrame(const CRectangle& size, PlatformWindow parentWindow, EditorInterface* editor);
    // The same with a given window layer (the frame owns it; null makes the
    // default one).
    CFrame(const CRectangle& size, PlatformWindow parentWindow, EditorInterface* editor,
           FramePlatform* platform);
    CFrame(const CFrame&) = delete;
    ~CFrame() override;

    virtual bool isOpen() const;
    // Repaints dirty views while open.
    virtual void idle();
    virtual void runEditorIdle();
    virtual uint32_t ticks();
    virtual int32_t knobMode();
    // Not supported: false.
    virtual bool moveHostWindow(int32_t x, int32_t y);
    virtual bool hostWindowPosition(int32_t& x, int32_t& y);
    // false when unchanged or not open.
    virtual bool setFrameSize(int32_t width, int32_t height);
    virtual bool hostWindowRect(CRectangle& rect);
    // Refused while another modal view exists or for an attached view.
    virtual bool setModalView(CView* view);
    virtual CView* getModalView() const;
    virtual void beginEdit(int32_t index);
    virtual void endEdit(int32_t index);
    virtual bool mouseLocation(CPosition& where);
    virtual int32_t mouseButtons();
    virtual void setCursor(CursorType type);
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const;
    // Forgets the view (and anything below it) as focus, hover, modal and
    // mouse-down target, without notifications.
    virtual void viewRemoved(CView* view);
    virtual bool setDropActive(bool state);
    virtual bool isDropActive() const;
    virtual void setOpen(bool state);
    // Marks dirty every direct child whose viewRect overlaps rect; false.
    virtual bool markDirtyIn(const CRectangle& rect);
    virtual MouseObserver* getMouseObserver() const;
    virtual void setMouseObserver(MouseObserver* observer);

    void draw(CDrawContext* context) override;
    // A null context uses one from makeDrawContext().
    void drawInRect(CDrawContext* context, const CRectangle& update) override;
    void invalidateRect(CRectangle rect) override;
    void invalidate() override;
    MouseResult mouseDown(CPosition where, int32_t buttons) override;
    MouseResult mouseMoved(CPosition where, int32_t buttons) override;
    MouseResult mouseExited(CPosition where, int32_t buttons) override;
    bool wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons) override;
    int32_t keyDown(VstKeyCode& key) override;
    int32_t keyUp(VstKeyCode& key) override;
    bool moveFocus(CView* current, bool reverse = false) override;
    bool removeChild(CView* view, bool forget = true) override;
    bool removeAllChildren(bool forget = true) override;
    EditorInterface* editor() override;
    bool isKindOf(const char* className) const override;
    // A frame cannot be copied: null.
    CView* clone() const override;

    // A new drawing context for the window, count 1; the caller releases it.
    CDrawContext* makeDrawContext();

    FramePlatform* getPlatform() const { return platform; }
    PlatformWindow getParentWindow() const;
    PlatformWindow getWindow() const;
    CView* getMouseOverView() const { return mouseOverView; }

protected:
    EditorInterface* editorInterface = nullptr;
    MouseObserver* mouseObserver = nullptr;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    CView* mouseOverView = nullptr;
    bool open = true;
    bool dropActive = false;
    bool tracking = false;
    FramePlatform* platform = nullptr;

private:
    void construct(PlatformWindow parentWindow, FramePlatform* platform);
    void clearHover(CPosition where, int32_t buttons, bool convert);
};

}  // namespace toolkit

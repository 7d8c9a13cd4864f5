// CView: the leaf of the toolkit's view tree, and the base of containers,
// the frame and every control.
//
// A view has a rectangle in its parent's coordinate space (`viewRect`) and a
// separate rectangle in which it accepts the mouse (`mouseArea`, initially
// equal; setViewRect does not move it). It draws itself through a drawing
// context, asks for repainting by passing rectangles up to its parent (or the
// frame), and answers mouse, wheel, key, focus and drag events with neutral
// defaults that subclasses override. It never calls the window system or the
// graphics library itself.
//
// Ownership: the creator holds the first reference. A container that takes
// the view as a child adds its own and drops both when the child is removed
// with `forget` or the container dies, so the usual idiom is: create, add,
// never release. A view retains its background bitmap while it is set.
//
// Attachment: a view is attached while it is part of a tree that reaches a
// frame. While detached, invalidateRect does nothing and editor() is null;
// a second attachTo while attached is refused.
//
// Dirty flag: set by setDirty(true), by a real change through setVisible, by
// setBackground and by setViewRect with its flag; cleared by draw and by
// invalidate. setVisible never invalidates the area the view covered.
//
// Accessors whose natural name is also the name of the stored field carry a
// get prefix (getViewRect, getMouseArea); the others use the plain name.
#pragma once

#include <cstdint>

#include "toolkit/AutosizeFlags.h"
#include "toolkit/ButtonState.h"
#include "toolkit/CBaseObject.h"
#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/MouseResult.h"
#include "toolkit/VstKeyCode.h"
#include "toolkit/WheelAxis.h"

namespace toolkit {

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;
class EditorInterface;

class CView : public CBaseObject {
public:
    explicit CView(const CRectangle& size);
    // A copy as clone() describes it: count 1, clean, detached, visible.
    CView(const CView& other);
    CView& operator=(const CView&) = delete;

    ~CView() override;

    // Draws the background (if any) into viewRect with source offset (0, 0),
    // through drawTransparent when the transparent flag is set; then clean.
    virtual void draw(CDrawContext* context);
    // update is in the parent's space. The base view ignores it and draws.
    virtual void drawInRect(CDrawContext* context, const CRectangle& update);
    // Touching edges count as overlap.
    virtual bool overlapsRect(const CRectangle& rect) const;
    virtual bool isDirty() const;
    virtual void setDirty(bool state = true);
    // rect is in the parent's space; forwarded only while attached and visible.
    virtual void invalidateRect(CRectangle rect);
    // Clears the dirty flag, then invalidates viewRect.
    virtual void invalidate();
    virtual void setVisible(bool state);

    // Mouse operations; where is in the parent's space. The base answers
    // kMouseNotImplemented.
    virtual MouseResult mouseDown(CPosition where, int32_t buttons);
    virtual MouseResult mouseUp(CPosition where, int32_t buttons);
    virtual MouseResult mouseMoved(CPosition where, int32_t buttons);
    virtual MouseResult mouseEntered(CPosition where, int32_t buttons);
    virtual MouseResult mouseExited(CPosition where, int32_t buttons);
    // where inside mouseArea, all four edges included; buttons not looked at.
    virtual bool hitTest(CPosition where, int32_t buttons);
    // Axis kWheelHorizontal negates the distance, then calls wheel().
    virtual bool wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons);
    virtual bool wheel(CPosition where, float distance, int32_t buttons);

    virtual void setMouseEnabled(bool state);
    virtual bool isMouseEnabled() const;
    virtual void setMouseArea(const CRectangle& rect);
    virtual CRectangle& getMouseArea();
    virtual void copyMouseArea(CRectangle& out) const;

    // Drag operations; where in the parent's space. The base accepts nothing.
    virtual bool drop(CDragContainer* drag, CPosition where);
    virtual void dragEnter(CDragContainer* drag, CPosition where);
    virtual void dragLeave(CDragContainer* drag, CPosition where);
    virtual void dragMove(CDragContainer* drag, CPosition where);

    // -1 means not handled; any other value is the handler's answer.
    virtual int32_t keyDown(VstKeyCode& key);
    virtual int32_t keyUp(VstKeyCode& key);

    // Stores the rectangle (mouseArea stays where it was); markDirty sets dirty.
    virtual void setViewRect(const CRectangle& rect, bool markDirty = true);
    virtual CRectangle& getViewRect();
    virtual void copyViewRect(CRectangle& out) const;
    // The part of viewRect visible through every ancestor, in the parent's
    // space; (0, 0, 0, 0) with neither a container parent nor a frame.
    virtual void visibleRect(CRectangle& out);
    virtual void parentResized();
    // Frame coordinates to this view's parent space and back.
    virtual void convertFromFrame(CPosition& point);
    virtual void convertToFrame(CPosition& point);
    virtual void setAutosizeFlags(int32_t flags);
    virtual int32_t autosizeFlags() const;
    virtual void focusLost();
    virtual void focusGained();
    virtual bool acceptsFocus() const;
    virtual void setAcceptsFocus(bool state);
    // Releases the old bitmap, retains the new one (null allowed), dirty.
    virtual void setBackground(CBitmap* bitmap);
    virtual CBitmap* background() const;
    virtual void setTransparent(bool state);
    virtual bool isTransparent() const;
    virtual bool detachFrom(CView* parent);
    // parent must be a container (or the frame) whose frame becomes ours.
    virtual bool attachTo(CView* parent);
    virtual EditorInterface* editor();
    // Exact class-name comparison; each subclass answers its own name and
    // defers to its base.
    virtual bool isKindOf(const char* className) const;
    // A new, detached, visible, clean copy with reference count 1.
    virtual CView* clone() const;

    // Copies size bytes under id: an existing id whose buffer is too small
    // gets a new buffer (old content dropped); a new id is appended. A null
    // bytes pointer with a positive size, or a negative size, is refused.
    bool setAttribute(int32_t id, int32_t size, const void* bytes);
    // Size of attribute id, -1 when there is none. Copies at most
    // bufferSize bytes into buffer (when given).
    int32_t getAttribute(int32_t id, int32_t bufferSize = 0, void* buffer = nullptr) const;

    bool isVisible() const { return visible; }
    bool isAttached() const { return attached; }
    CFrame* getFrame() const { return frame; }
    CView* getParent() const { return parent; }

protected:
    CRectangle viewRect;
    CRectangle mouseArea;
    CFrame* frame = nullptr;
    CView* parent = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool transparent = false;
    bool focusable = false;
    bool attached = false;
    bool visible = true;
    int32_t autosize = 0;
    CBitmap* backgroundBitmap = nullptr;

    struct Attribute {
        int32_t id;
        int32_t size;      // bytes in use
        int32_t capacity;  // bytes allocated
        unsigned char* bytes;
        Attribute* next;
    };
    Attribute* attributes = nullptr;

private:
    void freeAttributes();
};

}  // namespace toolkit

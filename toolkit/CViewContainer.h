// CViewContainer: the inner node of the view tree, a view that owns an
// ordered list of children.
//
// List order is drawing order (first drawn first) and the reverse of mouse
// order (last added is hit first). Every call passed to a child uses the
// child's coordinates, that is where - origin, the origin being this
// container's viewRect top-left.
//
// Ownership: addChild takes a reference of its own; removeChild(view, true)
// drops the container's and the creator's, removeChild(view, false) only the
// container's. The destructor removes every child with forget.
//
// Routing state (the mouse-down child, the drag target) never outlives the
// child: removing or detaching clears it, and a child that removes itself
// while handling an event is not recorded afterwards.
//
// Resizing (setViewRect with a new size) moves and stretches the children by
// their follow flags, or, with kSpreadColumns / kSpreadRows on the container,
// shares the change evenly: with n children, child i is shifted by
// (d / n) * i and grows by d / n (integer division).
//
// Mouse routing:
//   event      target                                   answer
//   mouseDown  topmost visible, enabled child hit        child's answer (1 records
//                                                        it as mouse-down child), 2 if none
//   mouseMoved the mouse-down child                      1 if it answers 1, else the
//                                                        child is forgotten and 2
//   mouseUp    the mouse-down child, then forgotten      1; 2 without one
// A modifier click (any of bits 0x08..0x80) on a control with a listener is
// first offered to the listener's modifierClicked; non-zero consumes it (1).
#pragma once

#include <cstdint>

#include "toolkit/CRgba.h"
#include "toolkit/CView.h"

namespace toolkit {

class COffscreenContext;

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRectangle& size);
    // A copy holding clones of all children (see clone()).
    CViewContainer(const CViewContainer& other);
    ~CViewContainer() override;

    // Inserted before the first node holding `before`, or before the last
    // node when `before` is not a child; an empty list simply receives it.
    virtual bool addChildBefore(CView* view, CView* before);
    // addChild, then the child's mouse-enabled flag and mouse area.
    virtual bool addChildWithMouseArea(CView* view, const CRectangle& mouseArea, bool mouseEnabled = true);
    // Refuses null and views already attached. Appends and retains; in an
    // attached container the child is attached and invalidated.
    virtual bool addChild(CView* view);
    // false when view is not a direct child.
    virtual bool removeChild(CView* view, bool forget = true);
    virtual bool removeAllChildren(bool forget = true);
    virtual bool hasChild(CView* view) const;
    virtual int32_t childCount() const;
    // Zero-based list order; null beyond the list.
    virtual CView* childAt(int32_t index) const;
    // where in the parent's space. The topmost visible child whose mouseArea
    // contains the point; with deep, a container child answers for itself
    // (possibly null: the walk does not go on). Null without a frame or
    // while hidden.
    virtual CView* findViewAt(CPosition where, bool deep = false);
    virtual CViewContainer* findContainerAt(CPosition where, bool deep = false);
    virtual void setBackgroundColor(const CRgba& colour);
    virtual CRgba backgroundColor() const;
    // Source offset into the background bitmap.
    virtual void setBackgroundOffset(const CPosition& offset);
    virtual CPosition& backgroundOffset();
    // rect in this container's own space.
    virtual void paintBackground(CDrawContext* context, const CRectangle& rect);
    // Turning it off releases the offscreen context at once.
    virtual void setOffscreenDrawing(bool state);
    // Gives the focus to the next (previous with reverse) child after
    // `current` that accepts it; true when the focus moved.
    virtual bool moveFocus(CView* current, bool reverse = false);
    // Turns dirty, visible children into invalid rectangles.
    virtual bool repaintDirtyChildren();
    // out := the part of rect (this container's space) visible through all
    // ancestors, in this container's space.
    virtual void clipToVisible(CRectangle& out, CRectangle rect);
    virtual bool childNeedsUpdate(CView* child, const CRectangle& rect);
    // where in the parent's space; last child to first.
    virtual bool hitTestChildren(CPosition where, int32_t buttons);

    int32_t notify(CBaseObject* sender, const char* message) override;
    void draw(CDrawContext* context) override;
    void drawInRect(CDrawContext* context, const CRectangle& update) override;
    bool isDirty() const override;
    void invalidateRect(CRectangle rect) override;
    void invalidate() override;
    MouseResult mouseDown(CPosition where, int32_t buttons) override;
    MouseResult mouseUp(CPosition where, int32_t buttons) override;
    MouseResult mouseMoved(CPosition where, int32_t buttons) override;
    bool wheelOnAxis(CPosition where, WheelAxis axis, float distance, int32_t buttons) override;
    bool wheel(CPosition where, float distance, int32_t buttons) override;
    bool drop(CDragContainer* drag, CPosition where) override;
    void dragEnter(CDragContainer* drag, CPosition where) override;
    void dragLeave(CDragContainer* drag, CPosition where) override;
    void dragMove(CDragContainer* drag, CPosition where) override;
    int32_t keyDown(VstKeyCode& key) override;
    int32_t keyUp(VstKeyCode& key) override;
    void setViewRect(const CRectangle& rect, bool markDirty = true) override;
    void parentResized() override;
    void convertFromFrame(CPosition& point) override;
    void convertToFrame(CPosition& point) override;
    void focusLost() override;
    void focusGained() override;
    bool detachFrom(CView* parent) override;
    bool attachTo(CView* parent) override;
    bool isKindOf(const char* className) const override;
    CView* clone() const override;

    CView* getMouseDownView() const { return mouseDownView; }
    CView* getDragTargetView() const { return dragTargetView; }
    bool isOffscreenDrawing() const { return offscreenDrawing; }

protected:
    struct Node {
        CView* view;
        Node* next;
        Node* previous;
    };

    Node* findNode(CView* view) const;
    // Unlinks and frees node, forgetting routing state that named its view.
    void unlinkNode(Node* node);
    void createOffscreen();
    void releaseOffscreen();
    // The parent container's (or the frame's) invalidateRect.
    void invalidateUpward(const CRectangle& rect);
    // True when `view` is this container or lies below it.
    bool isAncestorOf(const CView* view) const;
    // Tells the current drag target, if any, that the drag left it; the
    // target stays recorded until the caller replaces it.
    void leaveDragTarget(CDragContainer* drag, CPosition local);
    // Records `view` (may be null) as the drag target and tells it the drag
    // entered.
    void enterDragTarget(CView* view, CDragContainer* drag, CPosition local);

    Node* firstChild = nullptr;
    Node* lastChild = nullptr;
    COffscreenContext* offscreen = nullptr;
    CRgba backgroundColour = kColorBlack;
    CPosition backgroundOffsetPoint;
    bool offscreenDrawing = false;
    CView* dragTargetView = nullptr;
    CView* mouseDownView = nullptr;

    friend class CFrame;
};

}  // namespace toolkit

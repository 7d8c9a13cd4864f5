// FramePlatform: the services a frame asks of the native window layer.
//
// Each frame owns one FramePlatform, made by createFramePlatform() when the
// frame is constructed (or handed to the frame's injecting constructor). The
// window layer of each build defines createFramePlatform once: the Windows
// build in toolkit/platform/ (a child window with its window procedure, OLE
// and the drop target), the native build as StandInFramePlatform, which has
// no real window and which tests drive with scripted input.
//
// The window procedure side (paint, button, move, wheel, leave messages, the
// capture that follows a mouse-down answered with 1, the destroy message that
// calls the frame's setOpen(false)) belongs to the implementation; the frame
// only calls the operations below. Window handles are opaque pointers.
#pragma once

#include <cstdint>

#include "toolkit/CPosition.h"
#include "toolkit/CRectangle.h"
#include "toolkit/CursorType.h"
#include "toolkit/PlatformHandles.h"

namespace toolkit {

class CDrawContext;
class CFrame;

class FramePlatform {
public:
    virtual ~FramePlatform() = default;

    // Called by the frame's constructor before any other operation.
    virtual void bind(CFrame& frame) { boundFrame = &frame; }
    CFrame* getBoundFrame() const { return boundFrame; }

    // Thread-wide initialisation of the drag-and-drop service; balanced.
    virtual void initialiseDragService() = 0;
    virtual void uninitialiseDragService() = 0;

    // Creates the frame's child window inside parentWindow with the frame's
    // current size at (0, 0); the frame then registers it as a drop target.
    // A failure leaves window() null.
    virtual void createWindow(PlatformWindow parentWindow) = 0;
    // Destroys the window (if it still exists) and what belongs to it.
    virtual void destroyWindow() = 0;
    // The frame's own window, null without one.
    virtual PlatformWindow window() const = 0;
    // The host's window; null once the window system destroyed ours.
    virtual PlatformWindow parentWindow() const = 0;

    // Asks for a repaint of rect (frame coordinates), background erase on.
    virtual void invalidateRect(const CRectangle& rect) = 0;
    // Asks for a single notification when the pointer leaves the window.
    virtual void requestMouseLeave() = 0;
    // Milliseconds since the system started.
    virtual uint32_t ticks() = 0;
    // Top-left of the host's outer window in its parent's client space.
    virtual bool hostWindowPosition(int32_t& x, int32_t& y) = 0;
    virtual bool hostWindowRect(CRectangle& rect) = 0;
    // The pointer in frame coordinates.
    virtual bool mouseLocation(CPosition& where) = 0;
    // Physical buttons and modifier keys as a button-state set.
    virtual int32_t mouseButtons() = 0;
    // The first call remembers the cursor showing then; kCursorDefault, 7
    // and unknown types show that remembered cursor again.
    virtual void setCursor(CursorType type) = 0;
    // Shows the remembered cursor (or keeps the current one if none).
    virtual void restoreCursor() = 0;
    // Resizes the window chain around the frame to (width, height). true
    // means the chain could not follow and the frame must keep its size.
    virtual bool resizeWindowChain(int32_t width, int32_t height) = 0;
    // Drops the whole-frame back buffer, if one is used.
    virtual void releaseBackBuffer() = 0;
    // Registers (or revokes) the window as a drop target for this frame.
    virtual bool registerDropTarget() = 0;
    virtual void revokeDropTarget() = 0;
    // A new drawing context for the frame's window, reference count 1.
    virtual CDrawContext* makeDrawContext() = 0;

protected:
    CFrame* boundFrame = nullptr;
};

// Defined once per build by the window layer; the frame owns the result.
FramePlatform* createFramePlatform();

}  // namespace toolkit

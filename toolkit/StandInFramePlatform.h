// StandInFramePlatform: a window layer without a window system, for the
// native build and for tests in either build.
//
// It records every request the frame makes (repaints, leave tracking,
// cursor changes, window-chain resizes, drop-target registration) and lets
// a test set what the system would report (clock, pointer position, button
// state, host window geometry). The scripted-input operations deliver
// events the way the Windows window procedure does:
//
//   pressButton     frame.mouseDown; an answer of 1 captures the mouse
//   releaseButton   frame.mouseUp; the capture ends in any case
//   movePointer     pointer position updated, then frame.mouseMoved
//   turnWheel       distance = delta / 120 (integer, toward zero), buttons
//                   = the modifier bits only; frame.wheel
//   leaveWindow     frame.mouseExited(pointer position, button state)
//   paint           a drawing context on the test's surface, then
//                   frame.drawInRect(context, update)
//   destroyBySystem the window vanished: frame.setOpen(false), no parent
//
// A window "exists" after createWindow with a non-null parent; its handle
// is this object's address, opaque to everyone else. Drawing contexts get
// `surface` as their device context and the window handle, so a test may
// instead attach a surface to the window in the drawing backend.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "toolkit/FramePlatform.h"
#include "toolkit/MouseResult.h"

namespace toolkit {

class StandInFramePlatform : public FramePlatform {
public:
    StandInFramePlatform() = default;
    ~StandInFramePlatform() override = default;

    void initialiseDragService() override { ++dragServiceDepth; }
    void uninitialiseDragService() override { --dragServiceDepth; }
    void createWindow(PlatformWindow parent) override;
    void destroyWindow() override;
    PlatformWindow window() const override { return windowHandle; }
    PlatformWindow parentWindow() const override { return parentHandle; }
    void invalidateRect(const CRectangle& rect) override { invalidated.push_back(rect); }
    void requestMouseLeave() override { ++leaveRequests; }
    uint32_t ticks() override { return clock; }
    bool hostWindowPosition(int32_t& x, int32_t& y) override;
    bool hostWindowRect(CRectangle& rect) override;
    bool mouseLocation(CPosition& where) override;
    int32_t mouseButtons() override { return buttonState; }
    void setCursor(CursorType type) override;
    void restoreCursor() override;
    bool resizeWindowChain(int32_t width, int32_t height) override;
    void releaseBackBuffer() override { ++backBufferReleases; }
    bool registerDropTarget() override;
    void revokeDropTarget() override;
    CDrawContext* makeDrawContext() override;

    // Scripted input (see above); where in frame coordinates.
    MouseResult pressButton(CPosition where, int32_t buttons, bool doubleClick = false);
    MouseResult releaseButton(CPosition where, int32_t buttons);
    MouseResult movePointer(CPosition where, int32_t buttons = 0);
    bool turnWheel(CPosition where, int32_t delta, int32_t modifiers = 0);
    MouseResult leaveWindow();
    void paint(const CRectangle& update);
    void destroyBySystem();

    // What the system reports.
    uint32_t clock = 0;
    CPosition pointer;
    int32_t buttonState = 0;
    int32_t hostX = 0;
    int32_t hostY = 0;
    CRectangle hostRect;
    // Device context handed to drawing contexts (null: the window's own).
    PlatformDeviceContext surface = nullptr;
    // When set, a window-chain resize ends early (the frame keeps its size).
    bool chainEndsEarly = false;

    // What the frame asked for.
    int32_t dragServiceDepth = 0;
    std::vector<CRectangle> invalidated;
    int32_t leaveRequests = 0;
    CursorType cursor = kCursorDefault;
    bool cursorSaved = false;
    int32_t cursorRestores = 0;
    std::vector<std::pair<int32_t, int32_t>> chainResizes;
    int32_t backBufferReleases = 0;
    bool dropRegistered = false;
    int32_t dropRegistrations = 0;
    int32_t dropRevocations = 0;
    int32_t windowsCreated = 0;
    int32_t windowsDestroyed = 0;
    bool captured = false;

private:
    PlatformWindow windowHandle = nullptr;
    PlatformWindow parentHandle = nullptr;
};

}  // namespace toolkit

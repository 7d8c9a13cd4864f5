// Win32FramePlatform: the Windows window layer of a CFrame (FramePlatform.h).
//
// It creates the frame's child window (class of WindowClass.h) inside the
// host's window, runs its window procedure, serves the pointer, button,
// cursor, tick and host-window queries, resizes the host's window chain for
// setFrameSize, keeps the whole-frame back buffer of systems older than
// major version 6, holds the frame's OLE initialisation and registers the
// frame's CDropTarget.
//
// Window procedure (the window's GWLP_USERDATA slot holds the CFrame; a
// window without one gets default processing for every message):
//   WM_PAINT          update region empty: answer 0 without painting.
//                     Else BeginPaint, frame drawInRect(context, rcPaint),
//                     EndPaint. Older systems draw into the back buffer and
//                     copy the paint rectangle to the window in one step.
//   WM_ERASEBKGND     answered 1 without drawing (no flicker: the frame
//                     paints every pixel of its update rectangle).
//   button down / double-click (left, right, middle, extra)
//                     frame mouseDown(where, buttons [+ kButtonDoubleClick]);
//                     an answer of kMouseHandled captures the mouse. 0.
//   button up         frame mouseUp, then the capture is released
//                     unconditionally. 0.
//   WM_MOUSEMOVE      frame mouseMoved. 0.
//   WM_MOUSEWHEEL     frame wheel(where, whole notches, modifiers), where =
//                     screen position - window's screen top-left; then
//                     default processing, so the host's windows see it too.
//   WM_MOUSELEAVE     frame mouseExited(mouseLocation, mouseButtons). 0.
//   WM_DESTROY        the frame is marked not open and forgets the host's
//                     window; the drop target is revoked while the window
//                     still exists. Then default processing.
// Positions are client coordinates read as signed 16-bit values; buttons
// come from the message's key-state word plus Alt from the key state.
//
// Host, OS and wine quirks worked around:
//  - The class name carries the module handle: two plug-in libraries in one
//    host process must not share or unregister each other's class.
//  - WS_EX_COMPOSITED only from major version 6 on; older systems flicker
//    without the back buffer, newer ones get double buffering for free.
//  - A host may destroy its window (and so ours) before closing the editor:
//    afterwards the handle is never used again (handles are reused by the
//    system), only the class use is given back.
//  - OLE initialisation may fail when the host made the thread a
//    multithreaded apartment; only a successful one is balanced by
//    OleUninitialize, so the host's own COM initialisation is never undone.
//  - Under wine PrintWindow returns nothing for these windows; tests read
//    the painted pixels with BitBlt from the window DC instead.
//  - The colour request of native edit children (WM_CTLCOLOREDIT) gets
//    default processing: no view of this toolkit places a native edit
//    control in the frame's window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/FramePlatform.h"

namespace toolkit {

class CDropTarget;
class COffscreenContext;

namespace win32 {

// Everything that belongs to one frame's window.
struct WindowState {
    HWND window = nullptr;             // the frame's child window, null when none or gone
    HWND parent = nullptr;             // the host's window; cleared when ours is destroyed
    bool holdsClassUse = false;        // one use of the window class taken for this window
    bool legacy = false;               // system major version below 6: back buffer
    COffscreenContext* backBuffer = nullptr;  // whole-frame buffer of older systems
    HCURSOR savedCursor = nullptr;     // the cursor showing before the first setCursor
    bool cursorSaved = false;
    bool dropRegistered = false;       // a CDropTarget is registered for the window
    bool oleInitialised = false;       // OleInitialize succeeded and must be balanced
};

class Win32FramePlatform : public FramePlatform {
public:
    Win32FramePlatform() = default;
    ~Win32FramePlatform() override;

    void bind(CFrame& frame) override;

    void initialiseDragService() override;
    void uninitialiseDragService() override;

    void createWindow(PlatformWindow parentWindow) override;
    void destroyWindow() override;
    PlatformWindow window() const override { return state.window; }
    PlatformWindow parentWindow() const override { return state.parent; }

    void invalidateRect(const CRectangle& rect) override;
    void requestMouseLeave() override;
    uint32_t ticks() override;
    bool hostWindowPosition(int32_t& x, int32_t& y) override;
    bool hostWindowRect(CRectangle& rect) override;
    bool mouseLocation(CPosition& where) override;
    int32_t mouseButtons() override;
    void setCursor(CursorType type) override;
    void restoreCursor() override;
    bool resizeWindowChain(int32_t width, int32_t height) override;
    void releaseBackBuffer() override;
    bool registerDropTarget() override;
    void revokeDropTarget() override;
    CDrawContext* makeDrawContext() override;

    const WindowState& windowState() const { return state; }

    // The window procedure of the frames' class.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Major version of the running system as frames see it at construction
    // (6 or higher: composited windows; below: the back buffer). A value
    // above 0 replaces the system's answer for frames made afterwards, so
    // the older systems' painting path can be exercised; 0 restores it.
    static int32_t systemMajorVersion();
    static void overrideSystemMajorVersion(int32_t major);

private:
    LRESULT paint(HWND window);
    void windowDestroyed();

    WindowState state;
};

}  // namespace win32
}  // namespace toolkit

// The Windows window layer of a CFrame: child window, window procedure,
// pointer/cursor/host-window services, window-chain resizing, the back
// buffer of older systems, OLE and the drop-target registration. What each
// message does and which host/OS/wine quirks are handled is listed in
// Win32FramePlatform.h.
#include "toolkit/platform/win32/Win32FramePlatform.h"

#include <ole2.h>

#include <cstdlib>
#include <cwchar>

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/CRgba.h"
#include "toolkit/LibraryModule.h"
#include "toolkit/MouseResult.h"
#include "toolkit/platform/win32/CDropTarget.h"
#include "toolkit/platform/win32/MouseInput.h"
#include "toolkit/platform/win32/WindowClass.h"

namespace toolkit {

// The window layer of the Windows build.
FramePlatform* createFramePlatform() { return new win32::Win32FramePlatform(); }

namespace win32 {

namespace {

int32_t majorVersionOverride = 0;

bool keyDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }
bool keyDownNow(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

CFrame* frameOf(HWND window) {
    return reinterpret_cast<CFrame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int32_t width(const RECT& r) { return r.right - r.left; }
int32_t height(const RECT& r) { return r.bottom - r.top; }

// Resizes a window in place, leaving its position, z-order and activation alone.
void resize(HWND window, int32_t w, int32_t h) {
    SetWindowPos(window, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Top-left of a window in the client coordinates of `reference` (the screen
// when reference is null).
POINT topLeftIn(HWND window, HWND reference) {
    RECT r = {};
    GetWindowRect(window, &r);
    POINT p = {r.left, r.top};
    MapWindowPoints(nullptr, reference, &p, 1);
    return p;
}

}  // namespace

int32_t Win32FramePlatform::systemMajorVersion() {
    if (majorVersionOverride > 0) return majorVersionOverride;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) return 6;
    return static_cast<int32_t>(info.dwMajorVersion);
}

void Win32FramePlatform::overrideSystemMajorVersion(int32_t major) {
    majorVersionOverride = major > 0 ? major : 0;
}

Win32FramePlatform::~Win32FramePlatform() {
    // The frame tears everything down in order before deleting its window
    // layer; these only matter for a layer that was never bound to one.
    releaseBackBuffer();
    revokeDropTarget();
    destroyWindow();
    uninitialiseDragService();
}

void Win32FramePlatform::bind(CFrame& frame) {
    FramePlatform::bind(frame);
    // Read at every frame construction: only the major version is used.
    state.legacy = systemMajorVersion() < 6;
}

// ---- OLE ------------------------------------------------------------------

void Win32FramePlatform::initialiseDragService() {
    if (state.oleInitialised) return;
    const HRESULT result = OleInitialize(nullptr);
    // S_FALSE: already initialised on this thread, still to be balanced.
    // RPC_E_CHANGED_MODE (a multithreaded apartment) must not be balanced.
    state.oleInitialised = SUCCEEDED(result);
}

void Win32FramePlatform::uninitialiseDragService() {
    if (!state.oleInitialised) return;
    state.oleInitialised = false;
    OleUninitialize();
}

// ---- the window -----------------------------------------------------------

void Win32FramePlatform::createWindow(PlatformWindow parentWindow) {
    if (state.window || !boundFrame || !parentWindow) return;
    const wchar_t* className = acquireWindowClass(&Win32FramePlatform::windowProc);
    state.holdsClassUse = true;
    state.parent = static_cast<HWND>(parentWindow);

    const CRectangle& size = boundFrame->getViewRect();
    const DWORD exStyle = state.legacy ? 0 : WS_EX_COMPOSITED;
    HWND window = CreateWindowExW(exStyle, className, L"Window",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  size.width(), size.height(), state.parent, nullptr,
                                  static_cast<HINSTANCE>(libraryModule()), nullptr);
    if (!window) {
        // The frame behaves as one without a window; the class use taken
        // for it is given back so that the class can still go away.
        state.holdsClassUse = false;
        releaseWindowClass();
        return;
    }
    state.window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(boundFrame));
}

void Win32FramePlatform::destroyWindow() {
    if (state.window) {
        HWND window = state.window;
        state.window = nullptr;
        // Messages sent while the window goes away must not reach the frame
        // that is being destroyed.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    if (state.holdsClassUse) {
        state.holdsClassUse = false;
        releaseWindowClass();
    }
}

void Win32FramePlatform::windowDestroyed() {
    // Called from WM_DESTROY of a window the system destroys before the
    // frame is done with it (the host closed its own window first).
    revokeDropTarget();
    if (boundFrame) boundFrame->setOpen(false);
    state.parent = nullptr;
}

// ---- services -------------------------------------------------------------

void Win32FramePlatform::invalidateRect(const CRectangle& rect) {
    if (!state.window) return;
    RECT r = {rect.left, rect.top, rect.right, rect.bottom};
    InvalidateRect(state.window, &r, TRUE);
}

void Win32FramePlatform::requestMouseLeave() {
    if (!state.window) return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = state.window;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

uint32_t Win32FramePlatform::ticks() { return GetTickCount(); }

bool Win32FramePlatform::hostWindowPosition(int32_t& x, int32_t& y) {
    HWND first = state.parent;
    if (!first) return false;
    RECT firstRect = {};
    GetWindowRect(first, &firstRect);
    // Climb from the host's window to its outer window: one with a caption,
    // a top-level one, or one whose parent is clearly larger (more than 60
    // pixels), which then is a workspace rather than a window frame.
    HWND outer = first;
    for (;;) {
        const LONG style = GetWindowLongW(outer, GWL_STYLE);
        HWND up = GetParent(outer);
        if ((style & 0xC00000) || !up) break;
        RECT upRect = {};
        GetWindowRect(up, &upRect);
        if (std::abs(width(upRect) - width(firstRect)) > 60 ||
            std::abs(height(upRect) - height(firstRect)) > 60)
            break;
        outer = up;
    }
    const POINT p = topLeftIn(outer, GetParent(outer));
    x = p.x;
    y = p.y;
    return true;
}

bool Win32FramePlatform::hostWindowRect(CRectangle& rect) {
    if (!state.window) return false;
    HWND host = GetParent(state.window);
    if (!host) return false;
    HWND grandparent = GetParent(host);
    if (grandparent) grandparent = GetParent(grandparent);
    RECT r = {};
    GetWindowRect(host, &r);
    const POINT p = topLeftIn(host, grandparent);
    rect = CRectangle(p.x, p.y, p.x + width(r), p.y + height(r));
    return true;
}

bool Win32FramePlatform::mouseLocation(CPosition& where) {
    POINT p = {};
    GetCursorPos(&p);
    if (state.window) {
        RECT r = {};
        GetWindowRect(state.window, &r);
        p.x -= r.left;
        p.y -= r.top;
    }
    where = CPosition(p.x, p.y);
    return true;
}

int32_t Win32FramePlatform::mouseButtons() {
    PhysicalInput input;
    input.left = keyDownNow(VK_LBUTTON);
    input.right = keyDownNow(VK_RBUTTON);
    input.middle = keyDownNow(VK_MBUTTON);
    input.shift = keyDownNow(VK_SHIFT);
    input.control = keyDownNow(VK_CONTROL);
    input.alt = keyDownNow(VK_MENU);
    return physicalButtons(input, mouseButtonsSwapped());
}

void Win32FramePlatform::setCursor(CursorType type) {
    if (!state.cursorSaved) {
        state.savedCursor = GetCursor();
        state.cursorSaved = true;
    }
    int id = 0;
    switch (type) {
        case kCursorWait: id = 32514; break;            // IDC_WAIT
        case kCursorSizeHorizontal: id = 32644; break;  // IDC_SIZEWE
        case kCursorSizeVertical: id = 32645; break;    // IDC_SIZENS
        case kCursorSizeAll: id = 32646; break;         // IDC_SIZEALL
        case kCursorSizeNeSw: id = 32643; break;        // IDC_SIZENESW
        case kCursorSizeNwSe: id = 32642; break;        // IDC_SIZENWSE
        case kCursorNotAllowed: id = 32648; break;      // IDC_NO
        case kCursorHand: id = 32649; break;            // IDC_HAND
        default: break;                                 // the saved cursor
    }
    SetCursor(id ? LoadCursorW(nullptr, MAKEINTRESOURCEW(id)) : state.savedCursor);
}

void Win32FramePlatform::restoreCursor() {
    SetCursor(state.cursorSaved ? state.savedCursor : GetCursor());
}

bool Win32FramePlatform::resizeWindowChain(int32_t w, int32_t h) {
    // Hosts wrap the editor in one or more windows of their own (frame,
    // border, dialog); they grow with it as long as their extra size stays
    // that of window borders. An MDI workspace is never resized.
    const int32_t limit = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    int32_t dx = 0;
    int32_t dy = 0;
    HWND current = state.window;
    if (limit != 0) {
        for (;;) {
            if (!current) return false;
            HWND up = GetParent(current);
            if (!up) break;
            wchar_t className[1024] = {0};
            GetClassNameW(up, className, 1024);
            if (std::wcscmp(className, L"MDIClient") == 0) break;
            RECT currentRect = {};
            RECT upRect = {};
            GetWindowRect(current, &currentRect);
            GetWindowRect(up, &upRect);
            resize(current, w + dx, h + dy);
            dx += width(upRect) - width(currentRect);
            dy += height(upRect) - height(currentRect);
            // A parent much larger than its child is not a wrapper of the
            // editor: stop, and the frame keeps its size.
            if (dx > 80 || dy > 80) return true;
            if (dx < 0) dx = 0;
            if (dy < 0) dy = 0;
            current = up;
            if (dx == limit) break;
        }
    }
    if (current) resize(current, w + dx, h + dy);
    return false;
}

void Win32FramePlatform::releaseBackBuffer() {
    if (!state.backBuffer) return;
    COffscreenContext* buffer = state.backBuffer;
    state.backBuffer = nullptr;
    buffer->release();
}

bool Win32FramePlatform::registerDropTarget() {
    if (!state.window || !boundFrame) return false;
    revokeDropTarget();
    auto* target = new CDropTarget(boundFrame);
    // Hold a reference across the call: a successful registration keeps its
    // own (the only one afterwards), a failed one leaves the target to us.
    target->AddRef();
    state.dropRegistered = RegisterDragDrop(state.window, target) == S_OK;
    target->Release();
    return state.dropRegistered;
}

void Win32FramePlatform::revokeDropTarget() {
    if (!state.dropRegistered) return;
    state.dropRegistered = false;
    if (state.window) RevokeDragDrop(state.window);
}

CDrawContext* Win32FramePlatform::makeDrawContext() {
    return new CDrawContext(boundFrame, nullptr, state.window);
}

// ---- window procedure -----------------------------------------------------

LRESULT Win32FramePlatform::paint(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetUpdateRgn(window, region, FALSE);
    if (kind == NULLREGION || kind == ERROR) {
        DeleteObject(region);
        return 0;
    }
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(window, &ps);
    const CRectangle update(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    CFrame* frame = boundFrame;
    if (state.legacy) {
        if (!state.backBuffer) {
            const CRectangle& size = frame->getViewRect();
            state.backBuffer = new COffscreenContext(frame, size.width(), size.height(), kColorBlack);
        }
        COffscreenContext* buffer = state.backBuffer;
        buffer->retain();
        frame->drawInRect(buffer, update);
        auto* screen = new CDrawContext(frame, dc, window);
        buffer->copyTo(screen, update, CPosition(update.left, update.top));
        screen->release();
        buffer->release();
    } else {
        auto* context = new CDrawContext(frame, dc, window);
        frame->drawInRect(context, update);
        context->release();
    }
    EndPaint(window, &ps);
    DeleteObject(region);
    return 0;
}

LRESULT CALLBACK Win32FramePlatform::windowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    CFrame* frame = frameOf(window);
    if (!frame) return DefWindowProcW(window, message, wParam, lParam);
    // Only frames of this window layer are stored in windows of this class.
    auto* layer = static_cast<Win32FramePlatform*>(frame->getPlatform());

    switch (message) {
        case WM_DESTROY:
            layer->windowDestroyed();
            break;
        case WM_NCDESTROY:
            // Past this message the handle may name another window.
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            layer->state.window = nullptr;
            break;

        case WM_PAINT:
            return layer->paint(window);
        case WM_ERASEBKGND:
            return 1;

        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDBLCLK: {
            int32_t buttons = buttonsFromKeyState(wParam, keyDown(VK_MENU));
            if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK ||
                message == WM_MBUTTONDBLCLK || message == WM_XBUTTONDBLCLK)
                buttons |= kButtonDoubleClick;
            if (frame->mouseDown(messagePosition(lParam), buttons) == kMouseHandled)
                SetCapture(window);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            frame->mouseUp(messagePosition(lParam), buttonsFromKeyState(wParam, keyDown(VK_MENU)));
            ReleaseCapture();
            return 0;
        case WM_MOUSEMOVE:
            frame->mouseMoved(messagePosition(lParam), buttonsFromKeyState(wParam, keyDown(VK_MENU)));
            return 0;
        case WM_MOUSEWHEEL: {
            // The wheel message carries screen coordinates.
            CPosition where = messagePosition(lParam);
            RECT r = {};
            GetWindowRect(window, &r);
            where.offset(-r.left, -r.top);
            const int32_t buttons =
                modifierBits(keyDown(VK_SHIFT), keyDown(VK_CONTROL), keyDown(VK_MENU));
            frame->wheel(where, wheelNotches(wParam), buttons);
            break;
        }
        case WM_MOUSELEAVE: {
            CPosition where;
            frame->mouseLocation(where);
            frame->mouseExited(where, frame->mouseButtons());
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
}  // namespace toolkit

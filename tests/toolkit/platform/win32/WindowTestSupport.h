// Helpers of the window-layer tests under wine: a real top-level window that
// plays the host's editor window, message pumping, a probe view that records
// what reaches it, a frame fixture and a pixel grab of a window.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/CDragContainer.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/CView.h"
#include "toolkit/platform/win32/Win32FramePlatform.h"

namespace toolkit {
namespace testing {

// Dispatches every message waiting for this thread.
inline void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline void registerHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"TovraTestHost";
    RegisterClassW(&wc);
    registered = true;
}

// The test program's one top-level window: captioned, visible, 500 x 400 at
// (100, 80) on the screen, alive until the program ends. Hiding or
// destroying a top-level window costs wine two seconds under a display
// without window manager, so every test puts its windows inside this one.
inline HWND topLevelWindow() {
    static HWND window = nullptr;
    if (!window) {
        registerHostClass();
        window = CreateWindowExW(0, L"TovraTestHost", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                 80, 500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        pumpMessages();
    }
    return window;
}

// A window playing the host's editor window: a visible child of `parent`
// (the top-level window by default) at client (x, y). Destroyed with the
// object unless gone already.
class HostWindow {
public:
    HostWindow(int x, int y, int width, int height, HWND parent = nullptr) {
        registerHostClass();
        handle = CreateWindowExW(0, L"TovraTestHost", L"Host",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y,
                                 width, height, parent ? parent : topLevelWindow(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        pumpMessages();
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow() {
        if (IsWindow(handle)) DestroyWindow(handle);
        pumpMessages();
    }

    HWND hwnd() const { return handle; }

private:
    HWND handle = nullptr;
};

// One event as a probe view received it (where in the view's parent space).
struct ProbeEvent {
    std::string kind;
    CPosition where;
    int32_t buttons = 0;
    float distance = 0.0f;
};

// One dropped item as the probe read it in drop().
struct DroppedItem {
    std::string bytes;
    int32_t size = 0;
    int32_t type = 0;
};

// A view that records mouse, wheel and drag traffic, fills its rectangle
// with `fill` when drawn, and answers mouse-down and drop as configured.
class ProbeView : public CView {
public:
    explicit ProbeView(const CRectangle& size, CRgba fillColour = kColorRed)
        : CView(size), fill(fillColour) {}

    void draw(CDrawContext* context) override {
        ++draws;
        context->setFillColor(fill);
        context->fillRect(viewRect);
        setDirty(false);
    }
    MouseResult mouseDown(CPosition where, int32_t buttons) override {
        record("down", where, buttons);
        return downAnswer;
    }
    MouseResult mouseUp(CPosition where, int32_t buttons) override {
        record("up", where, buttons);
        return kMouseHandled;
    }
    MouseResult mouseMoved(CPosition where, int32_t buttons) override {
        record("moved", where, buttons);
        return kMouseHandled;
    }
    MouseResult mouseEntered(CPosition where, int32_t buttons) override {
        record("entered", where, buttons);
        return kMouseHandled;
    }
    MouseResult mouseExited(CPosition where, int32_t buttons) override {
        record("exited", where, buttons);
        return kMouseHandled;
    }
    bool wheel(CPosition where, float distance, int32_t buttons) override {
        record("wheel", where, buttons, distance);
        return true;
    }
    void dragEnter(CDragContainer* drag, CPosition where) override {
        record("dragEnter", where, 0);
        lastDrag = drag;
    }
    void dragMove(CDragContainer* drag, CPosition where) override {
        record("dragMove", where, 0);
        lastDrag = drag;
    }
    void dragLeave(CDragContainer* drag, CPosition where) override {
        record("dragLeave", where, 0);
        lastDrag = drag;
    }
    bool drop(CDragContainer* drag, CPosition where) override {
        record("drop", where, 0);
        lastDrag = drag;
        dropCount = drag->itemCount();
        dropItemType = drag->itemType(0);
        dropped.clear();
        int32_t size = -1;
        int32_t type = -3;
        for (const char* item = drag->firstItem(size, type); item; item = drag->nextItem(size, type))
            dropped.push_back({item, size, type});
        endType = type;
        return dropAnswer;
    }

    std::vector<std::string> kinds() const {
        std::vector<std::string> out;
        for (const ProbeEvent& e : events) out.push_back(e.kind);
        return out;
    }

    CRgba fill;
    int draws = 0;
    MouseResult downAnswer = kMouseHandled;
    bool dropAnswer = false;
    std::vector<ProbeEvent> events;
    CDragContainer* lastDrag = nullptr;
    int32_t dropCount = -1;
    int32_t dropItemType = -3;
    std::vector<DroppedItem> dropped;
    int32_t endType = -3;  // type reported by the call that ended the iteration

private:
    void record(const char* kind, CPosition where, int32_t buttons, float distance = 0.0f) {
        events.push_back({kind, where, buttons, distance});
    }
};

// A 400 x 300 host window with a 200 x 120 frame in it and one probe view at
// (20, 10)-(60, 50) of the frame. The keyboard state starts released.
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        releaseKeys();
        host = new HostWindow(0, 0, 400, 300);
        frame = new CFrame(CRectangle(0, 0, 200, 120), host->hwnd(), nullptr);
        probe = new ProbeView(CRectangle(20, 10, 60, 50));
        frame->addChild(probe);
        pumpMessages();
    }
    void TearDown() override {
        delete frame;
        delete host;
        releaseKeys();
        ReleaseCapture();
    }

    HWND window() const { return static_cast<HWND>(frame->getWindow()); }
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(window(), message, wParam, lParam);
    }
    // The screen position of a point in frame (client) coordinates.
    POINT toScreen(int x, int y) const {
        POINT p = {x, y};
        ClientToScreen(window(), &p);
        return p;
    }
    // Marks keys of this thread's keyboard state as held (or released).
    static void setKeys(std::initializer_list<int> keys, bool down = true) {
        BYTE state[256];
        GetKeyboardState(state);
        for (int k : keys) state[k] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    static void releaseKeys() { setKeys({VK_SHIFT, VK_CONTROL, VK_MENU}, false); }

    HostWindow* host = nullptr;
    CFrame* frame = nullptr;
    ProbeView* probe = nullptr;
};

// lParam of a mouse message at client (x, y), each a signed 16-bit value.
inline LPARAM mousePoint(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                               static_cast<uint16_t>(x));
}

// The window's client pixels as 0xRRGGBB, read with BitBlt from its DC:
// PrintWindow returns nothing for these windows under wine.
class WindowPixels {
public:
    explicit WindowPixels(HWND window) {
        RECT r = {};
        GetClientRect(window, &r);
        w = r.right;
        h = r.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = GetDC(window);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + static_cast<size_t>(w) * h);
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(window, screen);
    }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFFu; }
    int width() const { return w; }
    int height() const { return h; }

private:
    int w = 0;
    int h = 0;
    std::vector<uint32_t> pixels;
};

}  // namespace testing
}  // namespace toolkit

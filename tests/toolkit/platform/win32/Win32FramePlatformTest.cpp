// The frame's Windows window layer under wine: the child window, painting,
// mouse and wheel messages, pointer/cursor/host-window services, window-chain
// resizing and a host that destroys its window first.
#include "toolkit/platform/win32/Win32FramePlatform.h"

#include <gtest/gtest.h>

#include <memory>

#include "WindowTestSupport.h"
#include "toolkit/ButtonState.h"
#include "toolkit/CursorType.h"
#include "toolkit/platform/win32/WindowClass.h"

namespace toolkit {
namespace testing {
namespace {

using Win32FramePlatformTest = FrameFixture;

TEST_F(Win32FramePlatformTest, ChildWindowOfTheHostWithTheFramesSize) {
    HWND w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetParent(w), host->hwnd());
    EXPECT_EQ(frame->getParentWindow(), host->hwnd());
    EXPECT_EQ(reinterpret_cast<CFrame*>(GetWindowLongPtrW(w, GWLP_USERDATA)), frame);

    const LONG style = GetWindowLongW(w, GWL_STYLE);
    const LONG wanted = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_COMPOSITED, WS_EX_COMPOSITED);
    EXPECT_EQ(GetClassLongW(w, GCL_STYLE), static_cast<DWORD>(CS_DBLCLKS | CS_GLOBALCLASS));

    RECT r = {};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 120);
    POINT origin = {0, 0};
    MapWindowPoints(w, host->hwnd(), &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_TRUE(frame->isDropActive());
}

TEST_F(Win32FramePlatformTest, PaintWithEmptyUpdateRegionDrawsNothing) {
    UpdateWindow(window());
    const int before = probe->draws;
    ASSERT_GE(before, 1);  // the first paint drew the view

    ValidateRect(window(), nullptr);
    EXPECT_EQ(send(WM_PAINT, 0, 0), 0);
    EXPECT_EQ(probe->draws, before);

    // Erasing is answered without drawing.
    HDC dc = GetDC(window());
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(window(), dc);
    EXPECT_EQ(probe->draws, before);

    // A touched region is painted, and only views inside it draw.
    probe->invalidate();
    UpdateWindow(window());
    EXPECT_EQ(probe->draws, before + 1);
    RECT away = {150, 60, 190, 100};
    InvalidateRect(window(), &away, TRUE);
    UpdateWindow(window());
    EXPECT_EQ(probe->draws, before + 1);
}

TEST(Win32FramePainting, PixelsOfBothPaintingPathsAreTheViewsOwn) {
    // Major version 6 and up: composited window drawn directly; below: the
    // frame is drawn into the back buffer and copied.
    for (int major : {6, 5}) {
        SCOPED_TRACE(major);
        win32::Win32FramePlatform::overrideSystemMajorVersion(major);
        HostWindow host(0, 0, 400, 300);
        auto* frame = new CFrame(CRectangle(0, 0, 200, 120), host.hwnd(), nullptr);
        auto* red = new ProbeView(CRectangle(20, 10, 60, 50), kColorRed);
        auto* blue = new ProbeView(CRectangle(100, 30, 150, 90), kColorBlue);
        frame->addChild(red);
        frame->addChild(blue);
        HWND w = static_cast<HWND>(frame->getWindow());
        const bool composited = (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_COMPOSITED) != 0;
        EXPECT_EQ(composited, major >= 6);
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
        pumpMessages();

        WindowPixels pixels(w);
        ASSERT_EQ(pixels.width(), 200);
        struct Probe {
            int x, y;
            uint32_t rgb;
        };
        const Probe probes[] = {
            {20, 10, 0xFF0000}, {59, 49, 0xFF0000}, {40, 30, 0xFF0000},  // red view, edges included
            {100, 30, 0x0000FF}, {149, 89, 0x0000FF},                      // blue view
            {60, 50, 0x000000}, {80, 100, 0x000000}, {190, 5, 0x000000},   // frame's black ground
        };
        for (const Probe& p : probes) {
            SCOPED_TRACE(::testing::Message() << "(" << p.x << ", " << p.y << ")");
            EXPECT_EQ(pixels.at(p.x, p.y), p.rgb);
        }
        auto* layer = static_cast<win32::Win32FramePlatform*>(frame->getPlatform());
        EXPECT_EQ(layer->windowState().backBuffer != nullptr, major < 6);

        // A resize drops the back buffer; the next paint makes a new one.
        EXPECT_TRUE(frame->setFrameSize(180, 100));
        EXPECT_EQ(layer->windowState().backBuffer, nullptr);
        delete frame;
    }
    win32::Win32FramePlatform::overrideSystemMajorVersion(0);
}

// ---- mouse -----------------------------------------------------------------

TEST_F(Win32FramePlatformTest, ButtonMessagesReachTheViewWithButtonsAndModifiers) {
    struct Step {
        UINT message;
        WPARAM keys;
        std::initializer_list<int> held;  // keys held in the thread's key state
        int x, y;
        const char* kind;
        int32_t buttons;
        bool captured;  // mouse captured by the frame's window afterwards
    };
    const Step steps[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, {}, 30, 20, "down", kButtonLeft | kModifierShift, true},
        // While the view drags, moves reach it even far outside, with
        // negative coordinates left of the window.
        {WM_MOUSEMOVE, MK_LBUTTON, {VK_MENU}, -5, 300, "moved", kButtonLeft | kModifierAlt, true},
        {WM_LBUTTONUP, 0, {}, -5, 300, "up", 0, false},
        {WM_RBUTTONDBLCLK, MK_RBUTTON | MK_CONTROL, {}, 25, 15, "down",
         kButtonRight | kModifierControl | kButtonDoubleClick, true},
        {WM_RBUTTONUP, MK_CONTROL, {}, 25, 15, "up", kModifierControl, false},
        {WM_MBUTTONDOWN, MK_MBUTTON, {VK_MENU}, 40, 40, "down", kButtonMiddle | kModifierAlt, true},
        {WM_MBUTTONUP, 0, {}, 40, 40, "up", 0, false},
        {WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), {}, 21, 11, "down", kButtonExtra1, true},
        {WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), {}, 21, 11, "up", 0, false},
        {WM_XBUTTONDBLCLK, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), {}, 60, 50, "down",
         kButtonExtra2 | kButtonDoubleClick, true},
        {WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), {}, 60, 50, "up", 0, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "message 0x" << std::hex << s.message);
        releaseKeys();
        setKeys(s.held);
        const size_t before = probe->events.size();
        EXPECT_EQ(send(s.message, s.keys, mousePoint(s.x, s.y)), 0);
        ASSERT_EQ(probe->events.size(), before + 1);
        const ProbeEvent& e = probe->events.back();
        EXPECT_EQ(e.kind, s.kind);
        EXPECT_EQ(e.where.x, s.x);  // the view's parent is the frame
        EXPECT_EQ(e.where.y, s.y);
        EXPECT_EQ(e.buttons, s.buttons);
        EXPECT_EQ(GetCapture() == window(), s.captured);
    }
}

TEST_F(Win32FramePlatformTest, DeclinedButtonDownIsNotCapturedAndUpStillReleases) {
    probe->downAnswer = kMouseNotHandled;
    send(WM_LBUTTONDOWN, MK_LBUTTON, mousePoint(30, 20));
    EXPECT_NE(GetCapture(), window());
    EXPECT_EQ(probe->kinds(), std::vector<std::string>{"down"});

    SetCapture(window());
    send(WM_LBUTTONUP, 0, mousePoint(30, 20));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(probe->kinds(), std::vector<std::string>{"down"});  // the release reached no view
}

TEST_F(Win32FramePlatformTest, MovesEnterAndLeaveViewsAndLeavingTheWindowExits) {
    send(WM_MOUSEMOVE, 0, mousePoint(30, 20));
    send(WM_MOUSEMOVE, 0, mousePoint(31, 21));
    const POINT outside = toScreen(300, 200);
    SetCursorPos(outside.x, outside.y);
    send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(probe->kinds(), (std::vector<std::string>{"entered", "moved", "exited"}));
    EXPECT_EQ(probe->events.back().where.x, 300);  // the pointer where it is now
    EXPECT_EQ(probe->events.back().where.y, 200);

    // The next move asks for a leave notification again and enters anew.
    send(WM_MOUSEMOVE, 0, mousePoint(30, 20));
    EXPECT_EQ(probe->kinds().back(), "entered");
}

LRESULT CALLBACK countingHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int hostWheelMessages = 0;
WNDPROC hostDefault = nullptr;

LRESULT CALLBACK countingHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) ++hostWheelMessages;
    return CallWindowProcW(hostDefault, window, message, wParam, lParam);
}

TEST_F(Win32FramePlatformTest, WheelCountsWholeNotchesAndPassesTheMessageOn) {
    hostDefault = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        host->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countingHostProc)));
    hostWheelMessages = 0;
    struct Case {
        int delta;
        float notches;
        std::initializer_list<int> held;
        int32_t buttons;
    };
    const Case cases[] = {
        {60, 0.0f, {}, 0},  // less than a notch
        {-240, -2.0f, {}, 0},
        {120, 1.0f, {VK_SHIFT}, kModifierShift},
        {-119, 0.0f, {VK_CONTROL, VK_MENU}, kModifierControl | kModifierAlt},
        {360, 3.0f, {}, 0},
    };
    int sent = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delta);
        releaseKeys();
        setKeys(c.held);
        // The wheel message carries screen coordinates.
        const POINT p = toScreen(30, 20);
        send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<SHORT>(c.delta))),
             mousePoint(p.x, p.y));
        ++sent;
        ASSERT_FALSE(probe->events.empty());
        const ProbeEvent& e = probe->events.back();
        EXPECT_EQ(e.kind, "wheel");
        EXPECT_EQ(e.distance, c.notches);
        EXPECT_EQ(e.where.x, 30);
        EXPECT_EQ(e.where.y, 20);
        EXPECT_EQ(e.buttons, c.buttons);
        EXPECT_EQ(hostWheelMessages, sent);  // default processing hands it to the host
    }
    SetWindowLongPtrW(host->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostDefault));
}

// ---- services --------------------------------------------------------------

TEST_F(Win32FramePlatformTest, PointerLocationAndTicks) {
    const POINT p = toScreen(33, 44);
    ASSERT_TRUE(SetCursorPos(p.x, p.y));
    CPosition where;
    EXPECT_TRUE(frame->mouseLocation(where));
    EXPECT_EQ(where.x, 33);
    EXPECT_EQ(where.y, 44);
    EXPECT_EQ(frame->mouseButtons(), 0);  // nothing physically pressed

    const DWORD before = GetTickCount();
    const uint32_t ticks = frame->ticks();
    EXPECT_LE(before, ticks);
    EXPECT_LE(ticks, GetTickCount());
}

TEST_F(Win32FramePlatformTest, CursorTypesAndTheSavedCursor) {
    HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    SetCursor(arrow);
    struct Case {
        CursorType type;
        int id;  // 0: the cursor saved by the first call
    };
    const Case cases[] = {
        {kCursorHand, 32649},          {kCursorWait, 32514},          {kCursorSizeHorizontal, 32644},
        {kCursorSizeVertical, 32645},  {kCursorSizeAll, 32646},       {kCursorSizeNeSw, 32643},
        {kCursorSizeNwSe, 32642},      {kCursorNotAllowed, 32648},    {kCursorDefault, 0},
        {7, 0},                        {42, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        frame->setCursor(c.type);
        EXPECT_EQ(GetCursor(), c.id ? LoadCursorW(nullptr, MAKEINTRESOURCEW(c.id)) : arrow);
    }
    frame->setCursor(kCursorWait);
    delete frame;  // shows the saved cursor again
    frame = nullptr;
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(Win32FrameHostWindow, PositionAndRectangleOfTheHostsWindows) {
    // Frame directly in a captioned top-level window, and frame in a child
    // window much smaller than its top-level parent (the outer window is
    // then the child itself).
    HWND top = topLevelWindow();
    POINT client = {0, 0};
    ClientToScreen(top, &client);
    {
        CFrame frame(CRectangle(0, 0, 200, 120), top, nullptr);
        int32_t x = -1, y = -1;
        EXPECT_TRUE(frame.hostWindowPosition(x, y));
        EXPECT_EQ(x, 100);  // screen coordinates: the top-level has no parent
        EXPECT_EQ(y, 80);
        CRectangle r;
        EXPECT_TRUE(frame.hostWindowRect(r));
        EXPECT_EQ(r, CRectangle(100, 80, 600, 480));
    }
    {
        HostWindow inner(10, 20, 300, 200);
        CFrame frame(CRectangle(0, 0, 200, 120), inner.hwnd(), nullptr);
        int32_t x = -1, y = -1;
        EXPECT_TRUE(frame.hostWindowPosition(x, y));
        EXPECT_EQ(x, 10);  // in the top-level's client space
        EXPECT_EQ(y, 20);
        CRectangle r;
        EXPECT_TRUE(frame.hostWindowRect(r));
        // The host window's grandparent is the desktop: screen coordinates.
        EXPECT_EQ(r, CRectangle(client.x + 10, client.y + 20, client.x + 310, client.y + 220));
    }
}

// ---- window-chain resizing ---------------------------------------------------

SIZE windowSize(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST(Win32FrameResize, WrapperWindowsGrowWithTheFrame) {
    // The host wraps the editor in a window larger by two dialog frames
    // (its border); the window holding that wrapper is much larger.
    const int border = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    ASSERT_GT(border, 0);
    HostWindow outer(0, 0, 480, 360);
    HostWindow wrapper(0, 0, 200 + border, 120 + border, outer.hwnd());
    auto* frame = new CFrame(CRectangle(0, 0, 200, 120), wrapper.hwnd(), nullptr);
    HWND w = static_cast<HWND>(frame->getWindow());

    EXPECT_FALSE(frame->setFrameSize(200, 120));  // unchanged: nothing resized
    EXPECT_TRUE(frame->setFrameSize(260, 150));
    EXPECT_EQ(frame->getViewRect(), CRectangle(0, 0, 260, 150));
    EXPECT_EQ(windowSize(w).cx, 260);
    EXPECT_EQ(windowSize(w).cy, 150);
    EXPECT_EQ(windowSize(wrapper.hwnd()).cx, 260 + border);
    EXPECT_EQ(windowSize(wrapper.hwnd()).cy, 150 + border);
    EXPECT_EQ(windowSize(outer.hwnd()).cx, 480);  // the climb stopped at the wrapper
    EXPECT_EQ(windowSize(outer.hwnd()).cy, 360);
    delete frame;
}

TEST(Win32FrameResize, MuchLargerParentStopsTheChainAndTheFrameKeepsItsSize) {
    HostWindow host(0, 0, 480, 360);
    auto* frame = new CFrame(CRectangle(0, 0, 200, 120), host.hwnd(), nullptr);
    EXPECT_TRUE(frame->setFrameSize(220, 130));
    EXPECT_EQ(frame->getViewRect(), CRectangle(0, 0, 200, 120));
    EXPECT_EQ(windowSize(host.hwnd()).cx, 480);
    EXPECT_EQ(windowSize(host.hwnd()).cy, 360);
    delete frame;
}

// ---- the host destroys its window first --------------------------------------

TEST(Win32FrameLifetime, HostDestroyingItsWindowClosesTheFrame) {
    const int32_t usesBefore = win32::windowClassUseCount();
    auto* host = new HostWindow(0, 0, 400, 300);
    auto* frame = new CFrame(CRectangle(0, 0, 200, 120), host->hwnd(), nullptr);
    auto* probe = new ProbeView(CRectangle(0, 0, 50, 50));
    frame->addChild(probe);
    ASSERT_TRUE(frame->isOpen());
    EXPECT_EQ(win32::windowClassUseCount(), usesBefore + 1);

    delete host;  // destroys the frame's window with it
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    EXPECT_EQ(frame->getWindow(), nullptr);
    int32_t x = 0, y = 0;
    EXPECT_FALSE(frame->hostWindowPosition(x, y));
    EXPECT_FALSE(frame->setFrameSize(300, 200));
    probe->setDirty(true);
    frame->idle();  // no repaint requests any more
    frame->invalidate();

    delete frame;
    EXPECT_EQ(win32::windowClassUseCount(), usesBefore);
}

}  // namespace
}  // namespace testing
}  // namespace toolkit

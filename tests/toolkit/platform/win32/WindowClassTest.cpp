// The frames' window class under wine: named after the library module,
// shared by every frame of the process, unregistered with the last window.
#include "toolkit/platform/win32/WindowClass.h"

#include <gtest/gtest.h>

#include <memory>

#include "WindowTestSupport.h"
#include "toolkit/LibraryModule.h"

namespace toolkit {
namespace testing {
namespace {

bool classRegistered() {
    WNDCLASSW info = {};
    return GetClassInfoW(static_cast<HINSTANCE>(libraryModule()), win32::windowClassName(), &info) !=
           0;
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = {0};
    GetClassNameW(window, name, 256);
    return name;
}

TEST(WindowClass, NamedAfterTheModuleSharedByFramesAndGoneWithTheLast) {
    ASSERT_EQ(win32::windowClassUseCount(), 0);
    wchar_t expected[64];
    wsprintfW(expected, L"Plugin%p", libraryModule());
    EXPECT_STREQ(win32::windowClassName(), expected);

    HostWindow host(0, 0, 400, 300);
    auto* first = new CFrame(CRectangle(0, 0, 200, 120), host.hwnd(), nullptr);
    ASSERT_NE(first->getWindow(), nullptr);
    EXPECT_EQ(win32::windowClassUseCount(), 1);
    EXPECT_TRUE(classRegistered());

    auto* second = new CFrame(CRectangle(0, 0, 150, 100), host.hwnd(), nullptr);
    auto* probe = new ProbeView(CRectangle(0, 0, 50, 50));
    second->addChild(probe);
    ASSERT_NE(second->getWindow(), nullptr);
    EXPECT_EQ(win32::windowClassUseCount(), 2);
    EXPECT_EQ(classOf(static_cast<HWND>(first->getWindow())), expected);
    EXPECT_EQ(classOf(static_cast<HWND>(second->getWindow())), expected);

    // The first frame's destruction leaves the class to the second, whose
    // window keeps working.
    delete first;
    EXPECT_EQ(win32::windowClassUseCount(), 1);
    EXPECT_TRUE(classRegistered());
    SendMessageW(static_cast<HWND>(second->getWindow()), WM_LBUTTONDOWN, MK_LBUTTON,
                 mousePoint(10, 10));
    SendMessageW(static_cast<HWND>(second->getWindow()), WM_LBUTTONUP, 0, mousePoint(10, 10));
    EXPECT_EQ(probe->kinds(), (std::vector<std::string>{"down", "up"}));

    delete second;
    EXPECT_EQ(win32::windowClassUseCount(), 0);
    EXPECT_FALSE(classRegistered());

    // A frame without a host window takes no use of the class.
    CFrame windowless(CRectangle(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_EQ(windowless.getWindow(), nullptr);
    EXPECT_EQ(win32::windowClassUseCount(), 0);
}

TEST(WindowClass, RegisteredAgainAfterTheLastFrameWent) {
    HostWindow host(0, 0, 400, 300);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto* frame = new CFrame(CRectangle(0, 0, 100, 100), host.hwnd(), nullptr);
        EXPECT_NE(frame->getWindow(), nullptr);
        EXPECT_TRUE(classRegistered());
        delete frame;
        EXPECT_FALSE(classRegistered());
    }
}

TEST(WindowClass, ExtraReleasesDoNotUnderflow) {
    win32::releaseWindowClass();
    EXPECT_EQ(win32::windowClassUseCount(), 0);
}

}  // namespace
}  // namespace testing
}  // namespace toolkit

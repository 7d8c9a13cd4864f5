// The frames' process-wide window class: name, use count, registration and
// the swapped-buttons flag read at registration. See WindowClass.h for the
// quirk it works around (one class name per plug-in library in a process).
#include "toolkit/platform/win32/WindowClass.h"

#include "toolkit/LibraryModule.h"

namespace toolkit {
namespace win32 {

namespace {

wchar_t className[64] = {0};
int32_t useCount = 0;
bool buttonsSwapped = false;

HINSTANCE module() { return static_cast<HINSTANCE>(libraryModule()); }

}  // namespace

const wchar_t* windowClassName() {
    if (className[0] == 0) wsprintfW(className, L"Plugin%p", static_cast<void*>(module()));
    return className;
}

const wchar_t* acquireWindowClass(WNDPROC windowProc) {
    const wchar_t* name = windowClassName();
    if (++useCount == 1) {
        WNDCLASSW wc = {};
        wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = windowProc;
        wc.cbClsExtra = 0;
        wc.cbWndExtra = 0;
        wc.hInstance = module();
        wc.hIcon = nullptr;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hbrBackground = nullptr;
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
        buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) > 0;
    }
    return name;
}

void releaseWindowClass() {
    if (useCount <= 0) return;
    if (--useCount == 0) UnregisterClassW(windowClassName(), module());
}

int32_t windowClassUseCount() { return useCount; }

bool mouseButtonsSwapped() { return buttonsSwapped; }

}  // namespace win32
}  // namespace toolkit

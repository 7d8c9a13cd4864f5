// The process-wide window class of the frames' child windows.
//
// Its name is "Plugin" followed by the library module's handle as wsprintfW
// formats %p, so two plug-in libraries loaded into one host process never
// share (and never unregister) each other's class. Every window creation
// takes one use; the class is registered when the use count goes from 0 to 1
// and unregistered when the last use is given back. Registration also reads
// whether the user swapped the mouse buttons (for the physical button query).
//
// Class settings: double-clicks arrive as their own messages (CS_DBLCLKS),
// global class (CS_GLOBALCLASS), the standard arrow cursor, no background
// brush (the frame paints every pixel it is asked for), no icon, no menu.
//
// Process-wide state, all touched only on the user-interface thread: the
// name, the use count and the swapped-buttons flag.
#pragma once

#include <windows.h>

#include <cstdint>

namespace toolkit {
namespace win32 {

// Takes one use of the class, registering it with windowProc on the first
// use. Answers the class name.
const wchar_t* acquireWindowClass(WNDPROC windowProc);
// Gives one use back; the last one unregisters the class. Extra calls are
// ignored (the count never goes below 0).
void releaseWindowClass();

// "Plugin%p" of the library module, made on first use.
const wchar_t* windowClassName();
int32_t windowClassUseCount();
// Read when the class was last registered.
bool mouseButtonsSwapped();

}  // namespace win32
}  // namespace toolkit

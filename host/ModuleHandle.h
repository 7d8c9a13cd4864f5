// The operating system's handle of this library module (an HINSTANCE on
// Windows), shared by every effect object in the process. The library's
// load-time notification writes it; the GUI toolkit reads it to register its
// window class and to find the library's embedded resources. Null until the
// notification has run (always null in a native, non-library build).
#pragma once

extern void* moduleHandle;

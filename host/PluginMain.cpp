// The plug-in library's door: the load-time notification that records the
// module handle, and the entry point a VST 2.4 host calls with its callback.
// The entry point is exported twice, as VSTPluginMain and as main (older
// hosts look for the second name), by exports.def: `main` cannot be defined
// under its own name in C++.
#include "host/ModuleHandle.h"
#include "host/PluginEntry.h"
#if __has_include("toolkit/LibraryModule.h")
#include "toolkit/LibraryModule.h"
#define TOVRA_HAS_TOOLKIT 1
#endif

#ifdef _WIN32
#include <windows.h>

// Runs for every reason (process and thread attach and detach); each time
// the handle is the same, so writing it again is harmless.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    moduleHandle = instance;
    return TRUE;
}
#endif

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback) {
#ifdef TOVRA_HAS_TOOLKIT
    // The toolkit finds its images and registers its window class under
    // this library's handle; it gets it before the editor loads anything.
    toolkit::setLibraryModule(moduleHandle);
#endif
    return pluginEntry(hostCallback, createEffect);
}

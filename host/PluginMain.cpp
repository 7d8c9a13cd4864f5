// The plug-in library's door: the load-time notification that records the
// module handle, and the entry point a VST 2.4 host calls with its callback.
// The entry point is exported twice, as VSTPluginMain and as main (older
// hosts look for the second name), by exports.def: `main` cannot be defined
// under its own name in C++.
#include "host/ModuleHandle.h"
#include "host/PluginEntry.h"

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
    return pluginEntry(hostCallback, createEffect);
}

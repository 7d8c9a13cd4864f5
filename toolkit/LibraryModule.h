// The module (on Windows: the DLL's HINSTANCE) whose embedded resources the
// toolkit loads and under which its window class is registered.
//
// The toolkit does not reach into the host layer for it: the plug-in hands
// the handle it captured at load time to setLibraryModule() (once, before the
// first bitmap or frame is made). Until that happens, or when null is set,
// libraryModule() answers the module that contains the toolkit's own code,
// which inside the plug-in DLL is the DLL itself and inside a test program is
// the program, so resources linked into either are found. Natively there is
// no module and libraryModule() answers whatever was set (null by default).
#pragma once

namespace toolkit {

void setLibraryModule(void* module);
void* libraryModule();

}  // namespace toolkit

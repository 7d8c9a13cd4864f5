// The module whose resources and window class the toolkit uses: the one the
// plug-in hands over, else the module that contains this code (the plug-in
// DLL itself, or a test program that links the toolkit statically).
#include "toolkit/LibraryModule.h"

#include <windows.h>

namespace toolkit {

namespace {
void* module = nullptr;
}  // namespace

void setLibraryModule(void* m) { module = m; }

void* libraryModule() {
    if (module) return module;
    HMODULE own = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&libraryModule), &own))
        return own;
    return nullptr;
}

}  // namespace toolkit

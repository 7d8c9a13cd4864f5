#include "tools/vsthost/PluginLibrary.h"

#include <windows.h>

namespace vsthost {

PluginLibrary::~PluginLibrary() { close(); }

bool PluginLibrary::open(const std::string& path, std::string& error) {
    close();
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        error = "error " + std::to_string(GetLastError());
        return false;
    }
    handle_ = module;
    return true;
}

void* PluginLibrary::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void PluginLibrary::close() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

}  // namespace vsthost

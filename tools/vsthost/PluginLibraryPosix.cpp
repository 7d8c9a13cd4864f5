#include "tools/vsthost/PluginLibrary.h"

#include <dlfcn.h>

namespace vsthost {

PluginLibrary::~PluginLibrary() { close(); }

bool PluginLibrary::open(const std::string& path, std::string& error) {
    close();
    // dlopen searches the library path for a name without a slash; a host
    // opens the file it was given.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown reason";
        return false;
    }
    return true;
}

void* PluginLibrary::symbol(const char* name) const {
    if (!handle_) return nullptr;
    return dlsym(handle_, name);
}

void PluginLibrary::close() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace vsthost

// A loaded plug-in library: the one piece of the test host that differs
// between Windows (LoadLibrary, GetProcAddress) and Linux (dlopen, dlsym).
//
// A Linux library is opened with every symbol bound at once (RTLD_NOW), so
// a plug-in that needs something the process lacks fails here, as it would
// in a host's scan, instead of at some later call. Its symbols stay private
// to it (RTLD_LOCAL).
#pragma once

#include <string>

namespace vsthost {

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();  // unloads the library if it is loaded
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Loads path. Answers false and writes the system's reason into error
    // when that fails; a library already loaded is unloaded first.
    bool open(const std::string& path, std::string& error);
    // The address of an exported function or null (also when nothing is
    // loaded).
    void* symbol(const char* name) const;
    void close();
    bool isOpen() const { return handle_ != nullptr; }

private:
    void* handle_ = nullptr;
};

}  // namespace vsthost

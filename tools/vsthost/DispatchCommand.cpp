// vsthost dispatch DLL OPCODE [INDEX VALUE OPT] [--null-ptr]
//
// Makes one dispatcher call after effOpen and prints what came back:
//   result: N
//   text: ...          when the effect wrote text into the buffer
//   rect: T L B R      for effEditGetRect with a rectangle given back
// then closes the effect (unless the call was effClose itself) and prints
//   close: N
// ptr is a zeroed 1024-byte buffer, or null with --null-ptr. For
// effEditOpen it is a hidden top-level window instead, which the command
// closes again (effEditClose) before closing the effect.
#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/ERect.h"
#include "host/Opcodes.h"
#include "tools/vsthost/Commands.h"

namespace vsthost {
namespace {

int usage() {
    std::fprintf(stderr, "usage: vsthost dispatch DLL OPCODE [INDEX VALUE OPT] [--null-ptr]\n");
    return kExitUsage;
}

bool parseInteger(const char* text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

HWND makeParentWindow() {
    const wchar_t* className = L"TovraVsthostParent";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowW(className, L"vsthost", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

}  // namespace

int runDispatchCommand(int argc, char** argv, const HostSettings& settings) {
    std::vector<std::string> positional;
    bool nullPtr = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--null-ptr")
            nullPtr = true;
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2 && positional.size() != 5) return usage();
    long long opcode = 0, index = 0, value = 0;
    double opt = 0.0;
    if (!parseInteger(positional[1].c_str(), opcode)) return usage();
    if (positional.size() == 5) {
        char* end = nullptr;
        if (!parseInteger(positional[2].c_str(), index) || !parseInteger(positional[3].c_str(), value))
            return usage();
        opt = std::strtod(positional[4].c_str(), &end);
        if (end == positional[4].c_str() || *end != '\0') return usage();
    }

    PluginHost host(settings);
    if (!host.load(positional[0])) return kExitFailed;
    if (!host.create()) return kExitNoEffect;
    host.dispatch(effOpen);

    alignas(16) char buffer[1024];
    std::memset(buffer, 0, sizeof buffer);
    void* ptr = nullPtr ? nullptr : buffer;
    HWND parent = nullptr;
    if (opcode == effEditOpen && !nullPtr) {
        parent = makeParentWindow();
        ptr = parent;
    }

    const VstIntPtr result = host.dispatch(static_cast<VstInt32>(opcode), static_cast<VstInt32>(index),
                                           static_cast<VstIntPtr>(value), ptr, static_cast<float>(opt));
    std::printf("result: %" PRIdPTR "\n", result);
    if (opcode == effEditGetRect && ptr) {
        ERect* rect = nullptr;
        std::memcpy(&rect, buffer, sizeof rect);
        if (rect) std::printf("rect: %d %d %d %d\n", rect->top, rect->left, rect->bottom, rect->right);
    } else if (ptr == buffer && buffer[0] != '\0') {
        std::printf("text: %s\n", printable(buffer, sizeof buffer).c_str());
    }

    if (opcode == effClose) return kExitOk;
    if (opcode == effEditOpen && result) host.dispatch(effEditClose);
    std::printf("close: %" PRIdPTR "\n", host.close());
    if (parent) DestroyWindow(parent);
    return kExitOk;
}

}  // namespace vsthost

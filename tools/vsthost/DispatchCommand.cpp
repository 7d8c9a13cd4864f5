// vsthost dispatch DLL OPCODE [INDEX VALUE OPT] [--null-ptr]
// vsthost dispatch DLL --batch FILE
//
// Makes one dispatcher call on a fresh effect (after effOpen) and prints
// what came back:
//   result: N
//   text: ...          when the effect wrote text into the buffer
//   rect: T L B R      for effEditGetRect with a rectangle given back
// then closes the effect (unless the call was effClose itself) and prints
//   close: N
// ptr is a zeroed 1024-byte buffer, or null with --null-ptr. For
// effEditOpen it is a hidden top-level window instead, which the command
// closes again (effEditClose) before closing the effect; the native build
// has no window to offer and passes null there.
//
// --batch FILE: one call per line of FILE, written like the arguments above
// ("OPCODE [INDEX VALUE OPT] [--null-ptr]"; '#' starts a comment), each on
// an effect of its own from the same loaded library. The keys of line N's
// output get the prefix "N." (1-based, counting call lines only). One
// process for many calls keeps a test from starting wine dozens of times.
#ifdef _WIN32
#include <windows.h>
#endif

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/ERect.h"
#include "host/Opcodes.h"
#include "tools/vsthost/Commands.h"

namespace vsthost {
namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vsthost dispatch DLL OPCODE [INDEX VALUE OPT] [--null-ptr]\n"
                 "       vsthost dispatch DLL --batch FILE\n");
    return kExitUsage;
}

struct Call {
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    float opt = 0.0f;
    bool nullPtr = false;
};

bool parseInteger(const std::string& text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text.c_str(), &end, 0);
    return end != text.c_str() && *end == '\0';
}

// words: OPCODE [INDEX VALUE OPT] and optionally --null-ptr anywhere.
bool parseCall(const std::vector<std::string>& words, Call& call) {
    std::vector<std::string> positional;
    for (const std::string& w : words) {
        if (w == "--null-ptr")
            call.nullPtr = true;
        else
            positional.push_back(w);
    }
    if (positional.size() != 1 && positional.size() != 4) return false;
    long long opcode = 0, index = 0, value = 0;
    if (!parseInteger(positional[0], opcode)) return false;
    call.opcode = static_cast<VstInt32>(opcode);
    if (positional.size() == 4) {
        if (!parseInteger(positional[1], index) || !parseInteger(positional[2], value)) return false;
        char* end = nullptr;
        const double opt = std::strtod(positional[3].c_str(), &end);
        if (end == positional[3].c_str() || *end != '\0') return false;
        call.index = static_cast<VstInt32>(index);
        call.value = static_cast<VstIntPtr>(value);
        call.opt = static_cast<float>(opt);
    }
    return true;
}

#ifdef _WIN32
using ParentWindow = HWND;

ParentWindow makeParentWindow() {
    const wchar_t* className = L"TovraVsthostParent";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    return CreateWindowW(className, L"vsthost", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

void destroyParentWindow(ParentWindow window) { DestroyWindow(window); }
#else
// No window system here: effEditOpen is given null, which an effect has to
// refuse like any other missing parent.
using ParentWindow = void*;

ParentWindow makeParentWindow() { return nullptr; }
void destroyParentWindow(ParentWindow) {}
#endif

// One call on a new effect of the loaded library.
int runCall(PluginHost& host, const Call& call, const std::string& prefix) {
    const char* p = prefix.c_str();
    if (!host.create()) return kExitNoEffect;
    host.dispatch(effOpen);

    alignas(16) char buffer[1024];
    std::memset(buffer, 0, sizeof buffer);
    void* ptr = call.nullPtr ? nullptr : buffer;
    ParentWindow parent = nullptr;
    if (call.opcode == effEditOpen && !call.nullPtr) {
        parent = makeParentWindow();
        ptr = parent;
    }

    const VstIntPtr result = host.dispatch(call.opcode, call.index, call.value, ptr, call.opt);
    std::printf("%sresult: %" PRIdPTR "\n", p, result);
    if (call.opcode == effEditGetRect && ptr) {
        ERect* rect = nullptr;
        std::memcpy(&rect, buffer, sizeof rect);
        if (rect)
            std::printf("%srect: %d %d %d %d\n", p, rect->top, rect->left, rect->bottom, rect->right);
    } else if (ptr == buffer && buffer[0] != '\0') {
        std::printf("%stext: %s\n", p, printable(buffer, sizeof buffer).c_str());
    }

    if (call.opcode != effClose) {
        if (call.opcode == effEditOpen && result) host.dispatch(effEditClose);
        std::printf("%sclose: %" PRIdPTR "\n", p, host.close());
    }
    if (parent) destroyParentWindow(parent);
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

int runDispatchCommand(int argc, char** argv, const HostSettings& settings) {
    if (argc < 2) return usage();
    const std::string dll = argv[0];
    std::vector<Call> calls;
    std::vector<std::string> prefixes;
    if (std::strcmp(argv[1], "--batch") == 0) {
        if (argc != 3) return usage();
        std::ifstream file(argv[2]);
        if (!file) {
            std::fprintf(stderr, "vsthost dispatch: cannot read %s\n", argv[2]);
            return kExitUsage;
        }
        std::string line;
        while (std::getline(file, line)) {
            const size_t hash = line.find('#');
            if (hash != std::string::npos) line.erase(hash);
            std::istringstream words(line);
            std::vector<std::string> parts;
            for (std::string w; words >> w;) parts.push_back(w);
            if (parts.empty()) continue;
            Call call;
            if (!parseCall(parts, call)) {
                std::fprintf(stderr, "vsthost dispatch: bad call line: %s\n", line.c_str());
                return kExitUsage;
            }
            calls.push_back(call);
            prefixes.push_back(std::to_string(calls.size()) + ".");
        }
    } else {
        Call call;
        if (!parseCall(std::vector<std::string>(argv + 1, argv + argc), call)) return usage();
        calls.push_back(call);
        prefixes.push_back("");
    }

    PluginHost host(settings);
    if (!host.load(dll)) return kExitFailed;
    for (size_t i = 0; i < calls.size(); ++i) {
        const int status = runCall(host, calls[i], prefixes[i]);
        if (status != kExitOk) return status;
    }
    return kExitOk;
}

}  // namespace vsthost

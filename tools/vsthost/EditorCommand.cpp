// The editor subcommand of vsthost: see EditorCommand.h for the command line
// and the actions. Windows only; the native build answers a usage error.
//
// Quirks worked around here:
//  - Mouse input is sent straight to the editor's child window as the
//    button, move and wheel messages the window system would send, so the
//    script does not depend on where the real pointer is (under a virtual X
//    display it sits somewhere else entirely).
//  - Screenshots BitBlt from the window's DC into a DIB section; PrintWindow
//    returns nothing under wine.
//  - The PNG is written by our own encoder, so no codec of the system is
//    involved.
#include "tools/vsthost/EditorCommand.h"

#include <cstdio>

#ifdef _WIN32

#include <windows.h>
#include <psapi.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "editor/ERect.h"
#include "host/AEffect.h"
#include "host/Opcodes.h"
#include "tools/vsthost/PngWriter.h"

namespace vsthost {
namespace {

using EntryProc = AEffect*(VSTCALLBACK*)(audioMasterCallback);

constexpr DWORD kIdleIntervalMs = 20;

struct Session {
    FILE* log = stdout;
    bool idleReenters = false;
    HMODULE module = nullptr;
    EntryProc entry = nullptr;
    AEffect* effect = nullptr;
    HWND window = nullptr;  // our top-level window, the editor's parent
    int32_t width = 0;
    int32_t height = 0;
    bool editorOpen = false;
    WPARAM heldButtons = 0;  // MK_*BUTTON bits of the buttons pressed by the script
};

Session* session = nullptr;

void logLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(session->log, format, args);
    va_end(args);
    std::fputc('\n', session->log);
    std::fflush(session->log);
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr /*value*/, void* /*ptr*/, float opt) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterAutomate:
            if (session) logLine("automate %d %.6f", index, static_cast<double>(opt));
            return 0;
        case audioMasterIdle:
            if (session) {
                logLine("idle");
                if (session->idleReenters && effect && session->editorOpen)
                    dispatch(effect, effEditIdle);
            }
            return 0;
        case audioMasterBeginEdit:
            if (session) logLine("begin-edit %d", index);
            return 1;
        case audioMasterEndEdit:
            if (session) logLine("end-edit %d", index);
            return 1;
        default:
            return 0;
    }
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void editorIdle() {
    if (session->editorOpen) dispatch(session->effect, effEditIdle);
    pumpMessages();
}

void waitFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    DWORD lastIdle = start;
    editorIdle();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        pumpMessages();
        if (GetTickCount() - lastIdle >= kIdleIntervalMs) {
            lastIdle = GetTickCount();
            editorIdle();
        }
    }
}

HWND editorWindow() {
    HWND child = session->window ? GetWindow(session->window, GW_CHILD) : nullptr;
    return child ? child : session->window;
}

bool createEffect() {
    AEffect* effect = session->entry(hostCallback);
    if (!effect || effect->magic != kEffectMagic) {
        logLine("error no-effect");
        return false;
    }
    session->effect = effect;
    dispatch(effect, effOpen);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effect, effSetBlockSize, 0, 512);
    dispatch(effect, effMainsChanged, 0, 1);
    return true;
}

void destroyEffect() {
    if (!session->effect) return;
    if (session->editorOpen) dispatch(session->effect, effEditClose);
    session->editorOpen = false;
    dispatch(session->effect, effMainsChanged, 0, 0);
    dispatch(session->effect, effClose);
    session->effect = nullptr;
}

bool createWindow(int32_t width, int32_t height) {
    static const wchar_t* const kClassName = L"TovraVstHostEditorWindow";
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        registered = RegisterClassW(&windowClass) != 0;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    session->window = CreateWindowExW(0, kClassName, L"vsthost editor", style, 0, 0,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!session->window) return false;
    ShowWindow(session->window, SW_SHOWNORMAL);
    UpdateWindow(session->window);
    pumpMessages();
    return true;
}

bool openEditor() {
    ERect* rect = nullptr;
    const VstIntPtr haveRect = dispatch(session->effect, effEditGetRect, 0, 0, &rect);
    if (!haveRect || !rect) {
        logLine("error no-editor-rect");
        return false;
    }
    session->width = rect->right - rect->left;
    session->height = rect->bottom - rect->top;
    if (session->width <= 0 || session->height <= 0) {
        logLine("error empty-editor-rect %d %d", session->width, session->height);
        return false;
    }
    if (!session->window && !createWindow(session->width, session->height)) {
        logLine("error no-window");
        return false;
    }
    const VstIntPtr opened = dispatch(session->effect, effEditOpen, 0, 0, session->window);
    session->editorOpen = true;
    logLine("open %d %d %d", static_cast<int>(opened), session->width, session->height);
    pumpMessages();
    return opened != 0;
}

void closeEditor() {
    if (!session->editorOpen) return;
    dispatch(session->effect, effEditClose);
    session->editorOpen = false;
    pumpMessages();
    logLine("close");
}

// Modifier and button words of a script line's trailing words.
struct Modifiers {
    bool shift = false, control = false, alt = false, right = false, middle = false,
         doubleClick = false;
};

Modifiers parseModifiers(std::istringstream& words) {
    Modifiers m;
    std::string word;
    while (words >> word) {
        if (word == "shift") m.shift = true;
        else if (word == "ctrl" || word == "control") m.control = true;
        else if (word == "alt") m.alt = true;
        else if (word == "right") m.right = true;
        else if (word == "middle") m.middle = true;
        else if (word == "double") m.doubleClick = true;
    }
    return m;
}

WPARAM modifierBits(const Modifiers& m) {
    return (m.shift ? MK_SHIFT : 0) | (m.control ? MK_CONTROL : 0);
}

// The window layer reads Alt from the thread's key state when the message
// arrives; the script sets it there for the duration of one message.
class AltKey {
public:
    explicit AltKey(bool down) : active(down) {
        if (!active) return;
        GetKeyboardState(saved);
        BYTE state[256];
        std::memcpy(state, saved, sizeof(state));
        state[VK_MENU] |= 0x80;
        state[VK_LMENU] |= 0x80;
        SetKeyboardState(state);
    }
    ~AltKey() {
        if (active) SetKeyboardState(saved);
    }

private:
    bool active;
    BYTE saved[256] = {};
};

LPARAM clientPoint(int32_t x, int32_t y) {
    return static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(x))) |
           (static_cast<LPARAM>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16);
}

void sendButton(bool down, int32_t x, int32_t y, const Modifiers& m) {
    UINT message;
    WPARAM button;
    if (m.right) {
        button = MK_RBUTTON;
        message = down ? (m.doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    } else if (m.middle) {
        button = MK_MBUTTON;
        message = down ? (m.doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    } else {
        button = MK_LBUTTON;
        message = down ? (m.doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    }
    if (down) session->heldButtons |= button;
    else session->heldButtons &= ~button;
    AltKey alt(m.alt);
    SendMessageW(editorWindow(), message, session->heldButtons | modifierBits(m), clientPoint(x, y));
    pumpMessages();
}

void sendMove(int32_t x, int32_t y, const Modifiers& m) {
    AltKey alt(m.alt);
    SendMessageW(editorWindow(), WM_MOUSEMOVE, session->heldButtons | modifierBits(m),
                 clientPoint(x, y));
    pumpMessages();
}

void sendWheel(int32_t x, int32_t y, int32_t delta, const Modifiers& m) {
    HWND target = editorWindow();
    POINT screen{x, y};
    ClientToScreen(target, &screen);
    const WPARAM wParam = (session->heldButtons | modifierBits(m)) |
                          (static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16);
    AltKey alt(m.alt);
    SendMessageW(target, WM_MOUSEWHEEL, wParam, clientPoint(screen.x, screen.y));
    pumpMessages();
}

bool screenshot(const std::string& path) {
    pumpMessages();
    HWND source = editorWindow();
    const int32_t width = session->width, height = session->height;
    HDC windowDc = GetDC(source);
    if (!windowDc) return false;
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib && bits) {
        HGDIOBJ previous = SelectObject(memoryDc, dib);
        ok = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
            rgb[i * 3 + 0] = bgra[i * 4 + 2];
            rgb[i * 3 + 1] = bgra[i * 4 + 1];
            rgb[i * 3 + 2] = bgra[i * 4 + 0];
        }
        SelectObject(memoryDc, previous);
        ok = ok && writePngRgb(path, width, height, rgb);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memoryDc);
    ReleaseDC(source, windowDc);
    logLine("screenshot %d %s", ok ? 1 : 0, path.c_str());
    return ok;
}

void logMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    // Wine may leave PrivateUsage at 0 (the committed bytes are then in
    // PagefileUsage, which is the same figure on Windows) and reports no GDI
    // or USER object counts (they read 0).
    const unsigned long privateBytes = static_cast<unsigned long>(
        counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
    logLine("memory private=%lu working=%lu gdi=%lu user=%lu", privateBytes,
            static_cast<unsigned long>(counters.WorkingSetSize),
            static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
            static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)));
}

bool runAction(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb) || verb[0] == '#') return true;

    if (verb == "down" || verb == "up" || verb == "move" || verb == "click") {
        int32_t x = 0, y = 0;
        if (!(words >> x >> y)) return false;
        const Modifiers m = parseModifiers(words);
        if (verb == "move") {
            sendMove(x, y, m);
        } else if (verb == "click") {
            sendButton(true, x, y, m);
            sendButton(false, x, y, m);
        } else {
            sendButton(verb == "down", x, y, m);
        }
        return true;
    }
    if (verb == "drag") {
        int32_t x1, y1, x2, y2, steps;
        if (!(words >> x1 >> y1 >> x2 >> y2 >> steps) || steps < 0) return false;
        const Modifiers m = parseModifiers(words);
        sendButton(true, x1, y1, m);
        for (int32_t i = 1; i <= steps; ++i)
            sendMove(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, m);
        sendButton(false, x2, y2, m);
        return true;
    }
    if (verb == "wheel") {
        int32_t x, y, delta;
        if (!(words >> x >> y >> delta)) return false;
        sendWheel(x, y, delta, parseModifiers(words));
        return true;
    }
    if (verb == "key" || verb == "keyup") {
        int32_t character, virtualKey;
        float modifiers;
        if (!(words >> character >> virtualKey >> modifiers)) return false;
        const VstIntPtr answer = dispatch(session->effect, verb == "key" ? effEditKeyDown : effEditKeyUp,
                                          character, virtualKey, nullptr, modifiers);
        pumpMessages();
        logLine("%s %d", verb.c_str(), static_cast<int>(answer));
        return true;
    }
    if (verb == "automate") {
        int32_t index;
        float value;
        if (!(words >> index >> value) || !session->effect) return false;
        session->effect->setParameter(session->effect, index, value);
        return true;
    }
    if (verb == "param") {
        int32_t index;
        if (!(words >> index) || !session->effect) return false;
        logLine("param %d %.6f", index,
                static_cast<double>(session->effect->getParameter(session->effect, index)));
        return true;
    }
    if (verb == "knobmode") {
        int32_t mode;
        if (!(words >> mode)) return false;
        logLine("knobmode %d", static_cast<int>(dispatch(session->effect, effSetEditKnobMode, 0, mode)));
        return true;
    }
    if (verb == "idle") {
        editorIdle();
        return true;
    }
    if (verb == "wait") {
        int32_t milliseconds;
        if (!(words >> milliseconds) || milliseconds < 0) return false;
        waitFor(static_cast<DWORD>(milliseconds));
        return true;
    }
    if (verb == "screenshot") {
        std::string path;
        if (!(words >> path)) return false;
        return screenshot(path);
    }
    if (verb == "close") {
        closeEditor();
        return true;
    }
    if (verb == "open") {
        return session->editorOpen || openEditor();
    }
    if (verb == "cycle") {
        int32_t count;
        if (!(words >> count)) return false;
        for (int32_t i = 0; i < count; ++i) {
            if (session->editorOpen) dispatch(session->effect, effEditClose);
            session->editorOpen = false;
            pumpMessages();
            if (!dispatch(session->effect, effEditOpen, 0, 0, session->window)) return false;
            session->editorOpen = true;
            editorIdle();
        }
        logLine("cycle %d", count);
        return true;
    }
    if (verb == "recreate") {
        int32_t count;
        if (!(words >> count)) return false;
        for (int32_t i = 0; i < count; ++i) {
            // The host destroys the effect while the editor is still open.
            dispatch(session->effect, effClose);
            session->effect = nullptr;
            session->editorOpen = false;
            pumpMessages();
            if (!createEffect()) return false;
            if (!dispatch(session->effect, effEditOpen, 0, 0, session->window)) return false;
            session->editorOpen = true;
            editorIdle();
        }
        logLine("recreate %d children=%d", count, GetWindow(session->window, GW_CHILD) ? 1 : 0);
        return true;
    }
    if (verb == "memory") {
        logMemory();
        return true;
    }
    if (verb == "echo") {
        std::string rest;
        std::getline(words, rest);
        const size_t start = rest.find_first_not_of(' ');
        logLine("%s", start == std::string::npos ? "" : rest.c_str() + start);
        return true;
    }
    return false;
}

std::vector<std::string> readLines(const std::string& path, bool& ok) {
    std::vector<std::string> lines;
    FILE* file = std::fopen(path.c_str(), "rb");
    ok = file != nullptr;
    if (!file) return lines;
    std::string line;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line.push_back(static_cast<char>(c));
        }
    }
    if (!line.empty()) lines.push_back(line);
    std::fclose(file);
    return lines;
}

int usage() {
    std::fprintf(stderr,
                 "usage: vsthost editor DLL [--screenshot FILE.png] [--actions FILE] [--log FILE]"
                 " [--idle-reenters]\n");
    return 2;
}

}  // namespace

int runEditorCommand(int argc, char** argv) {
    std::string dllPath, screenshotPath, actionsPath, logPath;
    Session state;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--screenshot" && hasValue) screenshotPath = argv[++i];
        else if (arg == "--actions" && hasValue) actionsPath = argv[++i];
        else if (arg == "--log" && hasValue) logPath = argv[++i];
        else if (arg == "--idle-reenters") state.idleReenters = true;
        else if (dllPath.empty() && arg.rfind("--", 0) != 0) dllPath = arg;
        else return usage();
    }
    if (dllPath.empty()) return usage();

    if (!logPath.empty()) {
        state.log = std::fopen(logPath.c_str(), "w");
        if (!state.log) {
            std::fprintf(stderr, "vsthost editor: cannot write %s\n", logPath.c_str());
            return 2;
        }
    }
    session = &state;

    std::vector<std::string> actions;
    if (!actionsPath.empty()) {
        bool readable = false;
        actions = readLines(actionsPath, readable);
        if (!readable) {
            std::fprintf(stderr, "vsthost editor: cannot read %s\n", actionsPath.c_str());
            return 2;
        }
    }

    int status = 0;
    state.module = LoadLibraryA(dllPath.c_str());
    if (state.module) {
        state.entry = reinterpret_cast<EntryProc>(
            reinterpret_cast<void*>(GetProcAddress(state.module, "VSTPluginMain")));
        if (!state.entry)
            state.entry = reinterpret_cast<EntryProc>(
                reinterpret_cast<void*>(GetProcAddress(state.module, "main")));
    }
    if (!state.entry) {
        std::fprintf(stderr, "vsthost editor: cannot load %s\n", dllPath.c_str());
        status = 1;
    } else if (!createEffect() || !openEditor()) {
        status = 1;
    } else {
        waitFor(100);  // the first paint
        for (const std::string& line : actions) {
            if (!runAction(line)) {
                logLine("error action %s", line.c_str());
                status = 1;
                break;
            }
        }
        if (status == 0 && !screenshotPath.empty() && !screenshot(screenshotPath)) status = 1;
        closeEditor();
    }
    destroyEffect();
    if (state.window) DestroyWindow(state.window);
    pumpMessages();
    if (state.module) FreeLibrary(state.module);
    logLine("done %d", status);
    if (state.log != stdout) std::fclose(state.log);
    session = nullptr;
    return status;
}

}  // namespace vsthost

#else  // !_WIN32

namespace vsthost {

int runEditorCommand(int /*argc*/, char** /*argv*/) {
    std::fprintf(stderr, "vsthost editor: needs the Windows build (run it under wine)\n");
    return 2;
}

}  // namespace vsthost

#endif

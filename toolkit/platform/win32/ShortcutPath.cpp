// Shell shortcut (.lnk) resolution for dropped file paths. See
// ShortcutPath.h. Quirks: IShellLinkW::Resolve would show a search dialog
// for a moved target unless SLR_NO_UI is given (its time-out then sits in
// the high word of the flags); wine's GetPath ignores SLGP_SHORTPATH, so the
// answer is shortened once more with GetShortPathNameW.
#include "toolkit/platform/win32/ShortcutPath.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwchar>

namespace toolkit {
namespace win32 {

namespace {

wchar_t asciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

// Text from the first '.' to the end is ".lnk", ignoring case.
bool namesShortcut(const wchar_t* path) {
    const wchar_t* dot = std::wcschr(path, L'.');
    if (!dot) return false;
    const wchar_t* ext = L".lnk";
    for (; *ext; ++dot, ++ext)
        if (asciiLower(*dot) != *ext) return false;
    return *dot == 0;
}

template <class T>
void releaseInterface(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

bool resolveShortcutInPlace(wchar_t* path, size_t capacity) {
    if (!path || capacity == 0 || !namesShortcut(path)) return false;

    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool replaced = false;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&link)) == S_OK &&
        link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK &&
        file->Load(path, STGM_READ) == S_OK) {
        const DWORD flags = SLR_NO_UI | SLR_ANY_MATCH | (500u << 16);  // 500 ms
        if (link->Resolve(nullptr, flags) == S_OK) {
            wchar_t target[kDroppedPathCapacity] = {0};
            const int room = static_cast<int>(capacity < kDroppedPathCapacity ? capacity
                                                                               : kDroppedPathCapacity);
            if (link->GetPath(target, room, nullptr, SLGP_SHORTPATH) == S_OK && target[0] != 0) {
                target[room - 1] = 0;
                // wine ignores SLGP_SHORTPATH and answers the long path;
                // shorten it ourselves (an already short path stays as it
                // is, and a target that is gone keeps the path GetPath gave).
                wchar_t shortened[kDroppedPathCapacity] = {0};
                const DWORD length = GetShortPathNameW(target, shortened, room);
                if (length > 0 && length < static_cast<DWORD>(room)) std::wcscpy(target, shortened);
                std::wcsncpy(path, target, capacity - 1);
                path[capacity - 1] = 0;
                replaced = true;
            }
        }
    }
    releaseInterface(file);
    releaseInterface(link);
    return replaced;
}

}  // namespace win32
}  // namespace toolkit

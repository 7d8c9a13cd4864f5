// The drag payload over an OLE data object: Unicode text and file lists,
// shortcut resolution, UTF-16 to UTF-8. See WinDragContainer.h.
#include "toolkit/platform/win32/WinDragContainer.h"

#include <shellapi.h>

#include <cstring>
#include <cwchar>

#include "toolkit/platform/win32/ShortcutPath.h"

namespace toolkit {

namespace {

// The medium of one format, or false. A medium that is not global memory
// counts as one without a memory handle.
bool fetch(IDataObject* data, CLIPFORMAT format, STGMEDIUM& medium) {
    FORMATETC request = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    medium = STGMEDIUM();
    if (data->GetData(&request, &medium) != S_OK) return false;
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        medium = STGMEDIUM();
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = nullptr;
    }
    return true;
}

bool offers(IDataObject* data, CLIPFORMAT format) {
    STGMEDIUM medium;
    if (!fetch(data, format, medium)) return false;
    if (medium.hGlobal) ReleaseStgMedium(&medium);
    return true;
}

// UTF-8 copy of `length` UTF-16 units (no terminator needed in the source).
char* toUtf8(const wchar_t* text, int length) {
    const int bytes =
        length > 0 ? WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    char* out = new char[bytes + 1];
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out, bytes, nullptr, nullptr);
    out[bytes] = 0;
    return out;
}

int32_t fileCount(HGLOBAL list) {
    return static_cast<int32_t>(DragQueryFileW(static_cast<HDROP>(list), 0xFFFFFFFFu, nullptr, 0));
}

}  // namespace

WinDragContainer::WinDragContainer(IDataObject* source) : data(source) {
    if (!data) return;
    data->AddRef();
    STGMEDIUM medium;
    if (fetch(data, CF_UNICODETEXT, medium)) {
        count = 1;
        if (medium.hGlobal) ReleaseStgMedium(&medium);
    } else if (fetch(data, CF_HDROP, medium)) {
        if (medium.hGlobal) {
            count = fileCount(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
    }
}

WinDragContainer::~WinDragContainer() {
    freeLastItem();
    if (data) data->Release();
}

void WinDragContainer::freeLastItem() {
    delete[] lastItem;
    lastItem = nullptr;
}

const char* WinDragContainer::firstItem(int32_t& size, int32_t& type) {
    index = 0;
    return nextItem(size, type);
}

const char* WinDragContainer::nextItem(int32_t& size, int32_t& type) {
    if (!data) {
        type = kDragError;
        return nullptr;
    }
    freeLastItem();
    size = 0;
    type = kDragUnknown;

    STGMEDIUM medium;
    bool text = fetch(data, CF_UNICODETEXT, medium);
    if (!text && !fetch(data, CF_HDROP, medium)) return nullptr;
    if (!medium.hGlobal) return nullptr;

    const int32_t i = index++;
    if (text) {
        if (i == 0) {
            const auto* chars = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal));
            const SIZE_T bytes = GlobalSize(medium.hGlobal);
            if (chars && bytes != 0) {
                // Up to the terminator, but never past the end of the block.
                const SIZE_T room = bytes / sizeof(wchar_t);
                SIZE_T length = 0;
                while (length < room && chars[length] != 0) ++length;
                lastItem = toUtf8(chars, static_cast<int>(length));
                size = static_cast<int32_t>(strlen(lastItem));
                type = kDragUtf8Text;
            }
            if (chars) GlobalUnlock(medium.hGlobal);
        }
    } else {
        auto* list = static_cast<HDROP>(medium.hGlobal);
        if (i < fileCount(medium.hGlobal)) {
            wchar_t path[win32::kDroppedPathCapacity] = {0};
            if (DragQueryFileW(list, static_cast<UINT>(i), path, win32::kDroppedPathCapacity) > 0) {
                path[win32::kDroppedPathCapacity - 1] = 0;
                win32::resolveShortcutInPlace(path, win32::kDroppedPathCapacity);
                lastItem = toUtf8(path, static_cast<int>(wcslen(path)));
                size = static_cast<int32_t>(strlen(lastItem));
                type = kDragFile;
            }
        }
    }
    ReleaseStgMedium(&medium);
    return lastItem;
}

int32_t WinDragContainer::itemType(int32_t) {
    if (!data) return kDragError;
    return offers(data, CF_UNICODETEXT) ? kDragText : kDragFile;
}

int32_t WinDragContainer::itemCount() { return count; }

}  // namespace toolkit

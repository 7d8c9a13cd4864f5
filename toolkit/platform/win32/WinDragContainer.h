// WinDragContainer: the drag payload (CDragContainer) over an OLE data
// object offered by another application, for Unicode text and file lists.
//
// Items:
//   text   CF_UNICODETEXT: one item, handed out as UTF-8 with type
//          kDragUtf8Text; itemType answers kDragText.
//   files  CF_HDROP: one item per file, the path as UTF-8 with type
//          kDragFile; a shell shortcut named "<name>.lnk" is reported as
//          its target's short path (ShortcutPath.h).
// Text wins when the source offers both. itemCount is fixed at
// construction; iteration asks the data object again on every call, so a
// source that stops offering data ends the iteration (null, type
// kDragUnknown). Without a data object every item is null with type
// kDragError and the count is 0.
//
// The data object is kept (AddRef) for the payload's life: COM only
// guarantees an argument for the duration of the call that passed it.
// Every storage medium obtained is given back with ReleaseStgMedium (which
// uses the medium's release object when the source supplied one). Text is
// read no further than the memory block's size even if the source forgot
// the terminating zero.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>

#include "toolkit/CDragContainer.h"

namespace toolkit {

class WinDragContainer : public CDragContainer {
public:
    explicit WinDragContainer(IDataObject* data);
    WinDragContainer(const WinDragContainer&) = delete;
    WinDragContainer& operator=(const WinDragContainer&) = delete;
    ~WinDragContainer() override;

    const char* firstItem(int32_t& size, int32_t& type) override;
    const char* nextItem(int32_t& size, int32_t& type) override;
    int32_t itemType(int32_t index) override;
    int32_t itemCount() override;

private:
    void freeLastItem();

    IDataObject* data = nullptr;
    int32_t count = 0;
    int32_t index = 0;
    char* lastItem = nullptr;  // owned UTF-8 copy of the last item answered
};

}  // namespace toolkit

// CDropTarget: the OLE drop target of a frame's window. It wraps what is
// dragged over the window in a WinDragContainer and routes it into the
// frame (dragEnter, dragMove, dragLeave, drop), always at the frame's
// mouseLocation (frame coordinates): the screen point OLE passes is not
// used.
//
//   DragEnter  no data or no frame: effect none. Else a new payload becomes
//              the process's current one (replacing a stale one), the frame
//              gets dragEnter, the effect is chosen (chooseDropEffect).
//   DragOver   with a current payload: the frame gets dragMove, the effect
//              is chosen; without one the effect is left alone.
//   DragLeave  the frame gets dragLeave; the payload is released.
//   Drop       the frame gets drop; the payload is released; the effect is
//              left as the source set it.
// Every callback answers S_OK.
//
// The reference count starts at 0: the window's registration holds the only
// reference, and revoking the registration destroys the target. A target
// destroyed while its drag is still current (the window went away during a
// drag) releases that payload.
//
// Process-wide: the current drag payload, one for all frames of the
// process (the system runs one drag at a time). UI thread only.
//
// Quirks: the screen point OLE passes is not used; positions come from the
// frame's pointer query, in frame coordinates like every other position the
// views see. RegisterDragDrop keeps references of its own, so the
// registering code holds one across the call and lets go afterwards: the
// target then lives exactly as long as the registration, or dies at once if
// the registration failed.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>

namespace toolkit {

class CDragContainer;
class CFrame;

class CDropTarget final : public IDropTarget {
public:
    explicit CDropTarget(CFrame* frame);
    CDropTarget(const CDropTarget&) = delete;
    CDropTarget& operator=(const CDropTarget&) = delete;
    virtual ~CDropTarget();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

    // The payload of the drag in progress, null between drags.
    static CDragContainer* currentDrag();

private:
    void endDrag();

    LONG refCount = 0;
    CFrame* frame = nullptr;
};

}  // namespace toolkit

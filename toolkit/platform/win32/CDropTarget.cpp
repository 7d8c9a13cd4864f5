// The OLE drop target of a frame's window and the process's current drag
// payload. See CDropTarget.h.
#include "toolkit/platform/win32/CDropTarget.h"

#include "toolkit/CFrame.h"
#include "toolkit/platform/win32/DropEffect.h"
#include "toolkit/platform/win32/WinDragContainer.h"

namespace toolkit {

namespace {

// The drag in progress and the target that started it.
CDragContainer* current = nullptr;
CDropTarget* currentOwner = nullptr;

void clearCurrent() {
    CDragContainer* payload = current;
    current = nullptr;
    currentOwner = nullptr;
    if (payload) payload->release();
}

CPosition pointer(CFrame* frame) {
    CPosition where;
    frame->mouseLocation(where);
    return where;
}

void answerEffect(DWORD* effect) {
    if (effect) *effect = win32::chooseDropEffect(*effect);
}

}  // namespace

CDropTarget::CDropTarget(CFrame* owner) : frame(owner) {}

CDropTarget::~CDropTarget() {
    if (currentOwner == this) clearCurrent();
}

CDragContainer* CDropTarget::currentDrag() { return current; }

HRESULT STDMETHODCALLTYPE CDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IDropTarget) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDropTarget::AddRef() { return static_cast<ULONG>(++refCount); }

ULONG STDMETHODCALLTYPE CDropTarget::Release() {
    const LONG count = --refCount;
    if (count == 0) delete this;
    return count > 0 ? static_cast<ULONG>(count) : 0;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    if (!data || !frame) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    // A DragEnter without DragLeave replaces the stale payload.
    clearCurrent();
    current = new WinDragContainer(data);
    currentOwner = this;
    CDragContainer* payload = current;
    payload->retain();  // the frame's views may end the drag from inside
    frame->dragEnter(payload, pointer(frame));
    payload->release();
    answerEffect(effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!current || !frame) return S_OK;
    CDragContainer* payload = current;
    payload->retain();
    frame->dragMove(payload, pointer(frame));
    payload->release();
    answerEffect(effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragLeave() {
    if (!current || !frame) return S_OK;
    CDragContainer* payload = current;
    payload->retain();
    frame->dragLeave(payload, pointer(frame));
    payload->release();
    endDrag();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD*) {
    if (!current || !frame) return S_OK;
    CDragContainer* payload = current;
    payload->retain();
    frame->drop(payload, pointer(frame));
    payload->release();
    endDrag();
    return S_OK;
}

void CDropTarget::endDrag() { clearCurrent(); }

}  // namespace toolkit

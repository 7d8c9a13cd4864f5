#include "toolkit/platform/win32/ResourceStream.h"

#include <cstring>

namespace toolkit {

HRESULT STDMETHODCALLTYPE ResourceStream::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStream) ||
        IsEqualIID(iid, IID_ISequentialStream)) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ResourceStream::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references)); }

ULONG STDMETHODCALLTYPE ResourceStream::Release() {
    const LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ResourceStream::Read(void* buffer, ULONG count, ULONG* read) {
    if (read) *read = 0;
    const uint32_t remaining = length - offset;
    if (count > remaining) {
        // Decoders may read in blocks of their own size: the last block
        // gets what is left, as the stream contract says, not nothing.
        if (remaining > 0 && buffer) std::memcpy(buffer, bytes + offset, remaining);
        offset += remaining;
        if (read) *read = remaining;
        return S_FALSE;
    }
    if (count > 0) {
        if (!buffer) return STG_E_INVALIDPOINTER;
        std::memcpy(buffer, bytes + offset, count);
    }
    offset += count;
    if (read) *read = count;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
    int64_t target;
    switch (origin) {
        case STREAM_SEEK_SET:
            target = move.QuadPart;
            break;
        case STREAM_SEEK_CUR:
            target = static_cast<int64_t>(offset) + move.QuadPart;
            break;
        case STREAM_SEEK_END:
            return S_FALSE;
        default:
            return STG_E_INVALIDFUNCTION;
    }
    if (target < 0 || target >= static_cast<int64_t>(length)) return S_FALSE;
    offset = static_cast<uint32_t>(target);
    if (newPosition) newPosition->QuadPart = offset;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Commit(DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Revert() {
    offset = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ResourceStream::Stat(STATSTG* status, DWORD) {
    if (!status) return STG_E_INVALIDPOINTER;
    std::memset(status, 0, sizeof(*status));
    status->cbSize.QuadPart = length;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Clone(IStream**) { return E_NOTIMPL; }

}  // namespace toolkit

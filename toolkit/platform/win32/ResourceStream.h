// A read-only IStream over bytes that stay valid for the stream's whole life
// (a locked resource of the loaded library): what the image decoder reads a
// "DATA" resource through, without copying it.
//
//   Read    copies count bytes from the position and advances. A read
//           that reaches past the end copies only what remains, reports
//           that count and answers S_FALSE (the end-of-stream answer
//           decoders expect); at the end it copies nothing, reports 0,
//           S_FALSE.
//   Seek    from the start (0) or the current position (1, 64-bit
//           arithmetic): the target must lie in 0 .. size - 1, else
//           S_FALSE and nothing changes (a seek to exactly the size
//           fails). From the end (2): always S_FALSE. Other origins:
//           STG_E_INVALIDFUNCTION. The new position is reported when asked.
//   Stat    a zeroed record with the size, S_OK.
//   Revert  back to position 0, S_OK.
//   Write, SetSize, CopyTo, Commit, LockRegion, UnlockRegion, Clone:
//           E_NOTIMPL.
// Reference counted with interlocked operations (the decoder may keep its
// own reference); created with one reference, destroyed at zero.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>

namespace toolkit {

class ResourceStream final : public IStream {
public:
    ResourceStream(const void* data, uint32_t size) : bytes(static_cast<const BYTE*>(data)), length(size) {}

    uint32_t position() const { return offset; }
    uint32_t size() const { return length; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // ISequentialStream
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;
    // IStream
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* status, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;

private:
    ~ResourceStream() = default;  // only through Release

    const BYTE* bytes;
    uint32_t offset = 0;
    uint32_t length;
    LONG references = 1;
};

}  // namespace toolkit

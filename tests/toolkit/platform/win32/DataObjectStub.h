// A drag source's data object for the drag-and-drop tests: offers Unicode
// text (CF_UNICODETEXT) and/or a file list (CF_HDROP) in global memory, a
// fresh copy per GetData. Each medium carries a release object, so the test
// can check that every medium handed out was given back.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace toolkit {
namespace testing {

class DataObjectStub : public IDataObject {
public:
    // Text offered as CF_UNICODETEXT (when set), files as CF_HDROP.
    bool offerText = false;
    std::wstring text;
    bool offerFiles = false;
    std::vector<std::wstring> files;
    // Bytes of text memory handed out; 0 means exactly the text and its
    // terminator (a positive value cuts the block short, no terminator).
    size_t textBytes = 0;

    int getDataCalls = 0;
    int outstandingMedia = 0;  // handed out, not yet released

    ULONG references() const { return refs; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the stack

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        ++getDataCalls;
        if (!format || !medium || !(format->tymed & TYMED_HGLOBAL) ||
            format->dwAspect != DVASPECT_CONTENT)
            return DV_E_FORMATETC;
        HGLOBAL memory = nullptr;
        if (format->cfFormat == CF_UNICODETEXT && offerText)
            memory = textMemory();
        else if (format->cfFormat == CF_HDROP && offerFiles)
            memory = fileListMemory();
        else
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = new MediumRelease(this, memory);
        ++outstandingMedia;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format && format->cfFormat == CF_UNICODETEXT && offerText) return S_OK;
        if (format && format->cfFormat == CF_HDROP && offerFiles) return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    // The medium's release object: frees the memory and counts the return.
    class MediumRelease final : public IUnknown {
    public:
        MediumRelease(DataObjectStub* owner, HGLOBAL memory) : source(owner), block(memory) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
            if (IsEqualIID(iid, IID_IUnknown)) {
                *object = this;
                AddRef();
                return S_OK;
            }
            *object = nullptr;
            return E_NOINTERFACE;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
        ULONG STDMETHODCALLTYPE Release() override {
            if (--refs) return refs;
            GlobalFree(block);
            --source->outstandingMedia;
            delete this;
            return 0;
        }

    private:
        ULONG refs = 1;
        DataObjectStub* source;
        HGLOBAL block;
    };

    HGLOBAL textMemory() const {
        const size_t full = (text.size() + 1) * sizeof(wchar_t);
        const size_t bytes = textBytes ? textBytes : full;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* p = GlobalLock(memory);
        std::memcpy(p, text.c_str(), bytes < full ? bytes : full);
        GlobalUnlock(memory);
        return memory;
    }

    HGLOBAL fileListMemory() const {
        size_t chars = 1;  // the list's closing zero
        for (const std::wstring& f : files) chars += f.size() + 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                     sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* out = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& f : files) {
            std::memcpy(out, f.c_str(), (f.size() + 1) * sizeof(wchar_t));
            out += f.size() + 1;
        }
        GlobalUnlock(memory);
        return memory;
    }

    ULONG refs = 1;
};

}  // namespace testing
}  // namespace toolkit

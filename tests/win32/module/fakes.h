// Counted stand-ins for what a container hands the control: a client site
// with in-place support (and no node interfaces), a property bag and an
// event sink. Each counts its references so the checks can see the control
// give back every one it took.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "frame/host_link.h"

namespace checks {

template <class Self>
class Counted {
public:
    LONG refs = 1;

protected:
    ULONG AddRefImpl() { return InterlockedIncrement(&refs); }
    // The test owns the object on the stack: it is never deleted here.
    ULONG ReleaseImpl() { return InterlockedDecrement(&refs); }
};

// The host's node interfaces, refusing every call: the sheet opens on a node
// it cannot read. They count their references and the calls they get.
class RefusingReader final : public qta1::NvReader {
public:
    LONG refs = 1;
    int calls = 0;
    int32_t QTA1_COMCALL QueryInterface(const qta1::Guid& iid, void** out) override {
        if (iid == qta1::kIidUnknown || iid == qta1::kIidNvReader) {
            *out = this;
            AddRef();
            return qta1::kHostOk;
        }
        *out = nullptr;
        return qta1::kNoInterface;
    }
    uint32_t QTA1_COMCALL AddRef() override { return InterlockedIncrement(&refs); }
    uint32_t QTA1_COMCALL Release() override { return InterlockedDecrement(&refs); }
    int32_t QTA1_COMCALL ReaderSlot3() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL ReaderSlot4() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL ReaderSlot5() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL ReaderSlot6() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL ReadNv(int32_t, uint8_t*, int32_t) override {
        ++calls;
        return 1;
    }
    int32_t QTA1_COMCALL ReaderSlot8() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL ReadNodeName(uint8_t*, int32_t) override {
        ++calls;
        return 1;
    }
};

class RefusingWriter final : public qta1::NvWriter {
public:
    LONG refs = 1;
    int32_t QTA1_COMCALL QueryInterface(const qta1::Guid& iid, void** out) override {
        if (iid == qta1::kIidUnknown || iid == qta1::kIidNvWriter) {
            *out = this;
            AddRef();
            return qta1::kHostOk;
        }
        *out = nullptr;
        return qta1::kNoInterface;
    }
    uint32_t QTA1_COMCALL AddRef() override { return InterlockedIncrement(&refs); }
    uint32_t QTA1_COMCALL Release() override { return InterlockedDecrement(&refs); }
    int32_t QTA1_COMCALL WriterSlot3() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL WriterSlot4() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL WriterSlot5() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL WriterSlot6() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL WriterSlot7() override { return E_NOTIMPL; }
    int32_t QTA1_COMCALL WriteNv(int32_t, const uint8_t*, int32_t) override { return 1; }
};

class SimulatedSite final : public IOleClientSite,
                            public IOleInPlaceSite,
                            public Counted<SimulatedSite> {
public:
    explicit SimulatedSite(HWND window) : window_(window) {}
    RECT position{0, 0, 62, 62};
    // Offered on the site when set, as a host offers them.
    qta1::HostUnknown* reader = nullptr;
    qta1::HostUnknown* writer = nullptr;
    int activations = 0;
    int deactivations = 0;
    int uiActivations = 0;
    int uiDeactivations = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (reader != nullptr && std::memcmp(&iid, &qta1::kIidNvReader, sizeof iid) == 0) {
            return reader->QueryInterface(qta1::kIidNvReader, out);
        } else if (writer != nullptr && std::memcmp(&iid, &qta1::kIidNvWriter, sizeof iid) == 0) {
            return writer->QueryInterface(qta1::kIidNvWriter, out);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
        ++activations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override {
        ++uiActivations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               LPRECT pos, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override {
        *frame = nullptr;
        *doc = nullptr;
        *pos = position;
        *clip = position;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override {
        ++uiDeactivations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        ++deactivations;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

private:
    HWND window_;
};

class SimulatedBag final : public IPropertyBag, public Counted<SimulatedBag> {
public:
    std::map<std::wstring, VARIANT> values;
    ~SimulatedBag() {
        for (auto& entry : values) VariantClear(&entry.second);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *out = static_cast<IPropertyBag*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        auto found = values.find(name);
        if (found == values.end()) return E_INVALIDARG;
        return VariantCopy(value, &found->second);
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        VARIANT copy;
        VariantInit(&copy);
        const HRESULT result = VariantCopy(&copy, value);
        if (FAILED(result)) return result;
        VariantClear(&values[name]);
        values[name] = copy;
        return S_OK;
    }
};

class SimulatedSink final : public IDispatch, public Counted<SimulatedSink> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return S_OK;
    }
};

}  // namespace checks

// What the module's COM objects (and the test host's) share: the table an
// object answers QueryInterface from, Guarded, which keeps C++ exceptions
// from reaching a COM caller or the system's frames around a window
// procedure, and what a host needs to make the control from a module file.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

namespace qta1::win32 {

// One interface an object offers: its identifier and the object's pointer as
// that interface (null while the object does not offer it).
template <class Object>
struct Offered {
    const IID* iid;
    IUnknown* (*as)(Object* object);
};

// The usual row: `Interface` is a base of `Object`.
template <class Interface, class Object>
constexpr Offered<Object> Offer(const IID& iid) {
    return {&iid, [](Object* object) -> IUnknown* { return static_cast<Interface*>(object); }};
}

// QueryInterface over an object's table: the interface with a counted
// reference, or null and E_NOINTERFACE (E_POINTER without a place for it).
template <class Object, size_t N>
HRESULT QueryOffered(Object* object, const Offered<Object> (&offered)[N], REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    for (const Offered<Object>& entry : offered) {
        if (!IsEqualIID(iid, *entry.iid)) continue;
        IUnknown* const found = entry.as(object);
        if (found == nullptr) break;
        found->AddRef();
        *out = found;
        return S_OK;
    }
    return E_NOINTERFACE;
}

// Runs a COM method's body: no C++ exception ever reaches the caller, who
// hears E_OUTOFMEMORY or E_UNEXPECTED instead.
template <class Body,
          std::enable_if_t<std::is_same_v<std::invoke_result_t<Body&>, HRESULT>, int> = 0>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Runs what a window procedure or a callback does: an exception does not
// unwind through the system's frames but comes back, to be thrown again once
// they are left (null when `call` finished).
template <class Call, std::enable_if_t<std::is_void_v<std::invoke_result_t<Call&>>, int> = 0>
std::exception_ptr Guarded(Call&& call) noexcept {
    try {
        call();
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

// A module's exported entry points, as a host loading it by path calls them.
using DllGetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();
template <typename Fn>
Fn ModuleExport(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A failure as a message names it: "0x80004005".
inline std::wstring HresultText(HRESULT result) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// The client site of a host that keeps no documents (the substitute host,
// the settings editor): nothing to save or name, no container, the control
// always shown. Only IUnknown is left to the host.
class DocumentlessClientSite : public IOleClientSite {
public:
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker != nullptr) *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        if (container != nullptr) *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

protected:
    ~DocumentlessClientSite() = default;
};

}  // namespace qta1::win32

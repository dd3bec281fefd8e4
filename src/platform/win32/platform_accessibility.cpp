// Accessible names of the edit boxes. A box's text is its value, so the
// system's accessible object of an edit box has no useful name of its own
// (it would borrow the static just before it in the tab order, which for the
// second and third box of a grid row is another box). Each box answers
// WM_GETOBJECT with an object of its own around the system's, whose name is
// the label from the page layout and whose description is the row or group.
// The review window's list is named the same way, after the heading above it.
// oleacc is loaded only when assistive technology first asks.
// windows.h first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
// clang-format on

#include "platform/win32/com_support.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1 {

namespace {

using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);

struct Oleacc {
    CreateStdAccessibleObjectFn createStd = nullptr;
    LresultFromObjectFn lresultFromObject = nullptr;
};

const Oleacc& LoadOleacc() {
    static const Oleacc oleacc = [] {
        Oleacc o;
        if (HMODULE module = LoadLibraryW(L"oleacc.dll")) {
            o.createStd = reinterpret_cast<CreateStdAccessibleObjectFn>(
                reinterpret_cast<void*>(GetProcAddress(module, "CreateStdAccessibleObject")));
            o.lresultFromObject = reinterpret_cast<LresultFromObjectFn>(
                reinterpret_cast<void*>(GetProcAddress(module, "LresultFromObject")));
        }
        return o;
    }();
    return oleacc;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's accessible object of the box with the layout's name. It is an
// object of its own: every interface it hands out is its own (the system's
// IEnumVARIANT and IOleWindow are served through it), so that asking any of
// them for IUnknown gives the same object, and it counts itself among the
// module's live objects while a client holds it.
class NamedAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    // Takes over `inner`'s reference. Null when out of memory.
    static NamedAccessible* Create(HWND window, IAccessible* inner, const std::wstring& name,
                                   const std::wstring& description) noexcept {
        try {
            return new NamedAccessible(window, inner, name, description);
        } catch (...) {
            return nullptr;
        }
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        using N = NamedAccessible;
        static const win32::Offered<N> kOffered[] = {
            win32::Offer<IAccessible, N>(IID_IUnknown),
            win32::Offer<IAccessible, N>(IID_IDispatch),
            win32::Offer<IAccessible, N>(__uuidof(IAccessible)),
            // Only where the system's object enumerates children.
            {&IID_IEnumVARIANT,
             [](N* self) -> IUnknown* {
                 return self->enumerator_ ? static_cast<IEnumVARIANT*>(self) : nullptr;
             }},
            win32::Offer<IOleWindow, N>(IID_IOleWindow),
        };
        return win32::QueryOffered(this, kOffered, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        return inner_->Invoke(id, iid, lcid, flags, params, result, exception, argError);
    }

    // IAccessible: the name and the description are ours, the rest is the system's.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr) return E_POINTER;
        if (!IsSelf(child)) return inner_->get_accName(child, name);
        *name = win32::NewBstr(name_);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (description == nullptr) return E_POINTER;
        if (!IsSelf(child) || description_.empty()) {
            return inner_->get_accDescription(child, description);
        }
        *description = win32::NewBstr(description_);
        return *description != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return inner_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return inner_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return inner_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

    // IEnumVARIANT: the system's children of the box, as the system counts them.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        return enumerator_->Next(count, items, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return enumerator_->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return enumerator_->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override { return enumerator_->Clone(out); }

    // IOleWindow: the box's window.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    NamedAccessible(HWND window, IAccessible* inner, const std::wstring& name,
                    const std::wstring& description)
        : window_(window), inner_(win32::ComPtr<IAccessible>::Adopt(inner)),
          enumerator_(inner_.As<IEnumVARIANT>(IID_IEnumVARIANT)), name_(name),
          description_(description) {
        win32::ObjectCreated();
    }
    ~NamedAccessible() { win32::ObjectDestroyed(); }

    LONG refs_ = 1;
    HWND window_;
    win32::ComPtr<IAccessible> inner_;
    win32::ComPtr<IEnumVARIANT> enumerator_;
    std::wstring name_;
    std::wstring description_;
};

struct AccessibleLabel {
    std::wstring name;
    std::wstring description;
};

constexpr UINT_PTR kAccessibleSubclassId = 0x51A1;

LRESULT CALLBACK AccessibleSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR data) noexcept {
    auto* label = reinterpret_cast<AccessibleLabel*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const Oleacc& oleacc = LoadOleacc();
        IAccessible* system = nullptr;
        if (oleacc.createStd != nullptr && oleacc.lresultFromObject != nullptr &&
            SUCCEEDED(oleacc.createStd(window, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&system))) &&
            system != nullptr) {
            // Without memory for ours, the client gets the system's object.
            auto named = win32::ComPtr<NamedAccessible>::Adopt(
                NamedAccessible::Create(window, system, label->name, label->description));
            if (named) {
                return oleacc.lresultFromObject(__uuidof(IAccessible), wParam,
                                                static_cast<IAccessible*>(named.Get()));
            }
            system->Release();
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, AccessibleSubclass, id);
        delete label;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void NameForAccessibility(HWND control, std::string_view name,
                          std::string_view description) noexcept {
    AccessibleLabel* label = nullptr;
    try {
        label = new AccessibleLabel{WidenText(name), WidenText(description)};
    } catch (...) {
        return;  // out of memory: the control keeps the system's name
    }
    if (!SetWindowSubclass(control, AccessibleSubclass, kAccessibleSubclassId,
                           reinterpret_cast<DWORD_PTR>(label))) {
        delete label;
    }
}

void NameForAccessibility(HWND control, const ControlDecl& decl) noexcept {
    NameForAccessibility(control, decl.label, decl.row[0] != '\0' ? decl.row : decl.group);
}

}  // namespace qta1

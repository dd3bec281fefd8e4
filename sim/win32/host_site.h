// The substitute host's side of the embedding: the client site, in-place site
// and frame a container gives the control, and, on the client site, the
// node's NvReader and NvWriter from a SimulatedNode (or neither) and the
// script site of scripted runs.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include "host_script.h"
#include "platform/win32/com_support.h"
#include "simulated_node.h"

namespace qta1::host {

class HostSite final : public win32::DocumentlessClientSite, public IOleInPlaceSite {
public:
    // `node` answers the node interfaces, as far as it offers them; `script`
    // is the script site the properties verb finds here.
    HostSite(HWND window, SimulatedSite& node, SheetScript& script);
    HostSite(const HostSite&) = delete;
    HostSite& operator=(const HostSite&) = delete;

    void SetControlRect(const RECT& rect) { controlRect_ = rect; }
    // While a settings file is the node, `file` answers the node interfaces
    // and the file node's own in place of the simulated node; null gives the
    // simulated node back.
    void UseFileNode(HostUnknown* file) { file_ = file; }
    // References the control still holds on the site, the frame and the
    // script site.
    LONG References() const { return refs_ + frame_.refs + script_.References(); }

    // IUnknown (shared by the client site and the in-place site)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               LPRECT position, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

private:
    // The in-place frame: the host's main window, with no menus, tool space
    // or status bar to share.
    class Frame final : public IOleInPlaceFrame {
    public:
        explicit Frame(HostSite& site) : site(site) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
        ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
            return site.GetWindow(window);
        }
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
        HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
            return INPLACE_E_NOTOOLSPACE;
        }
        HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

        HostSite& site;
        LONG refs = 0;
    };

    HWND window_;
    SimulatedSite& node_;
    HostUnknown* file_ = nullptr;
    SheetScript& script_;
    RECT controlRect_{};
    LONG refs_ = 0;
    Frame frame_{*this};
};

}  // namespace qta1::host

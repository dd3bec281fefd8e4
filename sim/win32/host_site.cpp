#include "host_site.h"

#include "platform/win32/com_support.h"

namespace qta1::host {

namespace {

// The node interfaces are asked for by their own identifiers; a COM GUID and
// the core's Guid have the same layout.
const Guid& AsGuid(REFIID iid) { return reinterpret_cast<const Guid&>(iid); }

}  // namespace

HostSite::HostSite(HWND window, SimulatedSite& node, SheetScript& script)
    : window_(window), node_(node), script_(script) {}

HRESULT STDMETHODCALLTYPE HostSite::QueryInterface(REFIID iid, void** out) {
    static const win32::Offered<HostSite> kOffered[] = {
        win32::Offer<IOleClientSite, HostSite>(IID_IUnknown),
        win32::Offer<IOleClientSite, HostSite>(IID_IOleClientSite),
        win32::Offer<IOleInPlaceSite, HostSite>(IID_IOleWindow),
        win32::Offer<IOleInPlaceSite, HostSite>(IID_IOleInPlaceSite),
    };
    const HRESULT own = win32::QueryOffered(this, kOffered, iid, out);
    if (own != E_NOINTERFACE) return own;
    // The script site answers for itself and for the storage it keeps.
    if (IsEqualIID(iid, win32::kIidQta1ScriptSite) || IsEqualIID(iid, win32::kIidQta1StorageSite)) {
        return script_.QueryInterface(iid, out);
    }
    const bool nodeInterface = AsGuid(iid) == kIidNvReader || AsGuid(iid) == kIidNvWriter;
    if (file_ != nullptr && (nodeInterface || AsGuid(iid) == kIidFileNode)) {
        // A settings file as the node hands out its own interfaces, counted
        // by the file node.
        return file_->QueryInterface(AsGuid(iid), out) == kHostOk ? S_OK : E_NOINTERFACE;
    }
    if (nodeInterface) {
        // The simulated site hands out the node's own interface (counted by
        // the node) when it offers it.
        return node_.QueryInterface(AsGuid(iid), out) == kHostOk ? S_OK : E_NOINTERFACE;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostSite::AddRef() { return static_cast<ULONG>(++refs_); }
ULONG STDMETHODCALLTYPE HostSite::Release() { return static_cast<ULONG>(--refs_); }

HRESULT STDMETHODCALLTYPE HostSite::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = window_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostSite::GetWindowContext(IOleInPlaceFrame** frame,
                                                     IOleInPlaceUIWindow** doc, LPRECT position,
                                                     LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame == nullptr || doc == nullptr || position == nullptr || clip == nullptr ||
        info == nullptr) {
        return E_POINTER;
    }
    *frame = &frame_;
    frame_.AddRef();
    *doc = nullptr;
    *position = controlRect_;
    *clip = controlRect_;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostSite::Frame::QueryInterface(REFIID iid, void** out) {
    static const win32::Offered<Frame> kOffered[] = {
        win32::Offer<IOleInPlaceFrame, Frame>(IID_IUnknown),
        win32::Offer<IOleInPlaceFrame, Frame>(IID_IOleWindow),
        win32::Offer<IOleInPlaceFrame, Frame>(IID_IOleInPlaceUIWindow),
        win32::Offer<IOleInPlaceFrame, Frame>(IID_IOleInPlaceFrame),
    };
    return win32::QueryOffered(this, kOffered, iid, out);
}

// While the control runs a modal window (the sheet, the about box) the host's
// own window takes no input.
HRESULT STDMETHODCALLTYPE HostSite::Frame::EnableModeless(BOOL enable) {
    EnableWindow(site.window_, enable);
    return S_OK;
}

}  // namespace qta1::host

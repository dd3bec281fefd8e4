#include "platform/win32/ocx_control.h"

#include <new>

#include "platform/win32/com_support.h"
#include "platform/win32/ocx_enum.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/qta1_guids.h"
#include "platform/win32/win32_platform.h"
#include "resources/resource_ids.h"

namespace qta1::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"QTA1ControlWindow";
// The name a property bag stores the version under.
constexpr wchar_t kVersionProperty[] = L"_Version";
// The stream of a storage that holds the control's data.
constexpr wchar_t kContentsStream[] = L"Contents";
// The control's picture is the top-left 30 x 30 pixels of bitmap 1.
constexpr int kPictureSize = 30;
// 32 x 32 pixels at 96 dots per inch, in hundredths of a millimetre.
constexpr LONG kDefaultExtentHimetric = 847;

constexpr DISPID kDispidAboutBox = DISPID_ABOUTBOX;  // -552
static_assert(kDispidAboutBox == -552);

// The properties verb, named with the standard text.
wchar_t g_propertiesVerbText[] = L"&Properties...";
const OLEVERB kVerbs[] = {
    {OLEIVERB_PROPERTIES, g_propertiesVerbText, 0, OLEVERBATTRIB_ONCONTAINERMENU},
};

bool g_windowClassRegistered = false;

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    auto* control = reinterpret_cast<CQTA1Ctrl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole window
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (dc != nullptr && control != nullptr) {
                RECT client;
                GetClientRect(window, &client);
                control->Paint(dc, client);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            if (control != nullptr && wParam != 0) {
                RECT client;
                GetClientRect(window, &client);
                control->Paint(reinterpret_cast<HDC>(wParam), client);
            }
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool EnsureWindowClass() {
    if (g_windowClassRegistered) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = ControlWindowProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    g_windowClassRegistered =
        RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return g_windowClassRegistered;
}

// The module's own manifest (resource 2) made current while the sheet runs,
// so that its windows come from version 6 of the common controls whatever
// the host's manifest says.
class ModuleActivationContext {
public:
    ModuleActivationContext() {
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = ModuleInstance();
        request.lpResourceName = MAKEINTRESOURCEW(2);  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
        context_ = CreateActCtxW(&request);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ~ModuleActivationContext() {
        if (context_ == INVALID_HANDLE_VALUE) return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }
    ModuleActivationContext(const ModuleActivationContext&) = delete;
    ModuleActivationContext& operator=(const ModuleActivationContext&) = delete;

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

}  // namespace

void DrawControlPicture(HDC dc, const RECT& bounds) {
    const GdiObject bitmap(LoadBitmapW(ModuleInstance(), MAKEINTRESOURCEW(IDB_QTA1)));
    if (!bitmap) return;
    // A metafile has no compatible memory context; the screen's serves.
    MemoryDc source(CreateCompatibleDC(dc));
    if (!source) source.Reset(CreateCompatibleDC(nullptr));
    if (!source) return;
    const Selection picture(source.Get(), bitmap.Get());
    StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
               source.Get(), 0, 0, kPictureSize, kPictureSize, SRCCOPY);
}

void UnregisterControlWindowClass() {
    if (g_windowClassRegistered) {
        UnregisterClassW(kWindowClass, ModuleInstance());
        g_windowClassRegistered = false;
    }
}

// --- EventsPoint -------------------------------------------------------------------

void EventsPoint::DisconnectAll() {
    std::vector<CONNECTDATA> leaving;
    leaving.swap(sinks_);
    for (CONNECTDATA& sink : leaving) ConnectionTraits::Clear(sink);
}

HRESULT EventsPoint::QueryInterface(REFIID iid, void** out) {
    static const Offered<EventsPoint> kOffered[] = {
        Offer<IConnectionPoint, EventsPoint>(IID_IUnknown),
        Offer<IConnectionPoint, EventsPoint>(IID_IConnectionPoint),
    };
    return QueryOffered(this, kOffered, iid, out);
}

ULONG EventsPoint::AddRef() { return owner_.AddRef(); }
ULONG EventsPoint::Release() { return owner_.Release(); }

HRESULT EventsPoint::GetConnectionInterface(IID* iid) {
    if (iid == nullptr) return E_POINTER;
    *iid = kDiidDqta1Events;
    return S_OK;
}

HRESULT EventsPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (out == nullptr) return E_POINTER;
    *out = static_cast<IConnectionPointContainer*>(&owner_);
    (*out)->AddRef();
    return S_OK;
}

HRESULT EventsPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie != nullptr) *cookie = 0;
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    IUnknown* events = nullptr;
    if (FAILED(sink->QueryInterface(kDiidDqta1Events, reinterpret_cast<void**>(&events))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    try {
        sinks_.push_back(CONNECTDATA{events, nextCookie_});
    } catch (const std::bad_alloc&) {
        events->Release();
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT EventsPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->dwCookie == cookie) {
            CONNECTDATA leaving = *it;
            sinks_.erase(it);
            ConnectionTraits::Clear(leaving);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventsPoint::EnumConnections(IEnumConnections** out) {
    return ConnectionEnumerator::Create(sinks_.data(), sinks_.size(), 0, out);
}

// --- CQTA1Ctrl: life and identity ---------------------------------------------------

CQTA1Ctrl::CQTA1Ctrl() : events_(*this) {
    extent_.cx = kDefaultExtentHimetric;
    extent_.cy = kDefaultExtentHimetric;
    ObjectCreated();
}

CQTA1Ctrl::~CQTA1Ctrl() {
    // A container that never closed the control: leave its windows and
    // interfaces as a close would.
    LeavePlace();
    events_.DisconnectAll();
    viewSink_.Reset();
    adviseHolder_.Reset();
    typeLib_.Reset();
    control_.SetClientSite(nullptr);
    site_.Reset();
    ObjectDestroyed();
}

HRESULT CQTA1Ctrl::Create(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    auto* control = new (std::nothrow) CQTA1Ctrl();
    if (control == nullptr) return E_OUTOFMEMORY;
    const HRESULT result = control->QueryInterface(iid, out);
    control->Release();
    return result;
}

HRESULT CQTA1Ctrl::QueryInterface(REFIID iid, void** out) {
    using C = CQTA1Ctrl;
    static const Offered<C> kOffered[] = {
        Offer<IOleObject, C>(IID_IUnknown),
        Offer<IOleObject, C>(IID_IOleObject),
        Offer<IOleInPlaceObject, C>(IID_IOleWindow),
        Offer<IOleInPlaceObject, C>(IID_IOleInPlaceObject),
        Offer<IOleInPlaceActiveObject, C>(IID_IOleInPlaceActiveObject),
        Offer<IOleControl, C>(IID_IOleControl),
        Offer<IViewObject2, C>(IID_IViewObject),
        Offer<IViewObject2, C>(IID_IViewObject2),
        Offer<IPersistStreamInit, C>(IID_IPersist),
        Offer<IPersistStreamInit, C>(IID_IPersistStreamInit),
        Offer<IPersistStorage, C>(IID_IPersistStorage),
        Offer<IPersistPropertyBag, C>(IID_IPersistPropertyBag),
        Offer<IDispatch, C>(IID_IDispatch),
        Offer<IDispatch, C>(kDiidDqta1),
        Offer<IProvideClassInfo2, C>(IID_IProvideClassInfo),
        Offer<IProvideClassInfo2, C>(IID_IProvideClassInfo2),
        Offer<IConnectionPointContainer, C>(IID_IConnectionPointContainer),
    };
    return QueryOffered(this, kOffered, iid, out);
}

ULONG CQTA1Ctrl::AddRef() { return InterlockedIncrement(&refs_); }

ULONG CQTA1Ctrl::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
}

// --- IOleObject ----------------------------------------------------------------------

HRESULT CQTA1Ctrl::SetClientSite(IOleClientSite* site) {
    if (site == site_.Get()) return S_OK;
    // The previous site goes only after the core has let go of it.
    ComPtr<IOleClientSite> previous = std::move(site_);
    site_ = ComPtr<IOleClientSite>::Share(site);
    // The host offers NvReader and NvWriter on this same object: IUnknown's
    // method table is what the core's HostUnknown declares.
    control_.SetClientSite(reinterpret_cast<HostUnknown*>(site_.Get()));
    return S_OK;
}

HRESULT CQTA1Ctrl::GetClientSite(IOleClientSite** site) {
    if (site == nullptr) return E_POINTER;
    *site = site_.Copy();
    return S_OK;
}

HRESULT CQTA1Ctrl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT CQTA1Ctrl::Close(DWORD) {
    InPlaceDeactivate();
    if (adviseHolder_ != nullptr) adviseHolder_->SendOnClose();
    return S_OK;
}

HRESULT CQTA1Ctrl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT CQTA1Ctrl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT CQTA1Ctrl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT CQTA1Ctrl::GetClipboardData(DWORD, IDataObject** data) {
    if (data != nullptr) *data = nullptr;
    return E_NOTIMPL;
}

HRESULT CQTA1Ctrl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND parent,
                          LPCRECT position) {
    return Guarded([&] { return RunVerb(verb, activeSite, parent, position); });
}

HRESULT CQTA1Ctrl::RunVerb(LONG verb, IOleClientSite* activeSite, HWND parent, LPCRECT position) {
    switch (verb) {
        case OLEIVERB_PROPERTIES:
            return OpenPropertySheet(parent);
        case OLEIVERB_PRIMARY:
        case OLEIVERB_UIACTIVATE:
            return ActivateInPlace(true, activeSite, parent, position);
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
            return ActivateInPlace(false, activeSite, parent, position);
        case OLEIVERB_HIDE:
            UIDeactivate();
            if (window_) ShowWindow(window_.Get(), SW_HIDE);
            return S_OK;
        case OLEIVERB_DISCARDUNDOSTATE:
            return S_OK;
        default:
            break;
    }
    if (verb < 0) return E_NOTIMPL;
    // An unknown positive verb does what the primary verb does.
    const HRESULT result = ActivateInPlace(true, activeSite, parent, position);
    return FAILED(result) ? result : OLEOBJ_S_INVALIDVERB;
}

HRESULT CQTA1Ctrl::EnumVerbs(IEnumOLEVERB** verbs) {
    return VerbEnumerator::Create(kVerbs, std::size(kVerbs), 0, verbs);
}

HRESULT CQTA1Ctrl::Update() { return S_OK; }
HRESULT CQTA1Ctrl::IsUpToDate() { return S_OK; }

HRESULT CQTA1Ctrl::GetUserClassID(CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    *clsid = kClsidQta1Ctrl;
    return S_OK;
}

HRESULT CQTA1Ctrl::GetUserType(DWORD, LPOLESTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    return Guarded([&] {
        const std::wstring typeName = LoadModuleString(IDS_QTA1);
        const size_t bytes = (typeName.size() + 1) * sizeof(wchar_t);
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (*name == nullptr) return E_OUTOFMEMORY;
        CopyMemory(*name, typeName.c_str(), bytes);
        return S_OK;
    });
}

HRESULT CQTA1Ctrl::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (size == nullptr) return E_POINTER;
    if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
    extent_ = *size;
    return S_OK;
}

HRESULT CQTA1Ctrl::GetExtent(DWORD aspect, SIZEL* size) {
    if (size == nullptr) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

HRESULT CQTA1Ctrl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (connection != nullptr) *connection = 0;
    if (sink == nullptr || connection == nullptr) return E_POINTER;
    if (adviseHolder_ == nullptr) {
        const HRESULT made = CreateOleAdviseHolder(adviseHolder_.Out());
        if (FAILED(made)) return made;
    }
    return adviseHolder_->Advise(sink, connection);
}

HRESULT CQTA1Ctrl::Unadvise(DWORD connection) {
    if (adviseHolder_ == nullptr) return OLE_E_NOCONNECTION;
    return adviseHolder_->Unadvise(connection);
}

HRESULT CQTA1Ctrl::EnumAdvise(IEnumSTATDATA** advises) {
    if (advises == nullptr) return E_POINTER;
    *advises = nullptr;
    if (adviseHolder_ == nullptr) return E_FAIL;
    return adviseHolder_->EnumAdvise(advises);
}

HRESULT CQTA1Ctrl::GetMiscStatus(DWORD, DWORD* status) {
    if (status == nullptr) return E_POINTER;
    *status = kMiscStatus;
    return S_OK;
}

HRESULT CQTA1Ctrl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- In-place activation ---------------------------------------------------------------

HRESULT CQTA1Ctrl::ActivateInPlace(bool uiActivate, IOleClientSite* activeSite, HWND parent,
                                   LPCRECT position) {
    IOleClientSite* site = site_ != nullptr ? site_.Get() : activeSite;
    if (site == nullptr) return E_UNEXPECTED;
    if (inPlaceSite_ == nullptr) {
        ComPtr<IOleInPlaceSite> inPlaceSite;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.OutVoid()))) {
            return E_NOINTERFACE;
        }
        if (inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
        inPlaceSite_ = std::move(inPlaceSite);
        inPlaceSite_->OnInPlaceActivate();

        HWND container = nullptr;
        if (FAILED(inPlaceSite_->GetWindow(&container)) || container == nullptr) {
            container = parent;
        }
        RECT bounds{0, 0, 0, 0};
        RECT clip{0, 0, 0, 0};
        OLEINPLACEFRAMEINFO frameInfo{};
        frameInfo.cb = sizeof(frameInfo);
        if (FAILED(inPlaceSite_->GetWindowContext(frame_.Out(), document_.Out(), &bounds, &clip,
                                                  &frameInfo))) {
            frame_.Reset();
            document_.Reset();
            if (position != nullptr) bounds = *position;
        }
        if (container == nullptr || !EnsureWindowClass()) {
            LeavePlace();
            return E_FAIL;
        }
        window_.Reset(CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS, bounds.left,
                                      bounds.top, bounds.right - bounds.left,
                                      bounds.bottom - bounds.top, container, nullptr,
                                      ModuleInstance(), this));
        if (!window_) {
            LeavePlace();
            return E_FAIL;
        }
    }
    ShowWindow(window_.Get(), SW_SHOWNA);

    if (uiActivate && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        IOleInPlaceActiveObject* active = this;
        const std::wstring name = LoadModuleString(IDS_QTA1);
        if (frame_ != nullptr) {
            frame_->SetActiveObject(active, name.c_str());
            frame_->SetBorderSpace(nullptr);
        }
        if (document_ != nullptr) {
            document_->SetActiveObject(active, name.c_str());
            document_->SetBorderSpace(nullptr);
        }
        SetFocus(window_.Get());
    }
    return S_OK;
}

HRESULT CQTA1Ctrl::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = window_.Get();
    return window_ ? S_OK : E_FAIL;
}

HRESULT CQTA1Ctrl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT CQTA1Ctrl::InPlaceDeactivate() {
    if (inPlaceSite_ == nullptr) return S_OK;
    AddRef();  // the site's callbacks may release the container's last reference
    LeavePlace();
    Release();
    return S_OK;
}

void CQTA1Ctrl::LeavePlace() {
    if (inPlaceSite_ == nullptr) return;
    UIDeactivate();
    window_.Reset();
    ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    frame_.Reset();
    document_.Reset();
    site->OnInPlaceDeactivate();
}

HRESULT CQTA1Ctrl::UIDeactivate() {
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (frame_ != nullptr) frame_->SetActiveObject(nullptr, nullptr);
    if (document_ != nullptr) document_->SetActiveObject(nullptr, nullptr);
    if (inPlaceSite_ != nullptr) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT CQTA1Ctrl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (position == nullptr) return E_POINTER;
    if (window_) {
        SetWindowPos(window_.Get(), nullptr, position->left, position->top,
                     position->right - position->left, position->bottom - position->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return S_OK;
}

HRESULT CQTA1Ctrl::ReactivateAndUndo() { return E_NOTIMPL; }
HRESULT CQTA1Ctrl::TranslateAccelerator(LPMSG) { return S_FALSE; }
HRESULT CQTA1Ctrl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT CQTA1Ctrl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT CQTA1Ctrl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT CQTA1Ctrl::EnableModeless(BOOL) { return S_OK; }

// --- IOleControl -------------------------------------------------------------------------

HRESULT CQTA1Ctrl::GetControlInfo(CONTROLINFO* info) {
    if (info == nullptr) return E_POINTER;
    // No mnemonics, no accelerators.
    info->cb = sizeof(CONTROLINFO);
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT CQTA1Ctrl::OnMnemonic(MSG*) { return E_NOTIMPL; }
HRESULT CQTA1Ctrl::OnAmbientPropertyChange(DISPID) { return S_OK; }
HRESULT CQTA1Ctrl::FreezeEvents(BOOL) { return S_OK; }

// --- IViewObject2 ------------------------------------------------------------------------

void CQTA1Ctrl::Paint(HDC dc, const RECT& client) const { DrawControlPicture(dc, client); }

HRESULT CQTA1Ctrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                        LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_DOCPRINT) return DV_E_DVASPECT;
    if (drawDc == nullptr || bounds == nullptr) return E_INVALIDARG;
    const RECT target{bounds->left, bounds->top, bounds->right, bounds->bottom};
    DrawControlPicture(drawDc, target);
    return S_OK;
}

HRESULT CQTA1Ctrl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (colors != nullptr) *colors = nullptr;
    return S_FALSE;
}

HRESULT CQTA1Ctrl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze != nullptr) *freeze = 0;
    return E_NOTIMPL;
}

HRESULT CQTA1Ctrl::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT CQTA1Ctrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewSink_ = ComPtr<IAdviseSink>::Share(sink);
    viewAspects_ = aspects;
    viewFlags_ = flags;
    return S_OK;
}

HRESULT CQTA1Ctrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects != nullptr) *aspects = viewAspects_;
    if (flags != nullptr) *flags = viewFlags_;
    if (sink != nullptr) {
        *sink = viewSink_.Copy();
    }
    return S_OK;
}

HRESULT CQTA1Ctrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// --- Persistence: the version 1.0 and nothing else -------------------------------------

HRESULT CQTA1Ctrl::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    *clsid = kClsidQta1Ctrl;
    return S_OK;
}

HRESULT CQTA1Ctrl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT CQTA1Ctrl::Load(IStream* stream) {
    if (stream == nullptr) return E_POINTER;
    DWORD version = 0;
    ULONG read = 0;
    const HRESULT result = stream->Read(&version, sizeof(version), &read);
    if (FAILED(result)) return result;
    if (read != sizeof(version)) return STG_E_READFAULT;
    // Any version loads: the control has nothing else to restore.
    dirty_ = false;
    return S_OK;
}

HRESULT CQTA1Ctrl::Save(IStream* stream, BOOL clearDirty) {
    if (stream == nullptr) return E_POINTER;
    const DWORD version = kPersistedVersion;
    ULONG written = 0;
    const HRESULT result = stream->Write(&version, sizeof(version), &written);
    if (FAILED(result)) return result;
    if (written != sizeof(version)) return STG_E_WRITEFAULT;
    if (clearDirty) dirty_ = false;
    return S_OK;
}

HRESULT CQTA1Ctrl::GetSizeMax(ULARGE_INTEGER* size) {
    if (size == nullptr) return E_POINTER;
    size->QuadPart = sizeof(DWORD);
    return S_OK;
}

HRESULT CQTA1Ctrl::InitNew() {
    dirty_ = false;
    return S_OK;
}

HRESULT CQTA1Ctrl::InitNew(IStorage* storage) {
    if (storage == nullptr) return E_POINTER;
    dirty_ = false;
    return S_OK;
}

HRESULT CQTA1Ctrl::Load(IStorage* storage) {
    if (storage == nullptr) return E_POINTER;
    ComPtr<IStream> stream;
    const HRESULT opened = storage->OpenStream(kContentsStream, nullptr,
                                               STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Out());
    if (FAILED(opened)) return opened;
    return Load(stream.Get());
}

HRESULT CQTA1Ctrl::Save(IStorage* storage, BOOL) {
    if (storage == nullptr) return E_POINTER;
    ComPtr<IStream> stream;
    const HRESULT made = storage->CreateStream(
        kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Out());
    if (FAILED(made)) return made;
    return Save(stream.Get(), TRUE);
}

HRESULT CQTA1Ctrl::SaveCompleted(IStorage*) { return S_OK; }
HRESULT CQTA1Ctrl::HandsOffStorage() { return S_OK; }

HRESULT CQTA1Ctrl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (bag == nullptr) return E_POINTER;
    Variant value;
    V_VT(value.Ptr()) = VT_I4;
    // A bag without the version loads too: the control has nothing to restore.
    bag->Read(kVersionProperty, value.Ptr(), log);
    dirty_ = false;
    return S_OK;
}

HRESULT CQTA1Ctrl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (bag == nullptr) return E_POINTER;
    Variant value;
    V_VT(value.Ptr()) = VT_I4;
    V_I4(value.Ptr()) = static_cast<LONG>(kPersistedVersion);
    const HRESULT result = bag->Write(kVersionProperty, value.Ptr());
    if (FAILED(result)) return result;
    if (clearDirty) dirty_ = false;
    return S_OK;
}

// --- IDispatch (_DQTA1), class information --------------------------------------------------

HRESULT CQTA1Ctrl::TypeInfoOf(REFGUID guid, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (typeLib_ == nullptr) {
        // The module's own TYPELIB 1: works whether or not it is registered.
        const HRESULT loaded = Guarded(
            [&] { return LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, typeLib_.Out()); });
        if (FAILED(loaded)) return loaded;
    }
    return typeLib_->GetTypeInfoOfGuid(guid, info);
}

HRESULT CQTA1Ctrl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CQTA1Ctrl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return TypeInfoOf(kDiidDqta1, info);
}

HRESULT CQTA1Ctrl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    const HRESULT loaded = TypeInfoOf(kDiidDqta1, info.Out());
    if (FAILED(loaded)) return loaded;
    return DispGetIDsOfNames(info.Get(), names, count, ids);
}

HRESULT CQTA1Ctrl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO*, UINT*) {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (id != kDispidAboutBox) return DISP_E_MEMBERNOTFOUND;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (params != nullptr && (params->cArgs != 0 || params->cNamedArgs != 0)) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (result != nullptr) VariantInit(result);
    return ShowAbout();
}

HRESULT CQTA1Ctrl::GetClassInfo(ITypeInfo** info) { return TypeInfoOf(kClsidQta1Ctrl, info); }

HRESULT CQTA1Ctrl::GetGUID(DWORD kind, GUID* guid) {
    if (guid == nullptr) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = kDiidDqta1Events;
    return S_OK;
}

// --- IConnectionPointContainer ----------------------------------------------------------------

HRESULT CQTA1Ctrl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    IConnectionPoint* const point = &events_;
    return ConnectionPointEnumerator::Create(&point, 1, 0, points);
}

HRESULT CQTA1Ctrl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(iid, kDiidDqta1Events)) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

// --- The properties verb and the about box -------------------------------------------------

HWND CQTA1Ctrl::OwnerWindow(HWND hint) const {
    HWND window = hint != nullptr ? hint : window_.Get();
    if (window == nullptr && site_ != nullptr) {
        if (const auto siteWindow = site_.As<IOleWindow>(IID_IOleWindow)) {
            siteWindow->GetWindow(&window);
        }
    }
    if (window == nullptr) window = GetActiveWindow();
    return window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
}

class CQTA1Ctrl::ModalScope {
public:
    explicit ModalScope(CQTA1Ctrl& control) : control_(control), entered_(!control.modal_) {
        if (!entered_) return;
        control_.AddRef();
        control_.modal_ = true;
        if (control_.frame_) control_.frame_->EnableModeless(FALSE);
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    ~ModalScope() {
        if (!entered_) return;
        if (control_.frame_) control_.frame_->EnableModeless(TRUE);
        control_.modal_ = false;
        control_.Release();
    }
    // False when a modal window of the control was already up: one sheet at
    // a time, so that there is never a second sheet on the same node.
    bool Entered() const { return entered_; }

private:
    CQTA1Ctrl& control_;
    const bool entered_;
};

HRESULT CQTA1Ctrl::OpenPropertySheet(HWND parent) {
    ModalScope modal(*this);
    if (!modal.Entered()) return E_UNEXPECTED;
    return Guarded([&] {
        ModuleActivationContext manifest;
        // A test host's site may want to watch and drive the sheet.
        std::unique_ptr<Platform> platform =
            CreateWin32Platform(ModuleInstance(), OwnerWindow(parent), site_.Get());
        if (platform == nullptr) return E_FAIL;
        control_.OnProperties(*platform);
        return S_OK;
    });
}

HRESULT CQTA1Ctrl::ShowAbout() {
    ModalScope modal(*this);
    if (!modal.Entered()) return E_UNEXPECTED;
    ShowAboutBox(OwnerWindow(nullptr));
    return S_OK;
}

}  // namespace qta1::win32

// CQTA1Ctrl: the ActiveX control the host embeds. It shows the control's
// picture, offers the one properties verb, which opens the property sheet
// through the core's QTA1Control, and the AboutBox method of its dispatch
// interface. Everything else is the surface a standard container expects of
// a control: in-place activation, drawing, persistence of the version 1.0,
// class information and an (eventless) event connection point.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <vector>

#include "app/control.h"
#include "platform/win32/win32_handles.h"

namespace qta1::win32 {

// The misc status bits declared at registration and reported by the
// control: activate-when-visible, set-client-site-first, inside-out,
// cannot-link-inside, recompose-on-resize.
inline constexpr DWORD kMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                     OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                     OLEMISC_RECOMPOSEONRESIZE;
static_assert(kMiscStatus == 0x00020191);

// What the control persists: its version, major 1 and minor 0, as one DWORD
// (major in the high word).
inline constexpr DWORD kPersistedVersion = MAKELONG(0, 1);

// Copies the top-left 30 x 30 pixels of bitmap 1, stretched, onto `bounds`.
// Draws nothing when the bitmap cannot be loaded.
void DrawControlPicture(HDC dc, const RECT& bounds);

// Shows the about dialog modally and returns when it is closed.
void ShowAboutBox(HWND owner);

// The window class of the control's in-place window, removed when the
// module is unloaded.
void UnregisterControlWindowClass();

class CQTA1Ctrl;

// The connection point for _DQTA1Events. The control declares no events, so
// nothing is ever sent to the sinks; the point keeps them until they leave
// or the control goes away. It lives inside the control and shares its
// reference count.
class EventsPoint final : public IConnectionPoint {
public:
    explicit EventsPoint(CQTA1Ctrl& owner) : owner_(owner) {}
    ~EventsPoint() { DisconnectAll(); }
    EventsPoint(const EventsPoint&) = delete;
    EventsPoint& operator=(const EventsPoint&) = delete;

    void DisconnectAll();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

private:
    CQTA1Ctrl& owner_;
    std::vector<CONNECTDATA> sinks_;
    DWORD nextCookie_ = 1;
};

class CQTA1Ctrl final : public IOleObject,
                        public IOleInPlaceObject,
                        public IOleInPlaceActiveObject,
                        public IOleControl,
                        public IViewObject2,
                        public IPersistStreamInit,
                        public IPersistStorage,
                        public IPersistPropertyBag,
                        public IDispatch,
                        public IProvideClassInfo2,
                        public IConnectionPointContainer {
public:
    // The class factory's creation: a new control with one reference, asked
    // for `iid`.
    static HRESULT Create(REFIID iid, void** out);

    CQTA1Ctrl(const CQTA1Ctrl&) = delete;
    CQTA1Ctrl& operator=(const CQTA1Ctrl&) = delete;

    // --- IUnknown ------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // --- IOleObject ------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation,
                                           DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* activeSite, LONG index,
                                     HWND parent, LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* name) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

    // --- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject ----------------
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                           BOOL frameWindow) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

    // --- IOleControl -----------------------------------------------------------
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // --- IViewObject2 ----------------------------------------------------------
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo,
                                   DVTARGETDEVICE* device, HDC targetDc, HDC drawDc,
                                   LPCRECTL bounds, LPCRECTL windowBounds,
                                   BOOL(STDMETHODCALLTYPE* keepDrawing)(ULONG_PTR),
                                   ULONG_PTR keepDrawingArgument) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD aspect, LONG index, void* aspectInfo,
                                          DVTARGETDEVICE* device, HDC targetDc,
                                          LOGPALETTE** colors) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD aspect, LONG index, void* aspectInfo,
                                     DWORD* freeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD freeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device,
                                        LPSIZEL size) override;

    // --- IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag -----
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // --- IDispatch (_DQTA1) -------------------------------------------------------
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    // --- IProvideClassInfo2 ------------------------------------------------------
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // --- IConnectionPointContainer -----------------------------------------------
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // The in-place window's painting.
    void Paint(HDC dc, const RECT& client) const;

private:
    CQTA1Ctrl();
    ~CQTA1Ctrl();

    HRESULT RunVerb(LONG verb, IOleClientSite* activeSite, HWND parent, LPCRECT position);
    HRESULT ActivateInPlace(bool uiActivate, IOleClientSite* activeSite, HWND parent,
                            LPCRECT position);
    // Leaves in-place activation: UI deactivation, the window destroyed, the
    // site told and every interface it gave released.
    void LeavePlace();
    HRESULT OpenPropertySheet(HWND parent);
    HRESULT ShowAbout();
    // The host's top-level window: owner of the sheet and the about dialog.
    HWND OwnerWindow(HWND hint) const;
    // While a modal window of the control (the sheet, the about box) is up:
    // the control keeps itself alive (the host may drop its own reference),
    // refuses a second one, and tells an in-place frame that it is modal so
    // the container offers no modeless user interface of its own.
    class ModalScope;
    HRESULT TypeInfoOf(REFGUID guid, ITypeInfo** info);

    LONG refs_ = 1;
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleInPlaceFrame> frame_;
    ComPtr<IOleInPlaceUIWindow> document_;
    Window window_;
    bool uiActive_ = false;
    bool modal_ = false;
    bool dirty_ = false;
    SIZEL extent_;
    ComPtr<ITypeLib> typeLib_;
    EventsPoint events_;
    QTA1Control control_;
};

}  // namespace qta1::win32

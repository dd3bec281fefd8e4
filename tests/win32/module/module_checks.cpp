// Checks of QTA1.OCX as a registered ActiveX control, run under Wine after
// regsvr32: its resources, its type library, the COM surface a container
// relies on (identity, verbs, persistence, events, drawing, AboutBox),
// exact reference counting and unloading, the properties verb on a site
// that offers no node, and embedding by Wine's own ATL container. With
// --answer-dialog TITLE it reads and closes a dialog another process shows
// (the about box of a script host, a message of the installer).
//
// Prints one line per check and "N passed, M failed" last; the exit code is
// 0 only when every check passed.

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
// clang-format on

#include <commctrl.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "dialogs.h"
#include "fakes.h"
#include "platform/win32/qta1_guids.h"
#include "resources/layout.h"
#include "resources/version.h"

using namespace checks;
using qta1::win32::kClsidQta1Ctrl;
using qta1::win32::kDiidDqta1;
using qta1::win32::kDiidDqta1Events;
using qta1::win32::kLibidQta1;

namespace {

constexpr DWORD kMiscStatus = 0x00020191;
constexpr wchar_t kModuleName[] = L"QTA1.OCX";

// Owns one reference to a COM object. Move-only: a copy would release the
// same reference twice.
template <class T>
struct Ptr {
    T* p = nullptr;
    Ptr() = default;
    Ptr(Ptr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    Ptr& operator=(Ptr&& other) noexcept {
        if (this != &other) {
            reset();
            p = std::exchange(other.p, nullptr);
        }
        return *this;
    }
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    ~Ptr() { reset(); }
    void reset() {
        if (p != nullptr) p->Release();
        p = nullptr;
    }
    T** out() {
        reset();
        return &p;
    }
    void** outv() { return reinterpret_cast<void**>(out()); }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

std::wstring Bstr(BSTR text) {
    std::wstring out = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return out;
}

std::wstring Widen(const char* text) {
    std::wstring out;
    for (; *text != '\0'; ++text) out.push_back(static_cast<unsigned char>(*text));
    return out;
}

// Whether a static control's text, wrapped as the control wraps it, fits
// inside the control.
bool TextShownWhole(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const std::wstring text = TextOf(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right <= client.right && needed.bottom <= client.bottom;
}

HRESULT CreateControl(IUnknown** out) {
    return CoCreateInstance(kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(out));
}

HRESULT CanUnloadNow() {
    HMODULE module = GetModuleHandleW(kModuleName);
    if (module == nullptr) return E_FAIL;
    auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload != nullptr ? canUnload() : E_FAIL;
}

// --- Pixels -----------------------------------------------------------------------

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    Canvas(int w, int h, uint32_t fill) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<uint32_t*>(bits);
        previous = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i) pixels[i] = fill;
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    uint32_t At(int x, int y) const {
        GdiFlush();
        return pixels[y * width + x] & 0x00FFFFFF;
    }
};

// Bitmap 1 of the module as 0x00RRGGBB rows, top-down.
std::vector<uint32_t> ModuleBitmap(int* width, int* height) {
    std::vector<uint32_t> out;
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(kModuleName), MAKEINTRESOURCEW(1));
    if (bitmap == nullptr) return out;
    BITMAP shape{};
    GetObjectW(bitmap, sizeof(shape), &shape);
    *width = shape.bmWidth;
    *height = shape.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = -shape.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.resize(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, shape.bmHeight, out.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (auto& pixel : out) pixel &= 0x00FFFFFF;
    return out;
}

// --- Resources -----------------------------------------------------------------------

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

void CheckResources() {
    HMODULE module = GetModuleHandleW(kModuleName);
    if (!Check(module != nullptr, "resources: the module is loaded")) return;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);

    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    const bool haveVersion =
        !block.empty() &&
        GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data());
    if (Check(haveVersion, "version: information present")) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length);
        constexpr DWORD kHigh = MAKELONG(QTA1_VERSION_MINOR, QTA1_VERSION_MAJOR);
        constexpr DWORD kLow = MAKELONG(QTA1_VERSION_TWEAK, QTA1_VERSION_PATCH);
        Check(fixed != nullptr && fixed->dwFileVersionMS == kHigh &&
                  fixed->dwFileVersionLS == kLow && fixed->dwProductVersionMS == kHigh &&
                  fixed->dwProductVersionLS == kLow,
              "version: file and product version " QTA1_VERSION_TEXT);
        const struct {
            const wchar_t* name;
            std::wstring value;
        } kStrings[] = {
            {L"FileDescription", L"QTA1 ActiveX Control Module"},
            {L"ProductName", L"QTA1 ActiveX Control Module"},
            {L"InternalName", L"QTA1"},
            {L"OriginalFilename", L"QTA1.OCX"},
            {L"FileVersion", Widen(QTA1_VERSION_TEXT)},
            {L"ProductVersion", Widen(QTA1_VERSION_TEXT)},
        };
        for (const auto& entry : kStrings) {
            const std::wstring got = VersionString(block, entry.name);
            Check(got == entry.value, "version: " + Narrow(entry.name), "\"" + Narrow(got) + "\"");
        }
    }

    auto loadString = [&](UINT id) {
        wchar_t text[256] = {};
        LoadStringW(module, id, text, 256);
        return std::wstring(text);
    };
    Check(loadString(1) == L"QTA1 Control", "strings: 1 is the type name");
    Check(loadString(2) == L"QTA1 Property Page", "strings: 2 is the property page name");
    int captionsRight = 0;
    std::string wrong;
    for (const qta1::PageLayout& layout : qta1::AllLayouts()) {
        if (loadString(layout.dialogId) == Widen(layout.caption)) {
            ++captionsRight;
        } else {
            wrong += " " + std::to_string(layout.dialogId);
        }
    }
    Check(captionsRight == qta1::kPageCount, "strings: the 26 tab captions match the layouts",
          "wrong:" + wrong);

    HRSRC bitmap = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(2));  // RT_BITMAP
    const auto* header =
        bitmap != nullptr
            ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, bitmap)))
            : nullptr;
    Check(header != nullptr && header->biWidth == 31 && header->biHeight == 31 &&
              header->biBitCount == 4,
          "bitmap 1: 31 x 31 pixels, 16 colours");
    Check(FindResourceW(module, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(14)) != nullptr &&
              LoadIconW(module, MAKEINTRESOURCEW(2)) != nullptr,
          "icon: present and loadable");
    Check(FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB") != nullptr,
          "type library: embedded as TYPELIB 1");

    // The manifest (resource 2) gives the module version 6 of the common
    // controls whatever the host process uses.
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = module;
    request.lpResourceName = MAKEINTRESOURCEW(2);
    // With it active, a push button comes from the common controls (which
    // draw it with visual styles): only that button knows its ideal size.
    // Without it, this process gets the plain button, which does not.
    auto idealSizeKnown = [] {
        HWND button = CreateWindowExW(0, L"Button", L"Exit", WS_POPUP | BS_PUSHBUTTON, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
        SIZE size{0, 0};
        const bool known =
            SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&size)) != 0 &&
            size.cx > 0;
        DestroyWindow(button);
        return known;
    };
    HANDLE context = CreateActCtxW(&request);
    bool styled = false;
    if (context != INVALID_HANDLE_VALUE) {
        ULONG_PTR cookie = 0;
        if (ActivateActCtx(context, &cookie)) {
            styled = idealSizeKnown();
            DeactivateActCtx(0, cookie);
        }
        ReleaseActCtx(context);
    }
    Check(styled && !idealSizeKnown(),
          "manifest: the module's context takes controls from common controls 6");
}

// --- Type library -------------------------------------------------------------------------

struct FuncSummary {
    std::wstring name;
    MEMBERID id;
    INVOKEKIND kind;
    SHORT params;
    VARTYPE result;
};

std::vector<FuncSummary> OwnFunctions(ITypeInfo* info) {
    std::vector<FuncSummary> out;
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return out;
    for (WORD i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(info->GetFuncDesc(i, &func))) continue;
        BSTR name = nullptr;
        UINT count = 0;
        info->GetNames(func->memid, &name, 1, &count);
        FuncSummary summary{Bstr(name), func->memid, func->invkind, func->cParams,
                            func->elemdescFunc.tdesc.vt};
        info->ReleaseFuncDesc(func);
        // Inherited IUnknown and IDispatch methods are not the control's own.
        static const wchar_t* kInherited[] = {
            L"QueryInterface", L"AddRef",        L"Release", L"GetTypeInfoCount",
            L"GetTypeInfo",    L"GetIDsOfNames", L"Invoke"};
        bool inherited = false;
        for (const wchar_t* base : kInherited) inherited = inherited || summary.name == base;
        if (!inherited) out.push_back(summary);
    }
    info->ReleaseTypeAttr(attr);
    return out;
}

std::wstring DocString(ITypeInfo* info) {
    BSTR doc = nullptr;
    info->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr);
    return Bstr(doc);
}

std::wstring NameOf(ITypeInfo* info) {
    BSTR name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    return Bstr(name);
}

void CheckTypeLibrary() {
    Ptr<ITypeLib> library;
    if (!CheckHr(LoadRegTypeLib(kLibidQta1, 1, 0, 0, library.out()), S_OK,
                 "type library: registered as version 1.0")) {
        return;
    }
    BSTR name = nullptr;
    BSTR doc = nullptr;
    BSTR help = nullptr;
    library->GetDocumentation(-1, &name, &doc, nullptr, &help);
    const std::wstring libName = Bstr(name);
    const std::wstring libDoc = Bstr(doc);
    const std::wstring helpFile = Bstr(help);
    Check(libName == L"QTA1Lib", "type library: name QTA1Lib", Narrow(libName));
    Check(libDoc == L"QTA1 ActiveX Control module", "type library: description", Narrow(libDoc));
    Check(helpFile.size() >= 8 && helpFile.substr(helpFile.size() - 8) == L"QTA1.hlp",
          "type library: help file QTA1.hlp", Narrow(helpFile));
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attr))) {
        Check(attr->wMajorVerNum == 1 && attr->wMinorVerNum == 0 &&
                  (attr->wLibFlags & LIBFLAG_FCONTROL) != 0,
              "type library: version 1.0, marked as a control library");
        library->ReleaseTLibAttr(attr);
    }
    Check(library->GetTypeInfoCount() == 3, "type library: three types");

    Ptr<ITypeInfo> dispatch;
    if (CheckHr(library->GetTypeInfoOfGuid(kDiidDqta1, dispatch.out()), S_OK, "_DQTA1: present")) {
        TYPEATTR* type = nullptr;
        dispatch->GetTypeAttr(&type);
        Check(type != nullptr && type->typekind == TKIND_DISPATCH, "_DQTA1: a dispatch interface");
        if (type != nullptr) dispatch->ReleaseTypeAttr(type);
        Check(NameOf(dispatch.p) == L"_DQTA1", "_DQTA1: name");
        Check(DocString(dispatch.p) == L"Dispatch interface for QTA1 Control",
              "_DQTA1: description");
        const auto functions = OwnFunctions(dispatch.p);
        Check(functions.size() == 1 && functions[0].name == L"AboutBox" &&
                  functions[0].id == -552 && functions[0].kind == INVOKE_FUNC &&
                  functions[0].params == 0 && functions[0].result == VT_VOID,
              "_DQTA1: one method, void AboutBox() with dispatch id -552");
    }

    Ptr<ITypeInfo> events;
    if (CheckHr(library->GetTypeInfoOfGuid(kDiidDqta1Events, events.out()), S_OK,
                "_DQTA1Events: present")) {
        TYPEATTR* type = nullptr;
        events->GetTypeAttr(&type);
        Check(type != nullptr && type->typekind == TKIND_DISPATCH,
              "_DQTA1Events: a dispatch interface");
        if (type != nullptr) events->ReleaseTypeAttr(type);
        Check(NameOf(events.p) == L"_DQTA1Events", "_DQTA1Events: name");
        Check(DocString(events.p) == L"Event interface for QTA1 Control",
              "_DQTA1Events: description");
        Check(OwnFunctions(events.p).empty(), "_DQTA1Events: no events");
    }

    Ptr<ITypeInfo> coclass;
    if (CheckHr(library->GetTypeInfoOfGuid(kClsidQta1Ctrl, coclass.out()), S_OK,
                "QTA1 class: present")) {
        TYPEATTR* type = nullptr;
        coclass->GetTypeAttr(&type);
        const bool shape = type != nullptr && type->typekind == TKIND_COCLASS &&
                           (type->wTypeFlags & TYPEFLAG_FCONTROL) != 0 &&
                           (type->wTypeFlags & TYPEFLAG_FCANCREATE) != 0 && type->cImplTypes == 2;
        Check(shape, "QTA1 class: a creatable control class with two interfaces");
        Check(NameOf(coclass.p) == L"QTA1" && DocString(coclass.p) == L"QTA1 Control",
              "QTA1 class: name and description");
        if (type != nullptr) {
            const struct {
                GUID iid;
                INT flags;
                const char* what;
            } kImplemented[] = {
                {kDiidDqta1, IMPLTYPEFLAG_FDEFAULT, "QTA1 class: _DQTA1 is the default interface"},
                {kDiidDqta1Events, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE,
                 "QTA1 class: _DQTA1Events is the default source"},
            };
            for (UINT i = 0; i < 2 && i < type->cImplTypes; ++i) {
                HREFTYPE ref = 0;
                INT flags = 0;
                Ptr<ITypeInfo> implemented;
                TYPEATTR* implAttr = nullptr;
                coclass->GetRefTypeOfImplType(i, &ref);
                coclass->GetImplTypeFlags(i, &flags);
                bool right = SUCCEEDED(coclass->GetRefTypeInfo(ref, implemented.out())) &&
                             SUCCEEDED(implemented->GetTypeAttr(&implAttr)) &&
                             IsEqualGUID(implAttr->guid, kImplemented[i].iid) &&
                             flags == kImplemented[i].flags;
                if (implAttr != nullptr) implemented->ReleaseTypeAttr(implAttr);
                Check(right, kImplemented[i].what);
            }
            coclass->ReleaseTypeAttr(type);
        }
    }
}

// --- The COM surface ----------------------------------------------------------------------

void CheckIdentity(IUnknown* control) {
    const struct {
        const IID* iid;
        const char* name;
    } kInterfaces[] = {
        {&IID_IOleObject, "IOleObject"},
        {&IID_IOleWindow, "IOleWindow"},
        {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
        {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
        {&IID_IOleControl, "IOleControl"},
        {&IID_IViewObject, "IViewObject"},
        {&IID_IViewObject2, "IViewObject2"},
        {&IID_IPersist, "IPersist"},
        {&IID_IPersistStreamInit, "IPersistStreamInit"},
        {&IID_IPersistStorage, "IPersistStorage"},
        {&IID_IPersistPropertyBag, "IPersistPropertyBag"},
        {&IID_IDispatch, "IDispatch"},
        {&kDiidDqta1, "_DQTA1"},
        {&IID_IProvideClassInfo, "IProvideClassInfo"},
        {&IID_IProvideClassInfo2, "IProvideClassInfo2"},
        {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
    };
    std::string missing;
    std::string foreign;
    for (const auto& entry : kInterfaces) {
        Ptr<IUnknown> asked;
        if (FAILED(control->QueryInterface(*entry.iid, asked.outv())) || !asked) {
            missing += std::string(" ") + entry.name;
            continue;
        }
        Ptr<IUnknown> identity;
        asked->QueryInterface(IID_IUnknown, identity.outv());
        if (identity.p != control) foreign += std::string(" ") + entry.name;
    }
    Check(missing.empty(), "identity: every interface a container asks for", "missing:" + missing);
    Check(foreign.empty(), "identity: each leads back to the same IUnknown", "differs:" + foreign);
    Ptr<IUnknown> none;
    none.p = reinterpret_cast<IUnknown*>(1);
    const HRESULT refused =
        control->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&none.p));
    Check(refused == E_NOINTERFACE && none.p == nullptr, "identity: other interfaces refused");
}

void CheckOleObject(IUnknown* control) {
    Ptr<IOleObject> object;
    control->QueryInterface(IID_IOleObject, object.outv());
    if (!object) return;
    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    Check(misc == kMiscStatus, "IOleObject: misc status 0x00020191", Hex(static_cast<long>(misc)));

    Ptr<IEnumOLEVERB> verbs;
    std::vector<OLEVERB> listed;
    if (SUCCEEDED(object->EnumVerbs(verbs.out())) && verbs) {
        OLEVERB verb{};
        ULONG fetched = 0;
        while (verbs->Next(1, &verb, &fetched) == S_OK && fetched == 1) listed.push_back(verb);
    }
    Check(listed.size() == 1 && listed[0].lVerb == OLEIVERB_PROPERTIES &&
              listed[0].lpszVerbName != nullptr &&
              std::wstring(listed[0].lpszVerbName) == L"&Properties..." &&
              listed[0].grfAttribs == OLEVERBATTRIB_ONCONTAINERMENU,
          "IOleObject: one verb, \"&Properties...\"");
    for (OLEVERB& verb : listed) CoTaskMemFree(verb.lpszVerbName);

    LPOLESTR typeName = nullptr;
    object->GetUserType(USERCLASSTYPE_FULL, &typeName);
    Check(typeName != nullptr && std::wstring(typeName) == L"QTA1 Control",
          "IOleObject: user type \"QTA1 Control\"");
    CoTaskMemFree(typeName);
    CheckHr(object->DoVerb(-99, nullptr, nullptr, 0, nullptr, nullptr), E_NOTIMPL,
            "IOleObject: an unknown negative verb is not implemented");
}

void CheckPersistence(IUnknown* control) {
    const BYTE kVersion[] = {0x00, 0x00, 0x01, 0x00};  // major 1, minor 0

    Ptr<IPersistStreamInit> streamInit;
    control->QueryInterface(IID_IPersistStreamInit, streamInit.outv());
    Ptr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.out());
    if (streamInit && stream) {
        CheckHr(streamInit->InitNew(), S_OK, "stream: InitNew");
        CheckHr(streamInit->Save(stream.p, TRUE), S_OK, "stream: Save");
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        BYTE saved[8] = {};
        ULONG read = 0;
        LARGE_INTEGER start{};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        stream->Read(saved, sizeof(saved), &read);
        Check(stat.cbSize.QuadPart == 4 && read == 4 && std::memcmp(saved, kVersion, 4) == 0,
              "stream: holds the version 1.0 and nothing else");
        ULARGE_INTEGER size{};
        streamInit->GetSizeMax(&size);
        Check(size.QuadPart == 4, "stream: size 4");
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        CheckHr(streamInit->Load(stream.p), S_OK, "stream: loads what it saved");
        Check(streamInit->Load(stream.p) != S_OK, "stream: a short stream is refused");
    }

    Ptr<IPersistStorage> storage;
    control->QueryInterface(IID_IPersistStorage, storage.outv());
    Ptr<ILockBytes> bytes;
    Ptr<IStorage> root;
    CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.out());
    if (bytes) {
        StgCreateDocfileOnILockBytes(bytes.p, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                     0, root.out());
    }
    if (storage && root) {
        CheckHr(storage->Save(root.p, FALSE), S_OK, "storage: Save");
        storage->SaveCompleted(nullptr);
        Ptr<IStream> contents;
        BYTE saved[8] = {};
        ULONG read = 0;
        if (SUCCEEDED(root->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                       contents.out()))) {
            contents->Read(saved, sizeof(saved), &read);
        }
        Check(read == 4 && std::memcmp(saved, kVersion, 4) == 0,
              "storage: \"Contents\" holds the version 1.0");
        contents.reset();
        CheckHr(storage->Load(root.p), S_OK, "storage: loads what it saved");
    }

    Ptr<IPersistPropertyBag> persistBag;
    control->QueryInterface(IID_IPersistPropertyBag, persistBag.outv());
    if (persistBag) {
        SimulatedBag bag;
        CheckHr(persistBag->Save(&bag, TRUE, TRUE), S_OK, "property bag: Save");
        const auto found = bag.values.find(L"_Version");
        Check(bag.values.size() == 1 && found != bag.values.end() &&
                  V_VT(&found->second) == VT_I4 && V_I4(&found->second) == 0x00010000,
              "property bag: only _Version = 1.0");
        CheckHr(persistBag->Load(&bag, nullptr), S_OK, "property bag: loads what it saved");
        SimulatedBag empty;
        CheckHr(persistBag->Load(&empty, nullptr), S_OK, "property bag: an empty bag loads");
        Check(bag.refs == 1 && empty.refs == 1, "property bag: no reference kept");
    }
}

void CheckEvents(IUnknown* control) {
    Ptr<IConnectionPointContainer> container;
    control->QueryInterface(IID_IConnectionPointContainer, container.outv());
    if (!container) return;
    Ptr<IConnectionPoint> point;
    CheckHr(container->FindConnectionPoint(kDiidDqta1Events, point.out()), S_OK,
            "events: a connection point for _DQTA1Events");
    Ptr<IConnectionPoint> other;
    CheckHr(container->FindConnectionPoint(IID_IPropertyNotifySink, other.out()),
            CONNECT_E_NOCONNECTION, "events: no other connection point");

    Ptr<IEnumConnectionPoints> points;
    int pointCount = 0;
    if (SUCCEEDED(container->EnumConnectionPoints(points.out()))) {
        IConnectionPoint* listed = nullptr;
        while (points->Next(1, &listed, nullptr) == S_OK) {
            ++pointCount;
            listed->Release();
        }
    }
    Check(pointCount == 1, "events: one point listed");
    if (!point) return;

    SimulatedSink sink;
    DWORD cookie = 0;
    CheckHr(point->Advise(&sink, &cookie), S_OK, "events: a sink connects");
    Ptr<IEnumConnections> connections;
    int connected = 0;
    if (SUCCEEDED(point->EnumConnections(connections.out()))) {
        CONNECTDATA data{};
        while (connections->Next(1, &data, nullptr) == S_OK) {
            connected += data.dwCookie == cookie ? 1 : 0;
            data.pUnk->Release();
        }
    }
    connections.reset();
    Check(connected == 1, "events: the sink is listed");
    CheckHr(point->Unadvise(cookie), S_OK, "events: the sink disconnects");
    CheckHr(point->Unadvise(cookie), CONNECT_E_NOCONNECTION, "events: only once");
    Check(sink.refs == 1, "events: every sink reference given back");
}

void CheckDispatch(IUnknown* control) {
    Ptr<IDispatch> dispatch;
    control->QueryInterface(IID_IDispatch, dispatch.outv());
    if (!dispatch) return;
    UINT count = 0;
    dispatch->GetTypeInfoCount(&count);
    Ptr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    const bool described = count == 1 && SUCCEEDED(dispatch->GetTypeInfo(0, 0, info.out())) &&
                           SUCCEEDED(info->GetTypeAttr(&attr)) &&
                           IsEqualGUID(attr->guid, kDiidDqta1);
    if (attr != nullptr) info->ReleaseTypeAttr(attr);
    Check(described, "IDispatch: described by _DQTA1");
    wchar_t aboutName[] = L"AboutBox";
    LPOLESTR names[] = {aboutName};
    DISPID id = 0;
    dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    Check(id == -552, "IDispatch: AboutBox has dispatch id -552");
    wchar_t otherName[] = L"Refresh";
    names[0] = otherName;
    CheckHr(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME,
            "IDispatch: no other names");

    DISPPARAMS none{};
    CheckHr(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND, "IDispatch: no other members");
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I4;
    DISPPARAMS one{&argument, nullptr, 1, 0};
    CheckHr(dispatch->Invoke(-552, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT, "IDispatch: AboutBox takes no arguments");

    // AboutBox shows the modal dialog; a second thread reads it and presses OK.
    std::vector<std::wstring> texts;  // of every child but the icon
    std::string cutOff;               // the texts that do not fit their control
    bool iconShown = false;
    bool found = false;
    Thread user([&] {
        HWND about = WaitForTitle(L"About QTA1 Control");
        if (about == nullptr) return;
        found = true;
        for (HWND child : Children(about)) {
            if (ClassOf(child) == L"Static" &&
                (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                iconShown = iconShown || SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else {
                texts.push_back(TextOf(child));
                if (ClassOf(child) == L"Static" && !TextShownWhole(child)) {
                    cutOff += " \"" + Narrow(texts.back()) + "\"";
                }
            }
        }
        PressButton(about, IDOK);
    });
    const HRESULT shown =
        dispatch->Invoke(-552, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    user.Join();
    CheckHr(shown, S_OK, "AboutBox: returns once the dialog is closed");
    Check(found, "AboutBox: the dialog \"About QTA1 Control\" appears");
    int freeLines = 0;
    std::string shown_texts;
    for (const auto& text : texts) {
        shown_texts += " \"" + Narrow(text) + "\"";
        if (!text.empty() && text != L"QTA1 Control, Version 1.0" && text != L"OK") ++freeLines;
    }
    Check(texts.size() == 3 && Contains(texts, L"QTA1 Control, Version 1.0") &&
              Contains(texts, L"OK") && freeLines == 1,
          "AboutBox: version line, one more line and OK", shown_texts);
    const std::wstring version = Widen(QTA1_VERSION_TEXT);
    Check(std::any_of(
              texts.begin(), texts.end(),
              [&](const std::wstring& text) { return text.ends_with(L"version " + version); }),
          "AboutBox: the second line ends with the whole version " QTA1_VERSION_TEXT, shown_texts);
    Check(found && cutOff.empty(), "AboutBox: every line is shown whole", "cut off:" + cutOff);
    Check(iconShown, "AboutBox: shows the control's icon");

    Ptr<IProvideClassInfo2> classInfo;
    control->QueryInterface(IID_IProvideClassInfo2, classInfo.outv());
    if (classInfo) {
        GUID source{};
        classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source);
        Check(IsEqualGUID(source, kDiidDqta1Events), "class info: default source _DQTA1Events");
        Ptr<ITypeInfo> coclass;
        TYPEATTR* type = nullptr;
        const bool right = SUCCEEDED(classInfo->GetClassInfo(coclass.out())) &&
                           SUCCEEDED(coclass->GetTypeAttr(&type)) &&
                           IsEqualGUID(type->guid, kClsidQta1Ctrl);
        if (type != nullptr) coclass->ReleaseTypeAttr(type);
        Check(right, "class info: the QTA1 class");
    }
}

// IViewObject::Draw stretches the bitmap's top-left 30 x 30 pixels onto the
// bounds: drawn at twice the size, every 2 x 2 block is one source pixel.
void CheckDrawing(IUnknown* control) {
    Ptr<IViewObject2> view;
    control->QueryInterface(IID_IViewObject2, view.outv());
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> source = ModuleBitmap(&width, &height);
    if (!view || !Check(width == 31 && height == 31, "drawing: bitmap 1 loads")) return;

    constexpr uint32_t kUntouched = 0x00123456;
    Canvas canvas(100, 100, kUntouched);
    const RECTL bounds{10, 10, 70, 70};
    CheckHr(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc, &bounds, nullptr,
                       nullptr, 0),
            S_OK, "drawing: Draw succeeds");
    int wrong = 0;
    int outside = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inside = x >= 10 && x < 70 && y >= 10 && y < 70;
            const uint32_t got = canvas.At(x, y);
            if (inside) {
                wrong += got != source[((y - 10) / 2) * 31 + (x - 10) / 2] ? 1 : 0;
            } else {
                outside += got != kUntouched ? 1 : 0;
            }
        }
    }
    Check(wrong == 0, "drawing: the bounds show the top-left 30 x 30 pixels, stretched",
          std::to_string(wrong) + " pixels differ");
    Check(outside == 0, "drawing: nothing outside the bounds",
          std::to_string(outside) + " pixels touched");
    CheckHr(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc, nullptr, nullptr,
                       nullptr, 0),
            E_INVALIDARG, "drawing: no bounds, no drawing");
}

// --- References, in-place activation and unloading -----------------------------------------

HWND MakeHostWindow(const wchar_t* title) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"QTA1CheckHost";
        registered = RegisterClassW(&windowClass) != 0;
    }
    return CreateWindowExW(0, L"QTA1CheckHost", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           360, 240, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

struct SheetSeen {
    std::vector<std::wstring> boxTexts;
    bool boxSeen = false;
    bool sheetSeen = false;
    std::wstring title;
    std::wstring exitCaption;
    std::vector<std::wstring> tabs;
};

std::vector<std::wstring> TabCaptions(HWND sheet) {
    std::vector<std::wstring> tabs;
    HWND tab = FindChildOfClass(sheet, L"SysTabControl32");
    if (tab == nullptr) return tabs;
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        tabs.push_back(text);
    }
    return tabs;
}

// Invokes the properties verb on a site without node interfaces while a
// second thread plays the user: it answers "Node not available!" and
// presses "Exit" on the sheet.
HRESULT OpenSheetWithoutNode(IOleObject* object, HWND parent, SheetSeen* seen) {
    Thread user([seen] {
        HWND box = WaitForTitle(L"Plugin");
        if (box != nullptr) {
            seen->boxSeen = true;
            seen->boxTexts = ChildTexts(box);
            PressButton(box, IDOK);
        }
        HWND sheet = WaitForDialog(
            [](HWND window) { return FindChildOfClass(window, L"SysTabControl32") != nullptr; });
        if (sheet != nullptr) {
            seen->sheetSeen = true;
            seen->title = TextOf(sheet);
            seen->exitCaption = TextOf(GetDlgItem(sheet, IDOK));
            seen->tabs = TabCaptions(sheet);
            PressButton(sheet, IDOK);
        } else {
            CloseStrayDialogs();
        }
    });
    RECT position{0, 0, 62, 62};
    const HRESULT result =
        object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, parent, &position);
    user.Join();
    return result;
}

void CheckSheetWithoutNode(const std::string& who, const SheetSeen& seen, HRESULT result) {
    CheckHr(result, S_OK, who + ": the properties verb reports success");
    Check(seen.boxSeen && Contains(seen.boxTexts, L"Node not available!"),
          who + ": \"Node not available!\"");
    Check(seen.sheetSeen && seen.title == L"QTA1" && seen.exitCaption == L"Exit",
          who + ": the sheet \"QTA1\" with \"Exit\"",
          "title \"" + Narrow(seen.title) + "\", button \"" + Narrow(seen.exitCaption) + "\"");
    Check(seen.tabs.size() == 1 && seen.tabs[0] == L"Node Information",
          who + ": Node Information only");
}

void CheckOwnContainer() {
    HWND host = MakeHostWindow(L"QTA1 site check");
    SimulatedSite site(host);
    {
        Ptr<IOleObject> object;
        if (!CheckHr(CoCreateInstance(kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                      object.outv()),
                     S_OK, "site: the control is created")) {
            DestroyWindow(host);
            return;
        }
        Check(CanUnloadNow() == S_FALSE, "unloading: refused while a control lives");
        object->SetClientSite(&site);
        Check(site.refs == 2, "site: the control keeps one reference to its site");

        CheckHr(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, &site.position),
                S_OK, "in place: activates");
        Ptr<IOleInPlaceObject> inPlace;
        object->QueryInterface(IID_IOleInPlaceObject, inPlace.outv());
        HWND window = nullptr;
        if (inPlace) inPlace->GetWindow(&window);
        Check(window != nullptr && GetParent(window) == host && IsWindowVisible(window) &&
                  site.activations == 1,
              "in place: a visible child window of the site's window");
        CheckHr(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, host, &site.position), S_OK,
                "in place: UI-activates");
        Check(site.uiActivations == 1, "in place: the site hears of it");

        SheetSeen first;
        SheetSeen second;
        const HRESULT firstResult = OpenSheetWithoutNode(object.p, host, &first);
        const HRESULT secondResult = OpenSheetWithoutNode(object.p, host, &second);
        CheckSheetWithoutNode("first sheet", first, firstResult);
        CheckSheetWithoutNode("second sheet", second, secondResult);

        // A site with node interfaces: the sheet takes one reference to
        // each, reads through them and gives both back when it closes.
        RefusingReader reader;
        RefusingWriter writer;
        site.reader = &reader;
        site.writer = &writer;
        bool boxShown = false;
        std::vector<std::wstring> tabs;
        {
            Thread user([&] {
                HWND sheet = WaitForDialog([](HWND window) {
                    return FindChildOfClass(window, L"SysTabControl32") != nullptr ||
                           TextOf(window) == L"Plugin";
                });
                if (sheet != nullptr && TextOf(sheet) == L"Plugin") {
                    boxShown = true;
                    PressButton(sheet, IDOK);
                    sheet = WaitForDialog([](HWND window) {
                        return FindChildOfClass(window, L"SysTabControl32") != nullptr;
                    });
                }
                if (sheet == nullptr) {
                    CloseStrayDialogs();
                    return;
                }
                tabs = TabCaptions(sheet);
                PressButton(sheet, IDOK);
            });
            RECT position{0, 0, 62, 62};
            CheckHr(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, host, &position), S_OK,
                    "node sheet: the properties verb reports success");
        }
        site.reader = nullptr;
        site.writer = nullptr;
        Check(!boxShown && tabs.size() == 1 && tabs[0] == L"Node Information",
              "node sheet: no message, Node Information only when the node cannot be read");
        Check(reader.calls > 0, "node sheet: the reads reach the host's reader");
        Check(reader.refs == 1 && writer.refs == 1,
              "node sheet: both host interfaces given back when the sheet closes",
              "reader " + std::to_string(reader.refs) + ", writer " + std::to_string(writer.refs));

        CheckHr(object->Close(OLECLOSE_NOSAVE), S_OK, "close: succeeds");
        Check(!IsWindow(window) && site.deactivations == 1 && site.uiDeactivations == 1,
              "close: the control leaves its place and destroys its window");
        inPlace.reset();
        object->SetClientSite(nullptr);
        Check(site.refs == 1, "site: released once the container takes it away",
              std::to_string(site.refs) + " references");
    }
    Check(CanUnloadNow() == S_OK, "unloading: allowed once the control is gone");

    // A control released while still sited and active gives everything back.
    {
        Ptr<IOleObject> object;
        CoCreateInstance(kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                         object.outv());
        if (object) {
            object->SetClientSite(&site);
            object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, &site.position);
            SimulatedSink sink;
            Ptr<IConnectionPointContainer> container;
            Ptr<IConnectionPoint> point;
            DWORD cookie = 0;
            object->QueryInterface(IID_IConnectionPointContainer, container.outv());
            if (container) container->FindConnectionPoint(kDiidDqta1Events, point.out());
            if (point) point->Advise(&sink, &cookie);
            point.reset();
            container.reset();
            object.reset();
            Check(site.refs == 1 && sink.refs == 1,
                  "release: a control dropped while active releases its site and sinks");
        }
    }
    Check(CanUnloadNow() == S_OK, "unloading: allowed after that too");

    Ptr<IClassFactory> factory;
    CoGetClassObject(kClsidQta1Ctrl, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                     factory.outv());
    if (Check(static_cast<bool>(factory), "factory: obtained")) {
        Check(CanUnloadNow() == S_FALSE, "unloading: refused while the factory is held");
        Ptr<IUnknown> aggregated;
        CheckHr(factory->CreateInstance(reinterpret_cast<IUnknown*>(&site), IID_IUnknown,
                                        aggregated.outv()),
                CLASS_E_NOAGGREGATION, "factory: no aggregation");
        factory->LockServer(TRUE);
        factory.reset();
        Check(CanUnloadNow() == S_FALSE, "unloading: refused while locked");
        CoGetClassObject(kClsidQta1Ctrl, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                         factory.outv());
        if (factory) factory->LockServer(FALSE);
        factory.reset();
        Check(CanUnloadNow() == S_OK, "unloading: allowed once unlocked");
    }
    DestroyWindow(host);
}

// --- Embedded by Wine's own ATL container --------------------------------------------------

void CheckAtlContainer() {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    if (!Check(init != nullptr && getControl != nullptr && init(), "ATL: hosting initialised")) {
        return;
    }
    HWND host = MakeHostWindow(L"QTA1 in an ATL container");
    HWND axis = CreateWindowExW(0, L"AtlAxWin", L"QTA1.QTA1Ctrl.1", WS_CHILD | WS_VISIBLE, 20, 20,
                                62, 62, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump(300);
    {
        Ptr<IUnknown> control;
        if (!Check(axis != nullptr && SUCCEEDED(getControl(axis, control.out())) && control,
                   "ATL: the AtlAxWin window named by the ProgID holds the control")) {
            DestroyWindow(host);
            return;
        }
        Ptr<IOleInPlaceObject> inPlace;
        control->QueryInterface(IID_IOleInPlaceObject, inPlace.outv());
        HWND window = nullptr;
        if (inPlace) inPlace->GetWindow(&window);
        Check(window != nullptr && GetParent(window) == axis && IsWindowVisible(window),
              "ATL: the control is active in place in its own child window");

        RECT client{};
        GetClientRect(window, &client);
        const int w = client.right;
        const int h = client.bottom;
        Ptr<IViewObject> view;
        control->QueryInterface(IID_IViewObject, view.outv());
        Canvas expected(w > 0 ? w : 1, h > 0 ? h : 1, 0);
        const RECTL bounds{0, 0, w, h};
        if (view) {
            view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, expected.dc, &bounds,
                       nullptr, nullptr, 0);
        }
        Canvas printed(w > 0 ? w : 1, h > 0 ? h : 1, 0);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc), PRF_CLIENT);
        RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(200);
        Canvas screen(w > 0 ? w : 1, h > 0 ? h : 1, 0);
        HDC windowDc = GetDC(window);
        BitBlt(screen.dc, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(window, windowDc);
        int printedWrong = 0;
        int screenWrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                printedWrong += printed.At(x, y) != expected.At(x, y) ? 1 : 0;
                screenWrong += screen.At(x, y) != expected.At(x, y) ? 1 : 0;
            }
        }
        Check(w > 0 && h > 0 && printedWrong == 0, "ATL: the window paints the control's picture",
              std::to_string(printedWrong) + " pixels differ");
        Check(w > 0 && h > 0 && screenWrong == 0, "ATL: the picture is on the screen",
              std::to_string(screenWrong) + " of " + std::to_string(w * h) + " pixels differ");

        Ptr<IOleObject> object;
        control->QueryInterface(IID_IOleObject, object.outv());
        SheetSeen seen;
        const HRESULT result = object ? OpenSheetWithoutNode(object.p, host, &seen) : E_FAIL;
        CheckSheetWithoutNode("ATL", seen, result);
    }
    DestroyWindow(host);
    Pump(100);
    Check(CanUnloadNow() == S_OK, "ATL: the container released the control");
}

// --- After unregistration ----------------------------------------------------------------

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The module loaded by path, as a container that has it but no registration
// would: COM no longer knows the class, the module still serves it.
void CheckUnregistered(const wchar_t* path) {
    Ptr<IUnknown> none;
    CheckHr(
        CoCreateInstance(kClsidQta1Ctrl, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, none.outv()),
        REGDB_E_CLASSNOTREG, "unregistered: COM no longer knows the class");
    HMODULE module = LoadLibraryW(path);
    if (!Check(module != nullptr, "unregistered: the module loads by path")) return;
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using Plain = HRESULT(WINAPI*)();
    auto getClassObject = Export<GetClassObject>(module, "DllGetClassObject");
    auto canUnload = Export<Plain>(module, "DllCanUnloadNow");
    auto registerServer = Export<Plain>(module, "DllRegisterServer");
    auto unregister = Export<Plain>(module, "DllUnregisterServer");
    if (!Check(getClassObject && canUnload && registerServer && unregister,
               "unregistered: the four entry points of a self-registering control are exported")) {
        return;
    }
    Check(GetProcAddress(module, "Qta1SetScriptedRun") == nullptr,
          "unregistered: no test entry point is exported");
    Ptr<IClassFactory> other;
    CheckHr(getClassObject(IID_IPersist, IID_IClassFactory, other.outv()),
            CLASS_E_CLASSNOTAVAILABLE, "unregistered: one class only");
    {
        Ptr<IClassFactory> factory;
        Ptr<IDispatch> dispatch;
        if (SUCCEEDED(getClassObject(kClsidQta1Ctrl, IID_IClassFactory, factory.outv()))) {
            factory->CreateInstance(nullptr, IID_IDispatch, dispatch.outv());
        }
        wchar_t aboutName[] = L"AboutBox";
        LPOLESTR names[] = {aboutName};
        DISPID id = 0;
        Check(dispatch && SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id)) &&
                  id == -552,
              "unregistered: the control still describes itself from its own type library");
    }
    CheckHr(canUnload(), S_OK, "unregistered: nothing left alive");
    CheckHr(unregister(), SELFREG_E_TYPELIB,
            "unregistered: unregistering again fails with SELFREG_E_TYPELIB");
    FreeLibrary(module);
}

// --- A dialog of another process ---------------------------------------------------------

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

HWND FindDialogOfAnyProcess(const std::wstring& title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        std::vector<HWND> windows;
        EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
        for (HWND window : windows) {
            if (ClassOf(window) == L"#32770" && TextOf(window) == title) return window;
        }
        Sleep(50);
    }
    return nullptr;
}

// The dialog `title` that another process shows (the about box of a script
// host that created the installed control, a message of the installer):
// waits for it, prints the text of each of its controls and presses OK, as
// the technician would.
void AnswerDialog(const std::wstring& title) {
    HWND dialog = FindDialogOfAnyProcess(title, 60000);
    if (!Check(dialog != nullptr, "\"" + Narrow(title) + "\" appears")) return;
    for (const std::wstring& text : ChildTexts(dialog)) {
        std::printf("text \"%s\"\n", Narrow(text).c_str());
    }
    PressButton(dialog, IDOK);
    const DWORD start = GetTickCount();
    while (IsWindow(dialog) && GetTickCount() - start < 10000) Sleep(50);
    Check(!IsWindow(dialog), "\"" + Narrow(title) + "\": OK closes it");
}

// The checks' own owner of COM references: a copy is refused at compile
// time, and a move hands the one reference on, so it is released once.
static_assert(!std::is_copy_constructible_v<Ptr<IUnknown>> &&
                  !std::is_copy_assignable_v<Ptr<IUnknown>>,
              "a copied Ptr would release its reference twice");

void CheckOwner() {
    SimulatedSink sink;
    {
        Ptr<IDispatch> first;
        sink.QueryInterface(IID_IDispatch, first.outv());
        Ptr<IDispatch> second(std::move(first));
        Ptr<IDispatch> third;
        third = std::move(second);
        Check(!first && !second && third && sink.refs == 2,
              "the checks' owner of a reference hands it on when moved",
              std::to_string(sink.refs) + " references");
    }
    Check(sink.refs == 1, "the checks' owner releases its reference once",
          std::to_string(sink.refs) + " references left, 1 expected");
}

// The whole surface, as a container meets the registered control.
void CheckRegistered() {
    CheckOwner();
    CheckTypeLibrary();
    {
        Ptr<IUnknown> control;
        if (CheckHr(CreateControl(control.out()), S_OK,
                    "registration: the control is created by its class identifier")) {
            CheckResources();
            CheckIdentity(control.p);
            CheckOleObject(control.p);
            CheckPersistence(control.p);
            CheckEvents(control.p);
            CheckDispatch(control.p);
            CheckDrawing(control.p);
        }
        CLSID byName{};
        CLSIDFromProgID(L"QTA1.QTA1Ctrl.1", &byName);
        Check(IsEqualCLSID(byName, kClsidQta1Ctrl), "registration: the ProgID names the class");
    }
    CheckOwnContainer();
    CheckAtlContainer();
    CloseStrayDialogs();
}

// What the program runs: an option and its one value, or nothing for the
// whole surface.
constexpr struct {
    const wchar_t* option;
    void (*run)(const wchar_t* value);
} kModes[] = {
    // The checks after regsvr32 /u, on the module's file.
    {L"--unregistered", [](const wchar_t* path) { CheckUnregistered(path); }},
    // Read and close a dialog another process shows.
    {L"--answer-dialog", [](const wchar_t* title) { AnswerDialog(title); }},
};

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) {
        Check(false, "OLE could not be initialised");
        Summary();
        return 1;
    }
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    bool ran = false;
    for (const auto& mode : kModes) {
        if (arguments != nullptr && count == 3 && std::wstring(arguments[1]) == mode.option) {
            mode.run(arguments[2]);
            ran = true;
            break;
        }
    }
    LocalFree(arguments);
    if (!ran) CheckRegistered();
    OleUninitialize();
    return Summary() == 0 ? 0 : 1;
}

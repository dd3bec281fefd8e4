// Every registry entry of the control, below HKEY_CLASSES_ROOT, in one table:
// DllRegisterServer writes the module's part of it (ocx_registration.cpp), the
// system's type-library registration writes the rest, and the installer
// packages write all of it from this same table (src/package), so that a PC
// set up by regsvr32 and a PC set up by the package hold the same keys.
//
// Keys and values name what differs between modules and PCs with
// placeholders: <clsid> and <libid> (the identifiers' braced text), <module>
// (the full path of QTA1.OCX), <folder> (the folder it lies in) and
// <platform> (win32 or win64). Expand fills in the rest.
//
// Portable C++: the packages' generator is built and run on Linux.
#pragma once

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "resources/resource_ids.h"
#include "resources/strings.h"
#include "resources/version.h"

namespace qta1::win32::registry {

// The identifiers' text, as StringFromGUID2 writes them; the module checks
// them against qta1_guids.h when it is compiled.
inline constexpr char kClsidText[] = "{F6267715-860A-46CF-8E4F-23B0DD3C9478}";
inline constexpr char kLibidText[] = "{E61E2B8A-C2CE-40D8-90B7-298C4B40019F}";
inline constexpr char kDispatchIidText[] = "{EC5472E1-59E7-431B-958E-3A6CDCAF9484}";
inline constexpr char kEventsIidText[] = "{995A5E7B-046A-4DBC-A94F-77C4EEC930A7}";

inline constexpr char kProgId[] = "QTA1.QTA1Ctrl.1";
// The toolbox bitmap: bitmap resource 1.
inline constexpr int kToolboxBitmapId = IDB_QTA1;
// The misc status bits declared at registration: activate-when-visible,
// set-client-site-first, inside-out, cannot-link-inside, recompose-on-resize.
inline constexpr unsigned long kMiscStatus = 0x00020191;

// Who writes an entry when the module registers itself.
enum class Group {
    Node,         // the Node block: the module; a failure is ignored
    Class,        // the control class and its ProgID: the module
    TypeLibrary,  // the system's registration of the module's type library
};

// Whether both modules of a 64-bit PC write the entry. Keys both registry
// views share hold one value for both modules: the module registered first
// (regsvr32 of the 64-bit module first; the 64-bit module in the package)
// names the type library's help folder.
enum class Writers { EachModule, FirstModule };

struct Entry {
    Group group;
    const char* key;    // below HKEY_CLASSES_ROOT
    const char* name;   // nullptr: the key's default value
    const char* value;  // always text (REG_SZ)
    Writers writers = Writers::EachModule;
};

// clang-format off
inline constexpr Entry kEntries[] = {
//   group               key                                                   name              value
    // The Node block: which node program the plug-in serves.
    {Group::Node,        "CLSID\\<clsid>\\Node\\ProgramID",                    nullptr,          text::kProgramId},
    {Group::Node,        "CLSID\\<clsid>\\Node\\TestID",                       nullptr,          "%1"},
    // The control class and its ProgID, in the order the module writes them.
    {Group::Class,       "<progid>",                                           nullptr,          "<type name>"},
    {Group::Class,       "<progid>\\CLSID",                                    nullptr,          "<clsid>"},
    {Group::Class,       "CLSID\\<clsid>",                                     nullptr,          "<type name>"},
    {Group::Class,       "CLSID\\<clsid>\\ProgID",                             nullptr,          "<progid>"},
    {Group::Class,       "CLSID\\<clsid>\\InprocServer32",                     nullptr,          "<module>"},
    {Group::Class,       "CLSID\\<clsid>\\InprocServer32",                     "ThreadingModel", "Apartment"},
    {Group::Class,       "CLSID\\<clsid>\\ToolboxBitmap32",                    nullptr,          "<module>, <toolbox bitmap>"},
    {Group::Class,       "CLSID\\<clsid>\\MiscStatus",                         nullptr,          "0"},
    {Group::Class,       "CLSID\\<clsid>\\MiscStatus\\1",                      nullptr,          "<misc status>"},
    {Group::Class,       "CLSID\\<clsid>\\Control",                            nullptr,          ""},
    {Group::Class,       "CLSID\\<clsid>\\TypeLib",                            nullptr,          "<libid>"},
    {Group::Class,       "CLSID\\<clsid>\\Version",                            nullptr,          "<typelib version>"},
    // The type library QTA1Lib and its two dispatch interfaces, as the
    // system registers them from the module's TYPELIB 1 (FLAGS: control and
    // has a disk image, 2 | 8; the interfaces' proxy is the system's
    // dispatch proxy).
    {Group::TypeLibrary, "TypeLib\\<libid>\\<typelib version>",                nullptr,          "QTA1 ActiveX Control module"},
    {Group::TypeLibrary, "TypeLib\\<libid>\\<typelib version>\\0\\<platform>", nullptr,          "<module>"},
    {Group::TypeLibrary, "TypeLib\\<libid>\\<typelib version>\\FLAGS",         nullptr,          "10"},
    {Group::TypeLibrary, "TypeLib\\<libid>\\<typelib version>\\HELPDIR",       nullptr,          "<folder>", Writers::FirstModule},
    {Group::TypeLibrary, "Interface\\<dispatch iid>",                          nullptr,          "_DQTA1"},
    {Group::TypeLibrary, "Interface\\<dispatch iid>\\ProxyStubClsid",          nullptr,          "<dispatch proxy>"},
    {Group::TypeLibrary, "Interface\\<dispatch iid>\\ProxyStubClsid32",        nullptr,          "<dispatch proxy>"},
    {Group::TypeLibrary, "Interface\\<dispatch iid>\\TypeLib",                 nullptr,          "<libid>"},
    {Group::TypeLibrary, "Interface\\<dispatch iid>\\TypeLib",                 "Version",        "<typelib version>"},
    {Group::TypeLibrary, "Interface\\<events iid>",                            nullptr,          "_DQTA1Events"},
    {Group::TypeLibrary, "Interface\\<events iid>\\ProxyStubClsid",            nullptr,          "<dispatch proxy>"},
    {Group::TypeLibrary, "Interface\\<events iid>\\ProxyStubClsid32",          nullptr,          "<dispatch proxy>"},
    {Group::TypeLibrary, "Interface\\<events iid>\\TypeLib",                   nullptr,          "<libid>"},
    {Group::TypeLibrary, "Interface\\<events iid>\\TypeLib",                   "Version",        "<typelib version>"},
};

// The keys that hold every entry, each removed whole when the control goes:
// DllUnregisterServer removes those of the class, the system's
// type-library unregistration the others, the package all of them.
inline constexpr struct {
    Group group;
    const char* key;
} kRoots[] = {
    {Group::Class,       "CLSID\\<clsid>"},
    {Group::Class,       "<progid>"},
    {Group::TypeLibrary, "TypeLib\\<libid>"},
    {Group::TypeLibrary, "Interface\\<dispatch iid>"},
    {Group::TypeLibrary, "Interface\\<events iid>"},
};
// clang-format on

// What a registration fills in: the identifiers' text (from the system's
// conversion when the module registers itself) and the module's place.
struct Places {
    std::string clsid = kClsidText;
    std::string libid = kLibidText;
    std::string module;
    std::string folder;
    std::string platform;
};

// `text` with every placeholder filled in. An unknown placeholder stays as it
// is, so that a check can find it.
inline std::string Expand(std::string_view text, const Places& places) {
    const std::pair<std::string_view, std::string> fills[] = {
        {"<clsid>", places.clsid},
        {"<libid>", places.libid},
        {"<module>", places.module},
        {"<folder>", places.folder},
        {"<platform>", places.platform},
        {"<progid>", kProgId},
        {"<type name>", QTA1_TYPE_NAME},
        {"<typelib version>", QTA1_TYPELIB_VERSION_TEXT},
        {"<toolbox bitmap>", std::to_string(kToolboxBitmapId)},
        {"<misc status>", std::to_string(kMiscStatus)},
        {"<dispatch iid>", kDispatchIidText},
        {"<events iid>", kEventsIidText},
        // PSDispatch, the system's proxy for dispatch interfaces.
        {"<dispatch proxy>", "{00020420-0000-0000-C000-000000000046}"},
    };
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const auto* fill = std::find_if(std::begin(fills), std::end(fills), [&](const auto& f) {
            return text.substr(at).starts_with(f.first);
        });
        if (fill != std::end(fills)) {
            out += fill->second;
            at += fill->first.size();
        } else {
            out += text[at++];
        }
    }
    return out;
}

}  // namespace qta1::win32::registry

// The installer packages' registry entries: the control's table
// (platform/win32/registry_entries.h) written as the RegistryValue elements
// of one module's component, for wixl. The package writes them itself, in
// place of the module's self-registration, which Windows Installer cannot
// roll back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/registry_entries.h"

namespace qta1::package {

// One module of a package: its File element's key, the Directory whose folder
// holds it, its registry view's platform (win32 or win64), and whether it
// names the values both modules share (the 64-bit module of the 64-bit
// package; the only module of the 32-bit one).
struct Module {
    std::string fileKey;
    std::string folder;
    std::string platform;
    bool first = true;
};

// `text` as Windows Installer must be given it to write it unchanged: square
// brackets escaped (else they name a property), and a leading '#' doubled
// (else the value is written as a number).
inline std::string InstallerText(std::string_view text) {
    std::string out = text.starts_with('#') ? "#" : "";
    for (char c : text) {
        if (c == '[') {
            out += "[\\[]";
        } else if (c == ']') {
            out += "[\\]]";
        } else {
            out += c;
        }
    }
    return out;
}

// `text` inside a double-quoted XML attribute.
inline std::string XmlAttribute(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

// An entry's text for `module`: the table's text, escaped, with the module's
// path and folder as Windows Installer references ([#file], [folder]), which
// the installer fills in at install time.
inline std::string InstallerFormOf(std::string_view text, const Module& module) {
    // Stand-ins that no entry holds, swapped for the references after escaping.
    constexpr std::string_view kModule = "\x01";
    constexpr std::string_view kFolder = "\x02";
    win32::registry::Places places;
    places.module = kModule;
    places.folder = kFolder;
    places.platform = module.platform;
    const std::string escaped = InstallerText(win32::registry::Expand(text, places));
    std::string out;
    for (char c : escaped) {
        if (c == kModule[0]) {
            out += "[#" + module.fileKey + "]";
        } else if (c == kFolder[0]) {
            out += "[" + module.folder + "]";
        } else {
            out += c;
        }
    }
    return out;
}

// The RegistryValue elements of `module`'s component, one per entry it writes.
inline std::string RegistryElements(const Module& module) {
    using win32::registry::Writers;
    std::string out;
    for (const auto& entry : win32::registry::kEntries) {
        if (entry.writers == Writers::FirstModule && !module.first) continue;
        out += "  <RegistryValue Root=\"HKCR\" Key=\"" +
               XmlAttribute(InstallerFormOf(entry.key, module)) + "\"";
        if (entry.name != nullptr) {
            out += " Name=\"" + XmlAttribute(InstallerFormOf(entry.name, module)) + "\"";
        }
        out += " Type=\"string\" Value=\"" + XmlAttribute(InstallerFormOf(entry.value, module)) +
               "\"/>\n";
    }
    return out;
}

// The keys that hold every entry, as the registry names them.
inline std::vector<std::string> Roots() {
    std::vector<std::string> roots;
    for (const auto& root : win32::registry::kRoots) {
        roots.push_back(win32::registry::Expand(root.key, {}));
    }
    return roots;
}

}  // namespace qta1::package

// The control's registry table and the installer's form of it: an entry the
// unregistration or the removal would leave behind, a placeholder that never
// gets filled in, a value Windows Installer would read as a property or a
// number instead of text fails here, before any PC sees it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "package/package_entries.h"

namespace qta1 {
namespace {

using win32::registry::Expand;
using win32::registry::kEntries;
using win32::registry::kRoots;
using win32::registry::Group;
using win32::registry::Places;

bool Below(const std::string& key, const std::string& root) {
    return key == root || key.starts_with(root + "\\");
}

TEST(RegistryEntries, EveryEntryIsFilledInAndRemovedWithItsRoot) {
    Places places;
    places.module = "C:\\Program Files\\QTA1\\QTA1.OCX";
    places.folder = "C:\\Program Files\\QTA1";
    places.platform = "win64";
    std::set<std::pair<std::string, std::string>> values;
    for (const auto& entry : kEntries) {
        const std::string key = Expand(entry.key, places);
        const std::string name = entry.name != nullptr ? Expand(entry.name, places) : "(default)";
        for (const std::string& text : {key, name, Expand(entry.value, places)}) {
            EXPECT_EQ(text.find('<'), std::string::npos) << "not filled in: " << text;
        }
        EXPECT_TRUE(values.emplace(key, name).second) << "written twice: " << key << " " << name;
        // The Node block and the class go with the module's roots, the type
        // library's entries with the system's.
        const Group owner = entry.group == Group::TypeLibrary ? Group::TypeLibrary : Group::Class;
        bool removed = false;
        for (const auto& root : kRoots) {
            removed = removed || (root.group == owner && Below(key, Expand(root.key, places)));
        }
        EXPECT_TRUE(removed) << key << " lies below no root its unregistration removes";
    }
}

TEST(RegistryEntries, TheInstallerWritesEveryTextUnchanged) {
    const struct {
        const char* text;
        const char* installer;  // as the Registry table must hold it
    } kCases[] = {
        {"%1", "%1"},
        {"QTA1 Control", "QTA1 Control"},
        {"{F6267715-860A-46CF-8E4F-23B0DD3C9478}", "{F6267715-860A-46CF-8E4F-23B0DD3C9478}"},
        {"[ProgramFilesFolder]", "[\\[]ProgramFilesFolder[\\]]"},  // else a property
        {"#131473", "##131473"},                                   // else a number
        {"a#b", "a#b"},
        {"", ""},
    };
    for (const auto& c : kCases) EXPECT_EQ(package::InstallerText(c.text), c.installer) << c.text;
}

TEST(RegistryEntries, EachModuleWritesItsOwnPlacesAndOnlyTheFirstTheSharedFolder) {
    const struct {
        package::Module module;
        const char* path;    // what <module> becomes
        const char* folder;  // what <folder> becomes, or null when not written
    } kCases[] = {
        {{"QTA1.OCX.x64", "QTA1Folder64", "win64", true}, "[#QTA1.OCX.x64]", "[QTA1Folder64]"},
        {{"QTA1.OCX.x86", "QTA1Folder32", "win32", false}, "[#QTA1.OCX.x86]", nullptr},
        {{"QTA1.OCX.x86", "QTA1Folder32", "win32", true}, "[#QTA1.OCX.x86]", "[QTA1Folder32]"},
    };
    for (const auto& c : kCases) {
        const std::string elements = package::RegistryElements(c.module);
        const std::string platformKey = "\\0\\" + c.module.platform + "\" ";
        EXPECT_NE(elements.find(platformKey + "Type=\"string\" Value=\"" + c.path + "\""),
                  std::string::npos)
            << elements;
        EXPECT_NE(elements.find("Value=\"" + std::string(c.path) + ", 1\""), std::string::npos);
        EXPECT_EQ(elements.find("HELPDIR") != std::string::npos, c.folder != nullptr);
        if (c.folder != nullptr) {
            EXPECT_NE(elements.find("Value=\"" + std::string(c.folder) + "\""), std::string::npos);
        }
        EXPECT_EQ(elements.find("&lt;"), std::string::npos) << "a placeholder is left";
    }
}

}  // namespace
}  // namespace qta1

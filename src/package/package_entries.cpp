// qta1-package-entries: what scripts/package.sh needs from the control's
// registry table.
//
//   qta1-package-entries component FILE-KEY FOLDER PLATFORM first|second
//       the wixl include of one module's RegistryValue elements
//   qta1-package-entries roots
//       the keys below HKEY_CLASSES_ROOT that hold every entry, one a line
#include "package/package_entries.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "component" && argc == 6) {
        const std::string_view rank = argv[5];
        if (rank != "first" && rank != "second") return 2;
        const qta1::package::Module module{argv[2], argv[3], argv[4], rank == "first"};
        std::printf(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<!-- Written by qta1-package-entries from the control's registry table. -->\n"
            "<Include>\n%s</Include>\n",
            qta1::package::RegistryElements(module).c_str());
        return 0;
    }
    if (command == "roots" && argc == 2) {
        for (const std::string& root : qta1::package::Roots()) std::printf("%s\n", root.c_str());
        return 0;
    }
    std::fprintf(stderr,
                 "usage: qta1-package-entries component FILE-KEY FOLDER PLATFORM first|second\n"
                 "       qta1-package-entries roots\n");
    return 2;
}

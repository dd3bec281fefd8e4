// The core must build without Windows: windows.h is included only by the
// Win32 platform layer and the Win32 host.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

bool InWin32Layer(const fs::path& relative) {
    const std::string text = relative.generic_string();
    return text.starts_with("src/platform/win32/") || text.starts_with("sim/win32/");
}

TEST(Layering, WindowsHeaderStaysInTheWin32Layer) {
    const fs::path root = QTA1_SOURCE_DIR;
    const std::regex include(R"(^\s*#\s*include\s*[<"](windows|Windows|WINDOWS)\.h[>"])");
    int scanned = 0;
    for (const char* top : {"src", "sim"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            if (!entry.is_regular_file()) continue;
            const fs::path relative = fs::relative(entry.path(), root);
            std::ifstream in(entry.path());
            std::string line;
            ++scanned;
            while (std::getline(in, line)) {
                if (std::regex_search(line, include)) {
                    EXPECT_TRUE(InWin32Layer(relative)) << relative << ": " << line;
                }
            }
        }
    }
    EXPECT_GT(scanned, 20);
}

}  // namespace

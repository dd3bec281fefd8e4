// The layers of the core point one way, and the core builds without Windows.
// The build enforces the layers too (each layer compiles against a view of
// src/ holding only what it may include); this test also covers headers no
// source of the layer happens to include, and says which line is wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What the files under `from` may include from the project, by path prefix.
// The most specific `from` that matches a file decides.
struct Rule {
    std::string from;
    std::vector<std::string> may;
};

// clang-format off
const std::vector<Rule> kRules = {
    {"src/node/",                 {"node/"}},
    {"src/frame/",                {"frame/", "node/", "resources/controls.h", "resources/strings.h"}},
    // What the frame sees of resources includes nothing else but the version
    // (plain defines, written by the build).
    {"src/resources/controls.h",  {}},
    {"src/resources/strings.h",   {"resources/version.h"}},
    {"src/resources/",            {"resources/", "node/"}},
    {"src/housekeeping/",         {"housekeeping/", "frame/", "node/", "resources/"}},
    {"src/pages/",                {"pages/", "housekeeping/", "frame/", "node/", "resources/"}},
    {"src/app/",                  {"app/", "pages/", "housekeeping/", "frame/", "node/", "resources/"}},
};
// clang-format on

const Rule* RuleFor(const std::string& file) {
    const Rule* best = nullptr;
    for (const Rule& rule : kRules) {
        if (file.starts_with(rule.from) &&
            (best == nullptr || rule.from.size() > best->from.size()))
            best = &rule;
    }
    return best;
}

bool Allowed(const Rule& rule, const std::string& included) {
    for (const std::string& prefix : rule.may) {
        if (included.starts_with(prefix)) return true;
    }
    return false;
}

// Every line of every file under src/ and sim/, with its path from the root.
template <typename Visit>
int ForEachLine(Visit visit) {
    const fs::path root = QTA1_SOURCE_DIR;
    int files = 0;
    for (const char* top : {"src", "sim"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            if (!entry.is_regular_file()) continue;
            const std::string relative = fs::relative(entry.path(), root).generic_string();
            std::ifstream in(entry.path());
            std::string line;
            ++files;
            while (std::getline(in, line)) visit(relative, line);
        }
    }
    return files;
}

TEST(Layering, EachLayerIncludesOnlyWhatIsBelowIt) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    int checked = 0;
    ForEachLine([&](const std::string& file, const std::string& line) {
        std::smatch m;
        const Rule* rule = RuleFor(file);
        if (rule == nullptr || !std::regex_search(line, m, include)) return;
        ++checked;
        EXPECT_TRUE(Allowed(*rule, m[1])) << file << ": " << line;
    });
    EXPECT_GT(checked, 100);
}

TEST(Layering, WindowsHeaderStaysInTheWin32Layer) {
    const std::regex include(R"(^\s*#\s*include\s*[<"](windows|Windows|WINDOWS)\.h[>"])");
    const int scanned = ForEachLine([&](const std::string& file, const std::string& line) {
        if (!std::regex_search(line, include)) return;
        EXPECT_TRUE(file.starts_with("src/platform/win32/") || file.starts_with("sim/win32/"))
            << file << ": " << line;
    });
    EXPECT_GT(scanned, 20);
}

}  // namespace

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
        // The Windows programs too: the settings editor (in the layer) and the
        // substitute host.
        EXPECT_TRUE(file.starts_with("src/platform/win32/") || file.starts_with("sim/win32/"))
            << file << ": " << line;
    });
    EXPECT_GT(scanned, 20);
}

// Names that only some files may use, by path prefix. The test host's script
// and storage sites are reached in the plug-in through ScriptHooks alone, so
// that no window procedure calls them without the hooks' null checks.
struct Confined {
    std::string name;
    std::vector<std::string> in;
};

// clang-format off
const std::vector<Confined> kConfined = {
    {"IQta1ScriptSite",  {"src/platform/win32/qta1_script_site.h", "src/platform/win32/script_hooks.",
                          "sim/win32/"}},
    {"IQta1StorageSite", {"src/platform/win32/qta1_storage_site.h", "src/platform/win32/script_hooks.",
                          "sim/win32/"}},
};
// clang-format on

TEST(Layering, ScriptAndStorageSitesAreCalledThroughTheirHooksOnly) {
    std::vector<int> found(kConfined.size());
    ForEachLine([&](const std::string& file, const std::string& line) {
        for (size_t i = 0; i < kConfined.size(); ++i) {
            const Confined& confined = kConfined[i];
            if (line.find(confined.name) == std::string::npos) continue;
            ++found[i];
            bool allowed = false;
            for (const std::string& prefix : confined.in) allowed |= file.starts_with(prefix);
            EXPECT_TRUE(allowed) << file << " names " << confined.name << ": " << line;
        }
    });
    // Each name is found at all (the hooks and the host use it).
    for (size_t i = 0; i < kConfined.size(); ++i) {
        EXPECT_GT(found[i], 2) << kConfined[i].name;
    }
}

}  // namespace

#include "scenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/golden.h"

#if defined(_WIN32)
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

namespace qta1 {
namespace {

using qta1::testing::OpeningElided;
using qta1::testing::SameTrace;
using qta1::testing::WithOpening;
using qta1::testing::SplitLines;
using qta1::testing::WithoutTimes;

const std::filesystem::path kScenarioDir =
    std::filesystem::path(QTA1_SOURCE_DIR) / "tests" / "scenarios";

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// With QTA1_UPDATE_GOLDEN=1 the expected traces are rewritten from what
// the scenarios print, so a deliberate change is one run and a reviewed diff.
bool UpdateGolden() {
    const char* update = std::getenv("QTA1_UPDATE_GOLDEN");
    return update != nullptr && std::string_view(update) == "1";
}

// Every acceptance scenario, run in-process, reproduces its expected trace.
TEST(Scenarios, EachScenarioPrintsItsExpectedTrace) {
    const std::string opening = ReadAll(kScenarioDir / "opening.trace");
    ASSERT_FALSE(opening.empty());
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kScenarioDir)) {
        if (entry.path().extension() != ".scn") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        std::filesystem::path expectedPath = entry.path();
        expectedPath.replace_extension(".expected");
        std::string output;
        const int code =
            RunScenario(ReadAll(entry.path()), entry.path().filename().string(), output);
        const std::string kept = OpeningElided(output, opening);
        if (UpdateGolden() &&
            (!std::filesystem::exists(expectedPath) || ReadAll(expectedPath) != kept)) {
            std::ofstream(expectedPath, std::ios::binary) << kept;
            std::printf("rewrote %s\n", expectedPath.filename().string().c_str());
        }
        ASSERT_TRUE(std::filesystem::exists(expectedPath));
        const std::string expected = WithOpening(ReadAll(expectedPath), opening);
        EXPECT_TRUE(SameTrace(SplitLines(expected), SplitLines(output)));
        EXPECT_EQ(code,
                  expected.find("\nerror: ") == std::string::npos ? kScenarioOk : kScenarioError);
    }
    EXPECT_GE(count, 4);
}

// Language features, checked on the trace without its time column.
TEST(Scenarios, LanguageFeatures) {
    struct Case {
        const char* name;
        const char* script;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"node part replaces only the bytes given",
         "node part 8 = 11 2233\nprint node part 8",
         {"= node part 8: 11 22 33 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 "
          "05 "
          "00 0A 00 3C 00 05"}},
        {"string escapes survive a file round trip",
         "seed-file \"a b\" = \"q\\\"\\\\\\r\\n\\t\\x41\\x00\"  # comment\nprint file \"a "
         "b\"\nprint file \"c\"",
         {"= file \"a b\": 8 bytes", "=   \"q\\\"\\\\\\x0D\\x0A\"", "=   \"\\x09A\\x00\"",
          "= file \"c\": (none)"}},
        {"a disabled click is traced, not an error; prints show while the trace is off",
         "node configured 0\n\ntrace off\nopen\nclick \"User\"\nprint control \"User\"\ntrace on\n"
         "click \"User\"\nexit\nprint node selector",
         {"= \"User\": \"User\" disabled", "> click \"User\" (disabled, nothing happens)",
          "sheet closes", "= node selector: 1"}},
        {"without a node the sheet warns and shows Node Information alone",
         "site reader off\nsite writer off\nopen\nprint sheet\nprint tabs",
         {"sheet \"QTA1\" opens",
          "msgbox \"Node not available!\" title \"Plugin\" OK exclamation -> OK",
          "= sheet \"QTA1\": OK button \"Exit\", Apply and Cancel hidden",
          "= tabs: \"Node Information\"*", "sheet closes"}},
        {"answers left over are reported",
         "answer yes\nfile cancel",
         {"= 2 queued answer(s) never asked for"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output;
        EXPECT_EQ(RunScenario(c.script, "t.scn", output), kScenarioOk);
        EXPECT_TRUE(SameTrace(c.expected, WithoutTimes(SplitLines(output))));
    }
}

// A scenario error stops the run: the trace so far, then the error line.
TEST(Scenarios, ErrorsStopTheRunAndNameTheLine) {
    struct Case {
        const char* script;
        const char* lastLine;
    };
    const Case cases[] = {
        {"# setup\nfrobnicate 3\nopen", "error: t.scn:2: unknown command \"frobnicate\""},
        {"node part 8 = 0", "error: t.scn:1: bad syntax, expected: node part N = HEX"},
        {"file path", "error: t.scn:1: bad syntax, expected: file S or file cancel"},
        {"node part 13 = 00", "error: t.scn:1: part must be 1 to 12"},
        {"seed-file \"a\" = \"x\\q\"", "error: t.scn:1: unknown escape \\q"},
        {"node name \"open", "error: t.scn:1: unterminated string"},
        {"tab \"PID\"", "error: t.scn:1: \"tab\" needs an open sheet"},
        {"open\nopen", "error: t.scn:2: \"open\" while the sheet is open"},
        {"open\nclick \"Nobody\"",
         "error: t.scn:2: no control \"Nobody\" on \"Node Information\"; candidates: \"Nodename\" "
         "in "
         "\"Nodename\", \"User\", \"Technician\", \"QTA1 configuration plug-in, version 1.0.0.1\""},
        {"open\nwait 100\nclick \"Technician\"\ntab \"PID\"\ntype \"P\" = \"1\"",
         "error: t.scn:5: \"P\" is ambiguous on \"PID\"; candidates: \"P\" in \"Heat (Mv1)\", "
         "\"P\" in "
         "\"Recirculation (Md4)\", \"P\" in \"Exchanger (Me1)\", \"P\" in \"Cooling (Mv2)\""},
        {"open\nwait 100\ntab \"PID\"", "error: t.scn:3: \"PID\" is not in the sheet"},
        {"open\ntab \"Bogus\"", "error: t.scn:2: no page has the caption \"Bogus\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::string output;
        EXPECT_EQ(RunScenario(c.script, "t.scn", output), kScenarioError);
        const std::vector<std::string> lines = SplitLines(output);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), c.lastLine);
        // Nothing after the failing command ran: not even the sheet closing.
        for (const std::string& line : lines)
            EXPECT_EQ(line.find("sheet closes"), std::string::npos);
    }
}

TEST(QtaSim, BinaryPrintsTheLibrarysTrace) {
    const std::filesystem::path script = kScenarioDir / "pid_edit.scn";
    std::string expected;
    ASSERT_EQ(RunScenario(ReadAll(script), "pid_edit.scn", expected), kScenarioOk);

    std::string command = "\"" QTA1_SIM_EXE "\" \"" + script.string() + "\"";
#if defined(_WIN32)
    command = "\"" + command + "\"";  // cmd /c drops the outer pair of quotes
#endif
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    int status = pclose(pipe);
#if !defined(_WIN32)
    ASSERT_TRUE(WIFEXITED(status));
    status = WEXITSTATUS(status);
#endif
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(SameTrace(SplitLines(expected), SplitLines(output)));
}

}  // namespace
}  // namespace qta1

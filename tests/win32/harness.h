// How every Windows check program reports: one line per check, "ok NAME" or
// "FAIL NAME: REASON", and "N passed, M failed" last. The Wine scripts count
// these lines and show the failed ones, so a check says in its name what it
// expects and in its reason what it found instead.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace checks {

inline int g_passed = 0;
inline int g_failed = 0;

// Tells one check: its line, counted. Returns `ok`.
inline bool Check(bool ok, const std::string& name, const std::string& reason = {}) {
    if (ok) {
        ++g_passed;
        std::printf("ok %s\n", name.c_str());
    } else {
        ++g_failed;
        std::printf("FAIL %s%s%s\n", name.c_str(), reason.empty() ? "" : ": ", reason.c_str());
    }
    std::fflush(stdout);
    return ok;
}

inline std::string Hex(long value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// A COM call's result against the one expected.
inline bool CheckHr(long result, long expected, const std::string& name) {
    return Check(result == expected, name, "got " + Hex(result) + ", expected " + Hex(expected));
}

// One check made of many conditions (a page's controls, a way of closing the
// sheet): each condition that does not hold adds its reason, and the check's
// one line comes when it ends, at the latest when it goes out of scope.
class Case {
public:
    explicit Case(std::string name) : name_(std::move(name)) {}
    ~Case() { End(); }
    Case(const Case&) = delete;
    Case& operator=(const Case&) = delete;

    // Notes `reason` when `ok` is false; returns `ok`.
    bool operator()(bool ok, const std::string& reason) {
        if (!ok) reasons_.push_back(reason);
        return ok;
    }
    void Fail(const std::string& reason) { reasons_.push_back(reason); }
    int Failures() const { return static_cast<int>(reasons_.size()); }

    // Tells the check once; later calls change nothing. Returns whether it passed.
    bool End() {
        if (!ended_) {
            ended_ = true;
            std::string reason;
            for (const std::string& r : reasons_) reason += (reason.empty() ? "" : "; ") + r;
            Check(reasons_.empty(), name_, reason);
        }
        return reasons_.empty();
    }

private:
    const std::string name_;
    std::vector<std::string> reasons_;
    bool ended_ = false;
};

// The last line, "N passed, M failed"; returns the number of failed checks.
inline int Summary() {
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    std::fflush(stdout);
    return g_failed;
}

}  // namespace checks

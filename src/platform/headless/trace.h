// The recorded trace of a headless run: host calls with their bytes, sleeps,
// timers, message boxes and dialogs, each stamped with the virtual time.
// Golden tests compare it line by line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qta1 {

class VirtualClock;

class Trace {
public:
    explicit Trace(const VirtualClock& clock) : clock_(clock) {}

    // Appends "<seconds with 3 decimals, width 8>  <text>".
    void Add(std::string_view text);
    const std::vector<std::string>& lines() const { return lines_; }
    std::string Text() const;  // lines joined with "\n", ending in "\n" when not empty
    void Clear() { lines_.clear(); }
    size_t size() const { return lines_.size(); }

    // Lines can be switched off while a test sets the scene.
    void SetRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }

private:
    const VirtualClock& clock_;
    std::vector<std::string> lines_;
    bool recording_ = true;
};

// "0A FF 00"
std::string HexBytes(const uint8_t* bytes, int count);
// Text in double quotes; bytes outside printable ASCII as \xNN, quote and
// backslash escaped.
std::string QuoteText(std::string_view text);

}  // namespace qta1

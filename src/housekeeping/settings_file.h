// The node settings file: a readable text snapshot of the nine single
// settings NVs and the twelve parts of the configuration NV, saved from a
// node and downloaded into a node. Line ends are CR LF on every platform.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "frame/host_link.h"
#include "frame/platform.h"
#include "resources/factory_lines.h"

namespace qta1 {

struct SavedSettings {
    std::string text;  // the whole file, CR LF line ends
    int readErrors = 0;  // NVs that could not be read (0..21)
};

// Reads every NV of the file from the node (selecting parts 1 to 12 in turn,
// 250 ms after each selection) and builds the file text; nothing is written
// anywhere. The selector is left at part 12.
SavedSettings WriteSettingsFile(NodeLink& node, std::string_view programId,
                                std::string_view nodeName, const LocalTime& now);

struct DownloadResult {
    bool accepted = false;  // a program-ID line matched, or the technician accepted a foreign one
    int writeErrors = 0;    // WriteNv calls the host refused, and parts that could not be selected
};

// Parses the file and writes its values to the node in file order. A
// program-ID line that differs from `programId` asks `acceptForeign` (the
// "ProgramID does not match!" question); blocks are written only while the
// file is accepted. Any bytes are accepted as input.
DownloadResult ReadSettingsFile(std::string_view fileBytes, std::string_view programId,
                                NodeLink& node, const std::function<bool()>& acceptForeign);

// The bytes a data line of the given kind gives for an NV: 31, 2, 4, 2 or 12
// of them, exactly as the download sends them.
std::string DataLineBytes(LineKind kind, std::string_view line);

// Names of the file's NVs, in file order, with their NV index, data-line kind
// and the length a download writes.
struct SettingsNv {
    const char* name;
    const char* commentLine;  // without its line end
    int nvIndex;
    LineKind kind;
    int writeLength;
};
std::span<const SettingsNv> SettingsNvs();

inline constexpr int kSettingsPartCount = 12;
inline constexpr int kPartReadWaitMs = 250;

}  // namespace qta1

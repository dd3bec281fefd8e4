// The node settings file: a readable text snapshot of the settings NVs that
// the NV catalogue marks as carried by files, the configuration NV with its
// twelve parts among them, saved from a node and downloaded into a node. Line
// ends are CR LF on every platform.
#pragma once

#include <compare>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_link.h"
#include "frame/platform.h"
#include "resources/factory_lines.h"

namespace qta1 {

// An NV of the file, or a part of the configuration NV (part 0 otherwise).
struct NvPart {
    int nv = 0;
    int part = 0;
    auto operator<=>(const NvPart&) const = default;
};
// Settings as bytes: for each NV and part, the bytes a download writes.
using SettingsImage = std::map<NvPart, std::string>;

// The node's settings as a save reads them; what could not be read is
// missing from `values` and counted.
struct NodeSettings {
    SettingsImage values;
    int readErrors = 0;
};
// Reads every NV of the file from the node (selecting the parts in turn,
// 250 ms after each selection), telling the progress as `pass` ("Part"),
// step n of the twelve parts. The selector is left at the last part read.
// With `only`, just the NVs and parts it holds are read (in the same order).
NodeSettings ReadNodeSettings(NodeLink& node, std::string_view pass,
                              const SettingsImage* only = nullptr);
// The file text of those settings.
std::string SettingsFileText(const NodeSettings& settings, std::string_view programId,
                             std::string_view nodeName, const LocalTime& now);

struct SavedSettings {
    std::string text;    // the whole file, CR LF line ends
    int readErrors = 0;  // NVs and parts that could not be read
};

// ReadNodeSettings, then the file text; nothing is written anywhere.
SavedSettings WriteSettingsFile(NodeLink& node, std::string_view programId,
                                std::string_view nodeName, const LocalTime& now);

// The first line of a settings file that is not what a download can write
// exactly: its number (from 1) and its text.
struct BadLine {
    int number = 0;
    std::string text;
    std::string why = {};  // empty: the line is not what its place calls for
};

struct DownloadResult {
    bool accepted = false;  // a program-ID line matched, or the technician accepted a foreign one
    int writeErrors = 0;    // WriteNv calls the host refused, and parts that could not be selected
    std::vector<std::string> notWritten;  // what those errors left unwritten, by name
    std::optional<BadLine> badLine;       // the file was refused before anything was written
    SettingsImage written;                // what the node took
    int alreadyEqual = 0;                 // blocks not written: the node held their bytes
};

// Counts an NV (or part; kPartSelectorNv for the selector) that the node was
// not given, and names it for the message that tells the technician.
// `why`, when given, follows the name in brackets.
void NoteNotWritten(DownloadResult& result, int nv, int part, std::string_view why = {});

// A part a download or "Default settings" is about to write, after its
// selection (`selected`: the selector write was not refused), is read once:
// true when the node shows that part. Otherwise its bytes would land in
// another part, so it is counted as not written, with why.
bool PartShownForWrite(NodeLink& node, int part, bool selected, DownloadResult& result);

// What a settings file asks of the node, in file order, found by reading the
// whole file before anything is written.
struct SettingsFilePlan {
    struct Step {
        std::string programId;             // a program-ID line when `nv` is null
        const NvEntry* nv = nullptr;       // a block
        int part = 0;                      // 1..12 for the configuration NV
        std::optional<std::string> bytes;  // none: the block has no data line
        int commentLine = 0;               // of a block: its comment line's number (from 1)
        int dataLine = 0;                  // its data line's number; 0: none
    };
    std::vector<Step> steps;
    std::optional<BadLine> badLine;  // set: the file must not be downloaded; no steps
    // A file with no program-ID line, or with no data line, is no settings
    // file at all: nothing in it can be downloaded or compared.
    enum class NotSettings { No, Empty, NoProgramId, NoData };
    NotSettings notSettings = NotSettings::No;
    // The last line is a data line without a line end although the file
    // has more than one line: the file may have been cut off in it.
    bool mayBeCutOff = false;
    // Whether the file can be downloaded or compared at all.
    bool Usable() const { return !badLine && notSettings == NotSettings::No; }
};
SettingsFilePlan PlanSettingsFile(std::string_view fileBytes);
// The blocks of a plan that carry data, by NV and part (a later block of the
// same NV wins, as it would in the node).
SettingsImage ImageOfPlan(const SettingsFilePlan& plan);
// The built-in factory settings, as "Default settings" writes them.
SettingsImage FactoryImage();
// The file `original` (whose plan is `plan`, usable) holding `image`: the
// data line of each block whose bytes differ is written anew, a block
// without a data line that the image holds gets one after its comment line,
// and every other byte of the file stays as it was. A block the image lacks
// keeps its line.
std::string PatchedSettingsText(std::string_view original, const SettingsFilePlan& plan,
                                const SettingsImage& image);

// The line that stopped a download, a comparison or an opening, after
// `head` ("Download not completed. Nothing was written: line "), shown as far
// as a message box can sensibly hold it.
std::string BadLineMessage(const BadLine& bad, const char* head);
// Why a file is no settings file: "C:\junk.txt is not a settings file: it
// is empty."
std::string NotSettingsText(const std::string& path, SettingsFilePlan::NotSettings why);

// Downloads a checked file: program-ID lines that differ from `programId` ask
// `acceptForeign` (the "ProgramID does not match!" question); blocks are
// written only while the file is accepted. A plan with a bad line writes
// nothing and asks nothing. With `held` (what a backup read found in the
// node), a block whose bytes the node already holds is not written, nor its
// part selected, and is counted as already equal; a block the read did not
// find is written.
DownloadResult RunSettingsFile(const SettingsFilePlan& plan, std::string_view programId,
                               NodeLink& node, const std::function<bool()>& acceptForeign,
                               const SettingsImage* held = nullptr);
// Whether `held` has exactly `bytes` for the NV and part.
bool HoldsAlready(const SettingsImage* held, int nv, int part, const std::string& bytes);
// What RunSettingsFile would write, without writing: the program-ID
// questions are asked as it would ask them, and `accepted` is what it would
// return as accepted.
SettingsImage PlannedWrites(const SettingsFilePlan& plan, std::string_view programId,
                            const std::function<bool()>& acceptForeign, bool& accepted);
// PlanSettingsFile, then RunSettingsFile. Any bytes are accepted as input.
DownloadResult ReadSettingsFile(std::string_view fileBytes, std::string_view programId,
                                NodeLink& node, const std::function<bool()>& acceptForeign);

// How messages name an NV of the file: "nciSwitchExt", "nviPluginCnf part 5",
// or for the part selector "the part selector".
std::string SettingsNvName(int nv, int part);

// The bytes of a built-in factory value (an NV, or a part of the
// configuration NV), exactly as "Default settings" sends them.
std::optional<std::string> FactoryBytes(int nv, int part);

// The NVs of the file in file order: each block's comment line, data line and
// the length a download writes come from the NV catalogue.
std::span<const NvEntry* const> SettingsFileNvs();

inline constexpr int kPartReadWaitMs = 250;

}  // namespace qta1

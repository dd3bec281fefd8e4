// Settings a technician can review: which box on which tab shows each byte
// of the settings a file carries, the differences between two sets of
// settings as the pages would show them, and the backups of a node kept in
// the technician's own folder before anything is changed.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/page.h"
#include "frame/platform.h"
#include "housekeeping/settings_file.h"

namespace qta1 {

class CSheet;

// One field that differs: its tab and box (or, for a byte no page shows, the
// NV or part and the byte), and its two values as the page shows them.
struct SettingsDifference {
    std::string tab;
    std::string box;
    std::string first;
    std::string second;
};

class SettingsFields {
public:
    // From the tables of the sheet's pages: the technician set first, then
    // the user set, then any other page; where two pages show the same bits,
    // the first names them.
    explicit SettingsFields(CSheet& sheet);

    // Every field whose value differs between `first` and `second`, in the
    // order of the settings file, for the NVs and parts `second` holds. An
    // NV or part that `first` lacks lists every field of it, with the text
    // `missing` for `first`.
    std::vector<SettingsDifference> Differences(const SettingsImage& first,
                                                const SettingsImage& second,
                                                std::string_view missing) const;

private:
    struct Named {
        std::string tab;
        std::string box;
        Field field;
        std::span<const ControlDecl> controls;
    };
    struct Value {
        bool bitReversed = false;                      // the pages see it bit-reversed
        std::array<uint8_t, kNvBufferSize> covered{};  // bits some page shows
        std::vector<Named> fields;
    };
    void Add(NvPart where, bool bitReversed, const Named& named);
    void Compare(NvPart where, const std::string& first, const std::string& second,
                 std::vector<SettingsDifference>& rows) const;
    void Unknown(NvPart where, const std::string& second, std::string_view missing,
                 std::vector<SettingsDifference>& rows) const;

    std::map<NvPart, Value> values_;
};

// The settings of a file or the factory settings against the node: what
// "Compare..." lists, and what a download's preview asks about.
ReviewList DifferenceList(std::string title, std::string heading, std::string firstColumn,
                          std::string secondColumn, const std::vector<SettingsDifference>& rows);
// The text of a review list as a report file: title, heading, then one line
// per row with its columns separated by tabs; CR LF line ends.
std::string ReportText(const ReviewList& list);

// Backups of a node's settings, one folder per node under the technician's
// own folder, one file per backup named by its date and time
// ("2026-12-07 09-00-00.txt"). Nothing removes them: one is a few KB, and
// the one that is gone is the one a roll-back needs.
//
// The folder is named by a reversible escape of the node's whole name (as
// the host returns it at the longest read, trailing zero bytes dropped), so
// two names never share a folder, also where folder names ignore letter
// case: bytes a file name cannot hold, bytes from 0x80 up, "%" and "~" become
// %XX; so do trailing dots and blanks and the first letter of a device name
// (CON, NUL, COM1, "con.txt" ...); a name with lower-case letters ends in
// "~" and the hexadecimal pattern of its upper-case letters. The empty name
// is "%empty".
std::string BackupFolderName(std::string_view wholeName);
std::string BackupFolder(Storage& storage, std::string_view wholeName);
// The folder earlier versions kept this node's backups in, when that folder
// can only have been this node's (a short name they did not change) and
// differs from BackupFolder; their backups stay there.
std::optional<std::string> EarlierBackupFolder(Storage& storage, std::string_view wholeName);
// Writes the backup; the file's path, or nothing when it could not be written.
std::optional<std::string> StoreBackup(Storage& storage, std::string_view wholeName,
                                       const LocalTime& now, std::string_view text);
// Whether a folder holds backups.
bool HoldsBackups(Storage& storage, const std::string& folder);
// The node's whole name from a name read: every byte up to the last that is
// not zero.
std::string WholeNodeName(const uint8_t* buffer, int length);

}  // namespace qta1

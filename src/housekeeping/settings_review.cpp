#include "housekeeping/settings_review.h"

#include <algorithm>

#include "frame/codec.h"
#include "frame/sheet.h"
#include "housekeeping/text_codec.h"
#include "resources/layout.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// The page's view of a value: bit-reversed for option parts.
std::array<uint8_t, kNvBufferSize> PageView(const std::string& bytes, bool bitReversed) {
    std::array<uint8_t, kNvBufferSize> view{};
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), view.size()), view.begin());
    if (bitReversed) ReverseBits(view.data(), kNvBufferSize);
    return view;
}

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char byte) {
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// The names Windows gives to devices in every folder, whatever follows a dot.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    std::string upper;
    for (char c : base) upper += IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
    static constexpr std::string_view kDevices[] = {"CON", "PRN",    "AUX",
                                                    "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kDevices)
        if (upper == device) return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '0' && upper[3] <= '9';
}

// Earlier versions named the folder from the name cut to 20 bytes, with
// characters a file name cannot hold as "_" and trailing dots and blanks
// dropped. For a name that this left unchanged, that folder was its own.
std::optional<std::string> EarlierFolderName(std::string_view wholeName) {
    if (wholeName.empty() || wholeName.size() > 20) return std::nullopt;
    for (char c : wholeName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x80 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return std::nullopt;
    }
    if (wholeName.back() == '.' || wholeName.back() == ' ') return std::nullopt;
    return std::string(wholeName);
}

// "2026-12-07 09-00-00": sorts as the time it names.
std::string BackupStem(const LocalTime& now) {
    return std::to_string(now.year) + "-" + TwoDigits(now.month) + "-" + TwoDigits(now.day) + " " +
           TwoDigits(now.hour) + "-" + TwoDigits(now.minute) + "-" + TwoDigits(now.second);
}

// A name of the form BackupStem gives (with any suffix), so that files the
// technician put in the folder are never removed.
bool IsBackupName(std::string_view name) {
    static constexpr std::string_view kShape = "0000-00-00 00-00-00";
    if (name.size() < kShape.size() || !name.ends_with(".txt")) return false;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (kShape[i] == '0' ? !digit : name[i] != kShape[i]) return false;
    }
    return true;
}

}  // namespace

SettingsFields::SettingsFields(CSheet& sheet) {
    std::vector<PageId> order(sheet.pages().technicianSet.begin(),
                              sheet.pages().technicianSet.end());
    order.insert(order.end(), sheet.pages().userSet.begin(), sheet.pages().userSet.end());
    for (const SheetPage& page : sheet.pages().pages) order.push_back(page.id);
    std::vector<PageId> seen;
    for (PageId id : order) {
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        const CPropPage* page = sheet.Page(id);
        if (page == nullptr) continue;
        for (const Block& block : page->definition().blocks) {
            const NvPart where{block.nv, block.nv == kConfigNv ? block.part : 0};
            for (const Field& field : block.fields) {
                if (!FieldStored(field)) continue;
                const ControlDecl* decl = page->Declaration(FieldControl(field));
                if (decl == nullptr) continue;
                Add(where, block.bitReversed,
                    {std::string(CaptionOf(id)), BoxNameOf(*decl), field, page->Controls()});
            }
        }
    }
}

void SettingsFields::Add(NvPart where, bool bitReversed, const Named& named) {
    Value& value = values_[where];
    value.bitReversed = bitReversed;
    uint8_t masks[kNvBufferSize] = {};
    AddFieldMask(named.field, masks);
    bool news = false;
    for (int i = 0; i < kNvBufferSize; ++i) {
        news = news || (masks[i] & ~value.covered[static_cast<size_t>(i)]) != 0;
        value.covered[static_cast<size_t>(i)] |= masks[i];
    }
    if (news) value.fields.push_back(named);
}

std::vector<SettingsDifference> SettingsFields::Differences(const SettingsImage& first,
                                                            const SettingsImage& second,
                                                            std::string_view missing) const {
    std::vector<SettingsDifference> rows;
    for (const NvEntry* nv : SettingsFileNvs()) {
        const int parts = nv->nv == kConfigNv ? kConfigPartCount : 0;
        for (int part = parts == 0 ? 0 : 1; part <= parts; ++part) {
            const NvPart where{nv->nv, part};
            const auto b = second.find(where);
            if (b == second.end()) continue;
            const auto a = first.find(where);
            if (a == first.end()) {
                Unknown(where, b->second, missing, rows);
                continue;
            }
            Compare(where, a->second, b->second, rows);
        }
    }
    return rows;
}

void SettingsFields::Compare(NvPart where, const std::string& first, const std::string& second,
                             std::vector<SettingsDifference>& rows) const {
    const auto found = values_.find(where);
    const Value empty;
    const Value& value = found != values_.end() ? found->second : empty;
    const auto a = PageView(first, value.bitReversed);
    const auto b = PageView(second, value.bitReversed);
    const size_t length = std::min(first.size(), second.size());
    for (const Named& named : value.fields) {
        uint8_t masks[kNvBufferSize] = {};
        AddFieldMask(named.field, masks);
        bool inside = true;
        for (size_t i = length; i < kNvBufferSize; ++i) inside = inside && masks[i] == 0;
        if (!inside || SameFieldValue(named.field, a.data(), b.data())) continue;
        auto [firstText, secondText] =
            DifferingValueTexts(named.field, a.data(), b.data(), named.controls);
        rows.push_back({named.tab, named.box, std::move(firstText), std::move(secondText)});
    }
    // Bytes no page shows are named by their NV (or part) and number.
    for (size_t i = 0; i < length; ++i) {
        if (((a[i] ^ b[i]) & ~value.covered[i]) == 0) continue;
        rows.push_back(
            {"", SettingsNvName(where.nv, where.part) + text::kByteNumber + std::to_string(i),
             std::to_string(static_cast<uint8_t>(first[i])),
             std::to_string(static_cast<uint8_t>(second[i]))});
    }
}

// A value `first` lacks (the node could not be read) is listed field by
// field, each named by its tab and box with the value `second` holds; bytes
// no page shows are one row for the NV or part.
void SettingsFields::Unknown(NvPart where, const std::string& second, std::string_view missing,
                             std::vector<SettingsDifference>& rows) const {
    const auto found = values_.find(where);
    const Value empty;
    const Value& value = found != values_.end() ? found->second : empty;
    const auto b = PageView(second, value.bitReversed);
    for (const Named& named : value.fields) {
        rows.push_back({named.tab, named.box, std::string(missing),
                        FieldValueText(named.field, b.data(), named.controls)});
    }
    bool unshown = false;
    for (size_t i = 0; i < second.size() && i < b.size(); ++i)
        unshown = unshown || value.covered[i] != 0xFF;
    if (!unshown) return;
    std::string bytes;
    for (size_t i = 0; i < second.size(); ++i) {
        if (value.covered[i] == 0xFF) continue;
        bytes += (bytes.empty() ? "" : " ") + std::to_string(static_cast<uint8_t>(second[i]));
    }
    rows.push_back({"",
                    SettingsNvName(where.nv, where.part) +
                        (value.fields.empty() ? std::string() : std::string(text::kUnshownBytes)),
                    std::string(missing), bytes});
}

ReviewList DifferenceList(std::string title, std::string heading, std::string firstColumn,
                          std::string secondColumn, const std::vector<SettingsDifference>& rows) {
    ReviewList list{
        std::move(title),
        std::move(heading),
        {text::kTabColumn, text::kBoxColumn, std::move(firstColumn), std::move(secondColumn)},
        {}};
    for (const SettingsDifference& row : rows) {
        list.rows.push_back(
            {row.tab.empty() ? text::kNoPage : row.tab, row.box, row.first, row.second});
    }
    return list;
}

std::string ReportText(const ReviewList& list) {
    std::string text = list.title + "\r\n" + list.heading + "\r\n\r\n";
    auto line = [&](const std::vector<std::string>& texts) {
        for (size_t i = 0; i < texts.size(); ++i) text += (i == 0 ? "" : "\t") + texts[i];
        text += "\r\n";
    };
    line(list.columns);
    for (const std::vector<std::string>& row : list.rows) line(row);
    return text;
}

std::string BackupFolderName(std::string_view wholeName) {
    // No escape gives "%e": the empty name cannot meet another.
    if (wholeName.empty()) return "%empty";
    const bool device = IsDeviceName(wholeName);
    // Trailing dots and blanks, which Windows drops from a folder name.
    size_t kept = wholeName.size();
    while (kept > 0 && (wholeName[kept - 1] == '.' || wholeName[kept - 1] == ' ')) --kept;
    std::string name;
    for (size_t i = 0; i < wholeName.size(); ++i) {
        const char c = wholeName[i];
        const auto byte = static_cast<unsigned char>(c);
        const bool escaped = byte < 0x20 || byte >= 0x7F || i >= kept || (i == 0 && device) ||
                             std::string_view("\\/:*?\"<>|%~").find(c) != std::string_view::npos;
        if (escaped) {
            AppendEscaped(name, byte);
        } else {
            name += c;
        }
    }
    if (std::none_of(wholeName.begin(), wholeName.end(), IsLower)) return name;
    // Which letters are upper case, four letters to a hexadecimal digit.
    name += '~';
    int bits = 0;
    int count = 0;
    for (char c : wholeName) {
        if (!IsLower(c) && !IsUpper(c)) continue;
        bits = bits << 1 | (IsUpper(c) ? 1 : 0);
        if (++count % 4 == 0) {
            name += kHex[bits];
            bits = 0;
        }
    }
    if (count % 4 != 0) name += kHex[bits << (4 - count % 4)];
    return name;
}

std::string BackupFolder(Storage& storage, std::string_view wholeName) {
    return storage.UserFolder() + "\\" + text::kBackupsFolder + "\\" + BackupFolderName(wholeName);
}

std::optional<std::string> EarlierBackupFolder(Storage& storage, std::string_view wholeName) {
    const std::optional<std::string> earlier = EarlierFolderName(wholeName);
    if (!earlier || *earlier == BackupFolderName(wholeName)) return std::nullopt;
    return storage.UserFolder() + "\\" + text::kBackupsFolder + "\\" + *earlier;
}

bool HoldsBackups(Storage& storage, const std::string& folder) {
    const std::vector<std::string> names = storage.FileNames(folder);
    return std::any_of(names.begin(), names.end(), IsBackupName);
}

std::string WholeNodeName(const uint8_t* buffer, int length) {
    int size = length;
    while (size > 0 && buffer[size - 1] == 0) --size;
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
}

std::optional<std::string> StoreBackup(Storage& storage, std::string_view wholeName,
                                       const LocalTime& now, std::string_view text) {
    const std::string folder = BackupFolder(storage, wholeName);
    if (!storage.MakeFolder(folder)) return std::nullopt;
    std::vector<std::string> names = storage.FileNames(folder);
    // Two backups within one second get a number, so neither replaces the other.
    std::string name = BackupStem(now) + ".txt";
    for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); ++n) {
        name = BackupStem(now) + " (" + std::to_string(n) + ").txt";
    }
    const std::string path = folder + "\\" + name;
    if (!storage.ReplaceFile(path, text)) return std::nullopt;
    return path;
}

}  // namespace qta1

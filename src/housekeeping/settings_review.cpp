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
std::array<uint8_t, kNvBufferSize> PageView(const std::string& bytes, bool optionBits) {
    std::array<uint8_t, kNvBufferSize> view{};
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), view.size()), view.begin());
    if (optionBits) ReverseBits(view.data(), kNvBufferSize);
    return view;
}

// Node names are Windows-1252 bytes; paths are UTF-8. Each byte from 0x80
// up becomes its own character, so that "K\xFChl" and "K\xF6hl" get folders of
// their own (and never share, or prune, each other's backups).
void AppendWindows1252(std::string& utf8, unsigned char byte) {
    // 0x80..0x9F: the characters Windows-1252 puts there (0 where it has none).
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    char16_t c = byte;
    if (byte >= 0x80 && byte < 0xA0) c = kHigh[byte - 0x80] != 0 ? kHigh[byte - 0x80] : u'_';
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Characters a file name cannot hold become "_"; trailing dots and blanks go.
std::string FolderNameOf(std::string_view nodeName) {
    std::string name;
    for (char c : nodeName) {
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 ||
                               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        if (forbidden) {
            name += '_';
        } else {
            AppendWindows1252(name, static_cast<unsigned char>(c));
        }
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name.empty() ? std::string(text::kUnnamedNode) : name;
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
                Add(where, block.optionBits,
                    {std::string(CaptionOf(id)), BoxNameOf(*decl), field, page->Controls()});
            }
        }
    }
}

void SettingsFields::Add(NvPart where, bool optionBits, const Named& named) {
    Value& value = values_[where];
    value.optionBits = optionBits;
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
                                                            std::string_view missing,
                                                            std::string_view present) const {
    std::vector<SettingsDifference> rows;
    for (const NvEntry* nv : SettingsFileNvs()) {
        const int parts = nv->nv == kConfigNv ? kConfigPartCount : 0;
        for (int part = parts == 0 ? 0 : 1; part <= parts; ++part) {
            const NvPart where{nv->nv, part};
            const auto b = second.find(where);
            if (b == second.end()) continue;
            const auto a = first.find(where);
            if (a == first.end()) {
                rows.push_back(
                    {"", SettingsNvName(nv->nv, part), std::string(missing), std::string(present)});
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
    const auto a = PageView(first, value.optionBits);
    const auto b = PageView(second, value.optionBits);
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

std::string BackupFolder(Platform& platform, std::string_view nodeName) {
    return platform.UserFolder() + "\\" + text::kBackupsFolder + "\\" + FolderNameOf(nodeName);
}

std::optional<std::string> StoreBackup(Platform& platform, std::string_view nodeName,
                                       const LocalTime& now, std::string_view text) {
    const std::string folder = BackupFolder(platform, nodeName);
    if (!platform.MakeFolder(folder)) return std::nullopt;
    std::vector<std::string> names = platform.FileNames(folder);
    // Two backups within one second get a number, so neither replaces the other.
    std::string name = BackupStem(now) + ".txt";
    for (int n = 2; std::find(names.begin(), names.end(), name) != names.end(); ++n) {
        name = BackupStem(now) + " (" + std::to_string(n) + ").txt";
    }
    const std::string path = folder + "\\" + name;
    if (!platform.ReplaceFile(path, text)) return std::nullopt;
    names.push_back(name);
    std::erase_if(names, [](const std::string& n) { return !IsBackupName(n); });
    std::sort(names.begin(), names.end(), std::greater<>());
    for (size_t i = kBackupsKept; i < names.size(); ++i)
        platform.RemoveFile(folder + "\\" + names[i]);
    return path;
}

}  // namespace qta1

// Reviewing settings: every byte of a settings file named by the box that
// shows it, comparisons that list exactly the fields that differ, backups that
// are what a save writes, each unit's in a folder of its own and never
// removed, and the technician's choices kept between openings.
#include "housekeeping/settings_review.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <regex>
#include <set>

#include "app/page_registry.h"
#include "frame/sheet.h"
#include "resources/strings.h"
#include "sim_session.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

constexpr const char* kFile = "C:\\target.txt";

SettingsImage RandomImage(std::mt19937& random) {
    SettingsImage image;
    for (const NvEntry* nv : SettingsFileNvs()) {
        for (int part = nv->nv == kConfigNv ? 1 : 0; part <= (nv->nv == kConfigNv ? 12 : 0);
             ++part) {
            std::string bytes(static_cast<size_t>(nv->writeLength), '\0');
            for (char& b : bytes) b = static_cast<char>(random());
            image[{nv->nv, part}] = bytes;
        }
    }
    return image;
}

// One field changed on a random node gives exactly one row, naming it.
TEST(SettingsFields, OneChangedFieldIsOneRow) {
    struct Edit {
        const char* tab;
        const char* box;
        NvPart where;
        int byte;
        uint8_t xorMask;
    };
    // clang-format off
    const Edit edits[] = {
        {"PID",          "P (Heat (Mv1))",                           {kConfigNv, 8},    2,  0x01},
        {"Temperatures", "Offset (Temp sensor injection (Bs1))",     {kConfigNv, 2},    1,  0x80},
        {"Freecool",     "Min temp injection (Start/stop freecool)", {kMinNightCoolNv, 0}, 0, 0x10},
        // A hundredth apart: the page's one decimal shows both alike, so the
        // row gives every digit they hold.
        {"Freecool",     "Min temp injection (Start/stop freecool)", {kMinNightCoolNv, 0}, 1, 0x01},
        // An option bit: stored bit 0 of part 1 byte 20 is free cooling.
        {"Configuring QTA1+2", "Freecooling",                        {kConfigNv, 1},    20, 0x01},
        // Part 11 is on no page: its bytes are named by number.
        {"",             "nviPluginCnf part 11 byte 5",              {kConfigNv, 11},   5,  0x40},
    };
    // clang-format on
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    const SettingsFields fields(sheet);
    std::mt19937 random(13);
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.box);
        for (int round = 0; round < 50; ++round) {
            const SettingsImage node = RandomImage(random);
            SettingsImage file = node;
            file[edit.where][static_cast<size_t>(edit.byte)] ^= static_cast<char>(edit.xorMask);
            const auto rows = fields.Differences(node, file, "-");
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0].tab, edit.tab);
            EXPECT_EQ(rows[0].box, edit.box);
            EXPECT_NE(rows[0].first, rows[0].second);
            EXPECT_TRUE(fields.Differences(node, node, "-").empty());
        }
    }
}

// A box whose label the page draws on two lines is named on one line, in the
// lists as in the messages that name boxes; no name holds a line break.
TEST(SettingsFields, EveryBoxIsNamedOnOneLine) {
    struct Case {
        const char* tab;
        const char* box;
    };
    // clang-format off
    const Case cases[] = {
        {"Temp Start-up", "Return temp heating surface (Bw2) (Start-up)"},
        {"Temp Start-up", "0% heat 100% recycle (Start-up outdoor temp)"},
        {"PID",           "P (Heat (Mv1))"},
    };
    // clang-format on
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    const SettingsFields fields(sheet);
    const SettingsImage factory = FactoryImage();
    SettingsImage flipped = factory;
    for (auto& [where, bytes] : flipped) {
        for (char& b : bytes) b = static_cast<char>(~b);
    }
    std::set<std::pair<std::string, std::string>> names;
    for (const SettingsDifference& row : fields.Differences(factory, flipped, "-")) {
        EXPECT_EQ(row.tab.find('\n'), std::string::npos) << row.tab;
        EXPECT_EQ(row.box.find('\n'), std::string::npos) << row.tab << " - " << row.box;
        names.insert({row.tab, row.box});
    }
    for (const Case& c : cases) {
        EXPECT_TRUE(names.contains({c.tab, c.box})) << c.tab << " - " << c.box;
    }
}

// A value the node could not be read for keeps the names of its fields:
// each is listed by its tab and box with the value the other side holds, and
// bytes no page shows are one row for the NV or part.
TEST(SettingsFields, AnUnreadValueKeepsTheNamesOfItsFields) {
    struct Case {
        NvPart where;
        SettingsDifference first;
        size_t rows;
    };
    // clang-format off
    const Case cases[] = {
        {{kMaxOutNightNv, 0}, {"Freecool", "Max temp outdoor (Start/stop freecool)", "-", "20.0"}, 1},
        {{kConfigNv, 8},      {"PID",      "P (Heat (Mv1))",                         "-", "1.0"},  13},
        {{kConfigNv, 11},     {"",         "nviPluginCnf part 11",                   "-",
                               "11 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"},  1},
    };
    // clang-format on
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    const SettingsFields fields(sheet);
    const SettingsImage factory = FactoryImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first.box);
        SettingsImage unread = factory;
        unread.erase(c.where);
        const auto rows = fields.Differences(unread, factory, "-");
        ASSERT_EQ(rows.size(), c.rows);
        EXPECT_EQ(rows[0].tab, c.first.tab);
        EXPECT_EQ(rows[0].box, c.first.box);
        EXPECT_EQ(rows[0].first, c.first.first);
        EXPECT_EQ(rows[0].second, c.first.second);
    }
}

// Random node, random file: Compare lists differences exactly when the two
// differ; after the file is downloaded, Compare finds none.
TEST(SettingsFields, DownloadThenCompareFindsNothing) {
    std::mt19937 random(2027);
    for (int round = 0; round < 12; ++round) {
        SimSession source;
        source.node.SetAnimated(false);
        for (const auto& [where, bytes] : RandomImage(random)) {
            NvValue value{};
            std::copy(bytes.begin(), bytes.end(), value.begin());
            if (where.nv == kConfigNv) {
                source.node.SetPart(where.part, value);
            } else {
                source.node.SetNv(where.nv, value);
            }
        }
        NodeLink link(source.ui, source.ui);
        link.Obtain(&source.site);
        const std::string file =
            WriteSettingsFile(link, text::kProgramId, "Random", source.clock.LocalNow()).text;

        SimSession s;
        s.ui.SeedFile(kFile, file);
        std::vector<std::string> headings;
        testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
            for (int pass = 0; pass < 2; ++pass) {
                ui.QueueFileAnswer(kFile);
                ui.Click(PageId::ImportExport, IDC_IMPEXP_COMPARE);
                if (pass == 1) break;
                ui.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
                ui.QueueFileAnswer(kFile);
                ui.QueueMessageAnswer(MsgAnswer::Yes);  // download
                ui.QueueMessageAnswer(MsgAnswer::Yes);  // the preview
                ui.Click(PageId::ImportExport, IDC_IMPEXP_READ);
            }
        });
        for (const std::string& line : s.trace.lines()) {
            if (line.find("review \"Compare\"") != std::string::npos) headings.push_back(line);
            EXPECT_EQ(line.find("holds other values"), std::string::npos) << line;
        }
        ASSERT_EQ(headings.size(), 2u);
        EXPECT_EQ(headings[0].find("\"0 differences"), std::string::npos) << headings[0];
        EXPECT_NE(headings[1].find("\"0 differences"), std::string::npos) << headings[1];
    }
}

// Random node, random file that changes some of its blocks: the reviewed
// download leaves the node exactly as a full download leaves it, and writes
// exactly the blocks that differ.
TEST(SettingsFields, AReviewedDownloadWritesExactlyTheDifferingBlocks) {
    const auto load = [](SimulatedNode& node, const SettingsImage& image) {
        for (const auto& [where, bytes] : image) {
            NvValue value{};
            std::copy(bytes.begin(), bytes.end(), value.begin());
            if (where.nv == kConfigNv) {
                node.SetPart(where.part, value);
            } else {
                node.SetNv(where.nv, value);
            }
        }
    };
    const auto held = [](const SimulatedNode& node, const SettingsImage& like) {
        SettingsImage image;
        for (const auto& [where, bytes] : like) {
            const NvValue value = where.nv == kConfigNv ? node.Part(where.part) : node.Nv(where.nv);
            image[where] = std::string(value.begin(), value.begin() + bytes.size());
        }
        return image;
    };
    std::mt19937 random(2028);
    for (int round = 0; round < 8; ++round) {
        // A part starts with its own number, as on every node.
        const auto numbered = [](SettingsImage image) {
            for (auto& [where, bytes] : image) {
                if (where.nv == kConfigNv) bytes[0] = static_cast<char>(where.part);
            }
            return image;
        };
        const SettingsImage node = numbered(RandomImage(random));
        SettingsImage wanted = numbered(RandomImage(random));
        std::set<NvPart> differing;
        for (auto& [where, bytes] : wanted) {
            if (random() % 3 != 0) bytes = node.at(where);
            if (bytes != node.at(where)) differing.insert(where);
        }
        SimSession source;
        source.node.SetAnimated(false);
        load(source.node, wanted);
        NodeLink link(source.ui, source.ui);
        link.Obtain(&source.site);
        const std::string file =
            WriteSettingsFile(link, text::kProgramId, "Random", source.clock.LocalNow()).text;

        SettingsImage after[2];
        std::set<NvPart> written;
        for (const bool reviewed : {true, false}) {
            SimSession s;
            s.node.SetAnimated(false);
            load(s.node, node);
            s.ui.SeedFile(kFile, file);
            const size_t start = s.trace.size();
            testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
                if (!reviewed) ui.Click(PageId::ImportExport, IDC_IMPEXP_BACKUP_PREVIEW);
                ui.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
                ui.QueueFileAnswer(kFile);
                ui.QueueMessageAnswer(MsgAnswer::Yes);                // download
                if (reviewed) ui.QueueMessageAnswer(MsgAnswer::Yes);  // the preview
                ui.Click(PageId::ImportExport, IDC_IMPEXP_READ);
            });
            after[reviewed ? 0 : 1] = held(s.node, wanted);
            if (!reviewed) continue;
            // The part a write of the configuration NV goes to is the one the
            // selector last showed or was given.
            static const std::regex kSelector(R"(Nv\(55, \d+\) (?:-> 0  |<- )\[00 ([0-9A-F]{2}))");
            static const std::regex kWrite(R"(WriteNv\((\d+), \d+\) <-)");
            int part = 0;
            for (size_t i = start; i < s.trace.size(); ++i) {
                std::smatch m;
                const std::string& line = s.trace.lines()[i];
                if (std::regex_search(line, m, kSelector)) {
                    part = std::stoi(m[1], nullptr, 16);
                } else if (std::regex_search(line, m, kWrite)) {
                    const int nv = std::stoi(m[1]);
                    written.insert({nv, nv == kConfigNv ? part : 0});
                }
            }
        }
        EXPECT_EQ(after[0], wanted) << "round " << round;
        EXPECT_EQ(after[0], after[1]) << "round " << round;
        EXPECT_EQ(written, differing) << "round " << round;
    }
}

// The backup a download makes is byte for byte what "Save to file" writes
// from the same node at the same moment.
TEST(Backups, ABackupIsWhatASaveWrites) {
    SimSession s;
    s.node.SetAnimated(false);
    s.node.SetPart(8, NvValue{8, 0, 0x19});
    const LocalTime moment{2026, 12, 8, 10, 0, 0, 2};
    testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
        s.clock.SetLocal(moment);
        ui.QueueFileAnswer("C:\\before.txt");
        ui.Click(PageId::ImportExport, IDC_IMPEXP_SAVE);
        s.clock.SetLocal(moment);
        ui.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
        ui.QueueFileAnswer("C:\\before.txt");
        ui.QueueMessageAnswer(MsgAnswer::Yes);  // download; the preview is closed: No
        ui.Click(PageId::ImportExport, IDC_IMPEXP_READ);
    });
    const std::optional<std::string> saved = s.ui.ReadFile("C:\\before.txt");
    const std::string folder = BackupFolder(s.ui, "QTA1 Sim");
    const std::optional<std::string> backup = s.ui.ReadFile(folder + "\\2026-12-08 10-00-00.txt");
    ASSERT_TRUE(saved && backup);
    EXPECT_EQ(*backup, *saved);
}

// Every node name gets a folder of its own, also where folder names ignore
// letter case, and no folder name is one Windows would change or refuse.
TEST(Backups, EachNodeNameHasAFolderOfItsOwn) {
    struct Case {
        std::string name;
        const char* folder;
    };
    // clang-format off
    const Case cases[] = {
        {"AHU1",                      "AHU1"},
        {"ahu1",                      "ahu1~0"},
        {"AHU1.",                     "AHU1%2E"},
        {"AHU1 ",                     "AHU1%20"},
        {"AHU1 .",                    "AHU1%20%2E"},
        {"CON",                       "%43ON"},
        {"con.txt",                   "%63on.txt~00"},
        {"COM1",                      "%43OM1"},
        {"LPT9 ",                     "%4CPT9%20"},
        {"CONSOLE",                   "CONSOLE"},
        {"a/b",                       "a%2Fb~0"},
        {"a\\b",                      "a%5Cb~0"},
        {"Unit 5: hall/2",            "Unit 5%3A hall%2F2~80"},
        {"100%",                      "100%25"},
        {"a~0",                       "a%7E0~0"},
        {"K\xFChl",                   "K%FChl~8"},
        {"\x81\x8D",                  "%81%8D"},
        {std::string("AHU\0x", 5),    "AHU%00x~E"},
        {"",                          "%empty"},
        {std::string(1, '\0'),        "%00"},
        {"Building 3 floor 2 AHU 1",  "Building 3 floor 2 AHU 1~8007"},
        {"Building 3 floor 2 AHU 2",  "Building 3 floor 2 AHU 2~8007"},
    };
    // clang-format on
    std::set<std::string> folded;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = BackupFolderName(c.name);
        EXPECT_EQ(folder, c.folder);
        std::string lower = folder;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_TRUE(folded.insert(lower).second) << "shares a folder: " << folder;
        EXPECT_FALSE(folder.ends_with('.') || folder.ends_with(' '));
    }
}

// Backups are never removed: 21 backups of one node keep all 21, the
// technician's own files stay, and two in one second keep both.
TEST(Backups, EveryBackupIsKept) {
    SimSession s;
    const std::string folder = BackupFolder(s.ui, "Unit 5: hall/2");
    EXPECT_TRUE(folder.ends_with("\\Backups\\Unit 5%3A hall%2F2~80")) << folder;
    s.ui.SeedFile(folder + "\\notes.txt", "mine");
    for (int minute = 0; minute < 25; ++minute) {
        ASSERT_TRUE(StoreBackup(s.ui, "Unit 5: hall/2", {2026, 12, 8, 10, minute, 0, 2}, "b"));
    }
    const auto again = StoreBackup(s.ui, "Unit 5: hall/2", {2026, 12, 8, 10, 24, 0, 2}, "c");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->ends_with("10-24-00 (2).txt")) << *again;
    std::vector<std::string> names = s.ui.FileNames(folder);
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 27u);
    EXPECT_EQ(names.front(), "2026-12-08 10-00-00.txt");
    EXPECT_EQ(names.back(), "notes.txt");
}

// Both choices start checked, and an unchecked one stays unchecked the next
// time the sheet opens.
TEST(Backups, TheChoicesAreKeptBetweenOpenings) {
    SimSession s;
    bool backup = false;
    bool verify = false;
    testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
        backup = ui.State(PageId::ImportExport, IDC_IMPEXP_BACKUP_PREVIEW)->checked;
        verify = ui.State(PageId::ImportExport, IDC_IMPEXP_VERIFY)->checked;
        ui.Click(PageId::ImportExport, IDC_IMPEXP_VERIFY);
    });
    EXPECT_TRUE(backup && verify);
    testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
        backup = ui.State(PageId::ImportExport, IDC_IMPEXP_BACKUP_PREVIEW)->checked;
        verify = ui.State(PageId::ImportExport, IDC_IMPEXP_VERIFY)->checked;
    });
    EXPECT_TRUE(backup);
    EXPECT_FALSE(verify);
}

}  // namespace
}  // namespace qta1

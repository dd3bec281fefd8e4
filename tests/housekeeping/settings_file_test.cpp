// The node settings file: the bytes saved from a node, and what a download
// of any file sends back to one.
#include "housekeeping/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "housekeeping/text_codec.h"
#include "platform/headless/trace.h"
#include "resources/strings.h"
#include "sim_session.h"
#include "support/golden.h"

namespace qta1 {
namespace {

using testing::SameTrace;
using Writes = std::vector<std::string>;

const std::string kIdLine = std::string("- ") + text::kProgramId + "\r\n";
const std::string kForeignIdLine = "- 90 51 54 41 31 5F 31 73\r\n";

std::string GoldenFactoryFile() {
    std::ifstream in(QTA1_SOURCE_DIR "/tests/housekeeping/golden/factory.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Comment(std::string_view name) {
    for (const NvEntry* nv : SettingsFileNvs())
        if (name == nv->name) return std::string(nv->file.comment) + "\r\n";
    return "";
}

std::string PartComment(int part) {
    return NvEntryOf(kConfigNv)->file.comment + std::to_string(part) + " \r\n";
}

// The file's NVs but the configuration NV, whose parts are blocks of their own.
std::vector<const NvEntry*> SingleNvs() {
    std::vector<const NvEntry*> singles;
    for (const NvEntry* nv : SettingsFileNvs())
        if (nv->nv != kConfigNv) singles.push_back(nv);
    return singles;
}

// A write as the trace shows it: `length` bytes starting with `head`.
std::string Write(int nv, std::vector<uint8_t> head, int length = kNvValueSize) {
    head.resize(static_cast<size_t>(length));
    return "WriteNv(" + std::to_string(nv) + ", " + std::to_string(length) + ") <- [" +
           HexBytes(head.data(), length) + "] -> 0";
}

Writes PartWrite(int part, std::vector<uint8_t> head) {
    return {Write(55, {0, uint8_t(part)}, 2), Write(56, std::move(head)), Write(55, {0, 0}, 2)};
}

// A simulated node behind the link the file functions use.
struct Bench {
    SimSession s;
    NodeLink link{s.ui, s.ui};
    int questions = 0;

    Bench() {
        s.node.SetAnimated(false);
        link.Obtain(&s.site);
    }
    SavedSettings Save() {
        return WriteSettingsFile(link, text::kProgramId, "QTA1 Sim", s.ui.Now());
    }
    DownloadResult Load(std::string_view file, bool answer = false) {
        s.trace.Clear();
        return ReadSettingsFile(file, text::kProgramId, link, [this, answer] {
            ++questions;
            return answer;
        });
    }
    Writes WriteLines() const {
        Writes writes;
        for (const std::string& line : testing::WithoutTimes(s.trace.lines()))
            if (line.starts_with("WriteNv(")) writes.push_back(line);
        return writes;
    }
};

// The factory node saves the golden file byte for byte; downloading it back
// sends every saved value in file order, parts numbered by their position.
TEST(SettingsFile, FactoryNodeSavesTheGoldenFileAndDownloadsItBack) {
    const std::string golden = GoldenFactoryFile();
    ASSERT_FALSE(golden.empty());
    Bench b;
    const SavedSettings saved = b.Save();
    EXPECT_EQ(saved.text, golden);
    EXPECT_EQ(saved.readErrors, 0);
    EXPECT_EQ(b.s.node.Selector(), 12);

    const DownloadResult result = b.Load(golden);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.writeErrors, 0);
    EXPECT_EQ(b.questions, 0);
    Writes expected;
    SimSession factory;
    for (const NvEntry* nv : SingleNvs()) {
        const NvValue value = factory.node.Nv(nv->nv);
        expected.push_back(Write(nv->nv, {value.begin(), value.end()}, nv->writeLength));
    }
    for (int part = 1; part <= 12; ++part) {
        const NvValue value = factory.node.Part(part);
        for (std::string& line : PartWrite(part, {value.begin(), value.end()}))
            expected.push_back(line);
    }
    EXPECT_TRUE(SameTrace(expected, b.WriteLines()));
    EXPECT_EQ(b.s.node.Selector(), 0);
}

// A record line of 16 numbers starting with these.
std::string Record(std::vector<int> head) {
    head.resize(16);
    std::string line;
    for (int n : head) line += (line.empty() ? "" : ", ") + std::to_string(n);
    return line + "\r\n";
}

TEST(SettingsFile, DownloadOfHandWrittenFiles) {
    struct Case {
        const char* what;
        bool answer, accepted;  // to the program-ID question; the download's result
        int questions;
        std::string file;
        Writes writes;
    };
    const std::string maxOut = Comment("nciMaxOutNight");
    const std::string minCool = Comment("nciMinNightCool");
    const std::string id = "- 90 51 54 41 31 5F 31 72";
    Writes twoParts = PartWrite(1, {5, 0, 6, 0, 7});
    for (std::string& line : PartWrite(2, {9, 0, 1, 0, 2})) twoParts.push_back(line);
    // clang-format off
    const Case cases[] = {
        {"negative temperature", 0, 1, 0,
         kIdLine + maxOut + "-5.00\r\n", {Write(34, {0xFE, 0x0C}, 2)}},
        {"temperature without decimals", 0, 1, 0,
         kIdLine + Comment("nciMinNightCool") + "20\r\n", {Write(28, {0x07, 0xD0}, 2)}},
        {"hundredths are exact", 0, 1, 0,
         kIdLine + maxOut + "19.99\r\n" + minCool + "-555.35\r\n", {Write(34, {0x07, 0xCF}, 2),
         Write(28, {0x27, 0x11}, 2)}},
        {"hundredths with blanks and a sign", 0, 1, 0,
         kIdLine + maxOut + " +0.29 \r\n", {Write(34, {0x00, 0x1D}, 2)}},
        {"digits beyond hundredths are cut off", 0, 1, 0,
         kIdLine + maxOut + "2.579\r\n" + minCool + "-0.001\r\n",
         {Write(34, {0x01, 0x01}, 2), Write(28, {0x00, 0x00}, 2)}},
        {"a seventh decimal digit changes nothing", 0, 1, 0,
         kIdLine + maxOut + "0.1234567\r\n" + minCool + "-0.0000019\r\n",
         {Write(34, {0x00, 0x0C}, 2), Write(28, {0x00, 0x00}, 2)}},
        {"set points with one or two decimals", 0, 1, 0,
         kIdLine + Comment("nciSetptTempRoom") + "21.25, 21.0, -5, 0.5, 100, 19.99\r\n",
         {Write(32, {0x08, 0x4D, 0x08, 0x34, 0xFE, 0x0C, 0x00, 0x32, 0x27, 0x10, 0x07, 0xCF}, 12)}},
        {"renumbered parts go by position", 0, 1, 0,
         kIdLine + PartComment(7) + Record({5, 6, 7}) + PartComment(3) + Record({9, 1, 2}),
         twoParts},
        {"commas with or without blanks", 0, 1, 0,
         kIdLine + PartComment(1) + "5,123 ,\t456, 789,0,0,0,0,0,0,0,0,0,0,0,0\r\n",
         PartWrite(1, {5, 0, 123, 1, 0xC8, 3, 0x15})},
        {"20-character node name is no program ID", 1, 0, 0,
         "- ABCDEFGHIJKLMNOPQRST\r\n" + maxOut + "20\r\n", {}},
        {"a 23-character name under its title is no program ID", 0, 1, 0,
         kIdLine + "/ Nodename                                 \r\n- ABCDEFGHIJKLMNOPQRSTUVW\r\n" +
             maxOut + "20\r\n", {Write(34, {0x07, 0xD0}, 2)}},
        {"no program-ID line", 1, 0, 0,
         maxOut + "20\r\n" + PartComment(1) + "1\r\n", {}},
        {"foreign ID accepted", 1, 1, 1,
         kForeignIdLine + maxOut + "20\r\n", {Write(34, {0x07, 0xD0}, 2)}},
        {"foreign ID refused", 0, 0, 1,
         kForeignIdLine + maxOut + "20\r\n", {}},
        {"refusal later in the file stops the rest", 0, 0, 1,
         kIdLine + maxOut + "1\r\n" + kForeignIdLine + minCool + "2\r\n", {Write(34, {0, 100}, 2)}},
        {"comment before the ID line leaves it alone", 0, 1, 0,
         maxOut + kIdLine + maxOut + "3\r\n", {Write(34, {1, 0x2C}, 2)}},
        {"blocks without data write nothing and keep the part count", 0, 1, 0,
         kIdLine + Comment("nciSwitchExt") + PartComment(1) + PartComment(2) + Record({5, 6, 7}) +
             maxOut, PartWrite(2, {5, 0, 6, 0, 7})},
        {"LF only, no final line end", 0, 1, 0,
         id + "\n" + maxOut + "20", {Write(34, {0x07, 0xD0}, 2)}},
        {"bare CR stays in the line", 1, 0, 0,
         id + "\r\r\n" + maxOut + "20\r\n", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        b.s.node.SetSelector(0);  // parked, so every part selection shows in the trace
        const DownloadResult result = b.Load(c.file, c.answer);
        EXPECT_FALSE(result.badLine) << result.badLine->number << ": " << result.badLine->text;
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(result.writeErrors, 0);
        EXPECT_EQ(b.questions, c.questions);
        EXPECT_TRUE(SameTrace(c.writes, b.WriteLines()));
    }
}

// A file that is not exactly what a download can write is refused at its
// first bad line, before any question is asked or anything is written.
TEST(SettingsFile, FilesWithABadLineWriteNothing) {
    struct Case {
        const char* what;
        std::string file;
        int badLine;
    };
    const std::string maxOut = Comment("nciMaxOutNight");
    const std::string ok = maxOut + "20\r\n";  // lines 2 and 3 after the ID line
    std::string thirteenParts;
    for (int part = 1; part <= 13; ++part) thirteenParts += PartComment(part) + Record({part});
    // clang-format off
    const Case cases[] = {
        {"cut off inside part 1",    kIdLine + ok + PartComment(1) + "1, 21, 4",               5},
        {"short record line",        kIdLine + ok + PartComment(1) + "5, 6, 7\r\n",            5},
        {"record with 17 numbers",   kIdLine + ok + PartComment(1) + "1, " + Record({}),      5},
        {"empty data line",          kIdLine + ok + maxOut + "\r\n" + ok,                     5},
        {"junk",                     kIdLine + ok + maxOut + "abc\r\n",                        5},
        {"decimal comma",            kIdLine + ok + maxOut + "21,5\r\n",                       5},
        {"exponent",                 kIdLine + ok + maxOut + "1e1\r\n",                        5},
        {"infinity",                 kIdLine + ok + maxOut + "inf\r\n",                        5},
        {"hexadecimal",              kIdLine + ok + Comment("nciSwitchExt") + "0x10\r\n",      5},
        {"two decimal points",       kIdLine + ok + maxOut + "1.2.3\r\n",                      5},
        {"no digits",                kIdLine + ok + maxOut + "-.\r\n",                         5},
        {"temperature above 100",    kIdLine + ok + maxOut + "100.01\r\n",                     5},
        {"temperature below range",  kIdLine + ok + maxOut + "-555.36\r\n",                    5},
        {"word above 65535",         kIdLine + ok + PartComment(1) + Record({1, 70000}),      5},
        {"negative word",            kIdLine + ok + PartComment(1) + Record({1, -1}),         5},
        {"byte 0 above 127",         kIdLine + ok + PartComment(1) + Record({128}),           5},
        {"count above 65535",        kIdLine + ok + Comment("nciSwitchExt") + "65536\r\n",     5},
        {"time byte above 127",      kIdLine + ok + Comment("nciTimeDayOn") + "1, 2, 3, 200\r\n", 5},
        {"NUL in a number",          kIdLine + ok + maxOut + std::string("2\0" "5\r\n", 4),     5},
        {"unknown NV",               kIdLine + ok + "* nciMaxOut\r\n1\r\n",                    4},
        {"names are case-sensitive", kIdLine + ok + "* ncimaxoutnight\r\n1\r\n",               4},
        {"a thirteenth part",        kIdLine + thirteenParts,                                  26},
        {"a block met twice",        kIdLine + ok + Comment("nciSwitchExt") + "1\r\n" + ok,   6},
        {"a block repeated at once", kIdLine + ok + ok + ok,                                   4},
        {"a part named twice",       kIdLine + PartComment(1) + Record({1}) + PartComment(1) +
                                         Record({1}),                                           4},
        {"a foreign file too",       kForeignIdLine + ok + maxOut + "x\r\n",                   5},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        const DownloadResult result = b.Load(c.file, true);
        ASSERT_TRUE(result.badLine);
        EXPECT_EQ(result.badLine->number, c.badLine) << result.badLine->text;
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(b.questions, 0);
        EXPECT_EQ(b.s.node.CallCount(), 0);
    }
}

// Files that hold no settings are told apart from files with a bad line, and
// a file whose last data line has no line end may have been cut off in it.
TEST(SettingsFile, WhatTheWholeFileCheckSaysOfAFile) {
    using NotSettings = SettingsFilePlan::NotSettings;
    struct Case {
        const char* what;
        std::string file;
        NotSettings notSettings;
        bool mayBeCutOff;
    };
    const std::string maxOut = Comment("nciMaxOutNight");
    // clang-format off
    const Case cases[] = {
        {"empty",                          "",                                        NotSettings::Empty,       false},
        {"junk",                           "hello\r\nworld",                         NotSettings::NoProgramId, false},
        {"blocks without an ID line",      maxOut + "20\r\n",                         NotSettings::NoProgramId, false},
        {"an ID line alone",               kIdLine,                                   NotSettings::NoData,      false},
        {"no NV could be read",            kIdLine + maxOut + PartComment(1),         NotSettings::NoData,      false},
        {"whole",                          kIdLine + maxOut + "20\r\n",               NotSettings::No,          false},
        {"cut in the last number",         kIdLine + PartComment(1) + "1, 21, 49, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12",
                                                                                      NotSettings::No,          true},
        {"last line end missing",          kIdLine + maxOut + "20",                   NotSettings::No,          true},
        {"a comment line ends it",         kIdLine + maxOut + "20\r\n" + "* nciMaxOutNight", NotSettings::No, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SettingsFilePlan plan = PlanSettingsFile(c.file);
        EXPECT_EQ(plan.notSettings, c.notSettings);
        EXPECT_EQ(plan.mayBeCutOff, c.mayBeCutOff);
        EXPECT_EQ(plan.Usable(), !plan.badLine && c.notSettings == NotSettings::No);
        if (c.notSettings != NotSettings::No) {
            EXPECT_TRUE(plan.steps.empty());
        }
    }
}

// Every built-in factory line is a data line of its kind, and the factory
// node saves what "Default settings" sends.
TEST(SettingsFile, FactoryLinesAreExactDataLines) {
    SimSession factory;
    for (const FactoryLine& line : FactoryLines()) {
        SCOPED_TRACE(line.line);
        const std::optional<std::string> bytes = FactoryBytes(line.nv, line.part);
        ASSERT_TRUE(bytes);
        const NvValue held =
            line.nv == kConfigNv ? factory.node.Part(line.part) : factory.node.Nv(line.nv);
        EXPECT_EQ(*bytes, std::string(held.begin(), held.begin() + WriteLengthOf(line.nv)));
    }
    for (const NvEntry* nv : SettingsFileNvs())
        EXPECT_EQ(DataLineLength(nv->file.kind), nv->writeLength);
}

// For any node contents, Save followed by Read from file writes back exactly
// the bytes that were read, for every NV and part.
TEST(SettingsFile, SaveThenDownloadRestoresEveryByte) {
    std::mt19937 random(2026);
    for (int round = 0; round < 200; ++round) {
        Bench from;
        NvValue value{};
        auto randomValue = [&] {
            for (uint8_t& byte : value) byte = static_cast<uint8_t>(random());
            // Every edge of the temperature words now and then.
            if (round % 4 == 0) {
                const uint16_t edges[] = {0, 1, 9999, 10000, 10001, 65535, 1999, 2125};
                for (int i = 0; i + 1 < kNvValueSize; i += 2) {
                    const uint16_t word = edges[random() % 8];
                    value[i] = uint8_t(word >> 8);
                    value[i + 1] = uint8_t(word & 0xFF);
                }
            }
            return value;
        };
        for (const NvEntry* nv : SingleNvs()) from.s.node.SetNv(nv->nv, randomValue());
        // Every part carries its own number in byte 0.
        for (int part = 1; part <= 12; ++part) {
            NvValue value = randomValue();
            value[0] = static_cast<uint8_t>(part);
            from.s.node.SetPart(part, value);
        }
        const SavedSettings saved = from.Save();
        ASSERT_EQ(saved.readErrors, 0);

        Bench to;
        const DownloadResult result = to.Load(saved.text);
        ASSERT_FALSE(result.badLine) << result.badLine->number << ": " << result.badLine->text;
        ASSERT_TRUE(result.accepted);
        for (const NvEntry* nv : SingleNvs()) {
            const NvValue sent = from.s.node.Nv(nv->nv);
            const NvValue held = to.s.node.Nv(nv->nv);
            ASSERT_TRUE(std::equal(sent.begin(), sent.begin() + nv->writeLength, held.begin()))
                << nv->name << " in\n"
                << saved.text;
        }
        for (int part = 1; part <= 12; ++part) {
            ASSERT_EQ(to.s.node.Part(part), from.s.node.Part(part)) << "part " << part;
        }
    }
}

// Saved with two unreadable NVs, the file still downloads every other block
// to its own NV and part, and nothing to the two missing ones.
TEST(SettingsFile, FileWithUnreadableNvsDownloadsTheRest) {
    Bench from;
    from.s.node.FailNv(17, FaultOn::Reads);
    // Call 23 reads part 5: nine single NVs, two calls for part 1 (already
    // selected), three for each later part.
    from.s.node.FailCall(23);
    const SavedSettings saved = from.Save();
    EXPECT_EQ(saved.readErrors, 2);
    std::string expected = GoldenFactoryFile();
    for (std::string_view lost : {"255\r\n\r\n",
                                  "5, 2000, 18000, 0, 0, 0, 2000, 15000, 4000, "
                                  "3000, 0, 0, 0, 10, 120, 5\r\n\r\n"})
        expected.erase(expected.find(lost), lost.size());
    EXPECT_EQ(saved.text, expected);

    Bench to;
    NvValue marked;
    marked.fill(0xAA);
    for (const NvEntry* nv : SingleNvs()) to.s.node.SetNv(nv->nv, marked);
    for (int part = 1; part <= 12; ++part) to.s.node.SetPart(part, marked);
    const DownloadResult result = to.Load(saved.text);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.writeErrors, 0);
    SimSession factory;
    for (const NvEntry* nv : SingleNvs()) {
        NvValue want = marked;
        if (nv->nv != 17)
            std::copy_n(factory.node.Nv(nv->nv).begin(), nv->writeLength, want.begin());
        EXPECT_EQ(to.s.node.Nv(nv->nv), want) << nv->name;
    }
    for (int part = 1; part <= 12; ++part)
        EXPECT_EQ(to.s.node.Part(part), part == 5 ? marked : factory.node.Part(part)) << part;
}

// A part the node could not be switched to is not read: the node would
// answer with the part it still shows.
TEST(SettingsFile, PartsThatCannotBeSelectedAreNotSaved) {
    Bench b;
    b.s.node.FailNv(55, FaultOn::Writes);  // part 1 is selected already
    EXPECT_EQ(b.Save().readErrors, 11);
    int partReads = 0;
    for (const std::string& line : b.s.trace.lines())
        partReads += line.find("ReadNv(56") != std::string::npos;
    EXPECT_EQ(partReads, 1);
}

TEST(SettingsFile, RefusedWritesAreCounted) {
    struct Case {
        const char* what;
        std::function<void(SimulatedNode&)> fault;
        int errors;
        int partWrites;
    };
    const Case cases[] = {
        {"one single NV", [](SimulatedNode& n) { n.FailNv(34, FaultOn::Writes); }, 1, 12},
        {"every part", [](SimulatedNode& n) { n.FailNv(56, FaultOn::Writes); }, 12, 12},
        // Part 1 is already selected; no later part is written over it.
        {"the selector", [](SimulatedNode& n) { n.FailNv(55, FaultOn::Writes); }, 12, 1},
        {"everything", [](SimulatedNode& n) { n.FailAll(true); }, 21, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        c.fault(b.s.node);
        const DownloadResult result = b.Load(GoldenFactoryFile());
        EXPECT_TRUE(result.accepted);
        EXPECT_EQ(result.writeErrors, c.errors);
        int partWrites = 0;
        for (const std::string& line : b.WriteLines()) partWrites += line.starts_with("WriteNv(56");
        EXPECT_EQ(partWrites, c.partWrites);
    }
}

TEST(SettingsFile, HostileInputNeverBreaksTheDownload) {
    std::mt19937 random(99);
    std::string junk(1 << 16, '\0');
    for (char& c : junk) c = "\n\r*-, 9\0\xff"[random() % 9];
    struct Case {
        std::string file;
        int accepted;  // -1: either
    };
    const Case cases[] = {
        {"", 0},
        {std::string(5000, '\r'), 0},
        {std::string(3000, '\0'), 0},
        {kIdLine + PartComment(1) + std::string(100000, '9'), 0},
        {kIdLine + PartComment(1) + std::string(100000, ',') + "\r\n" + PartComment(2), 0},
        {"-" + std::string(100000, ' ') + "\n*", 0},
        {kIdLine + junk, -1},
        {kIdLine + "*\r\n*\r\n* \r\n*  \r\n-\r\n", 0},
    };
    for (const Case& c : cases) {
        Bench b;
        const DownloadResult result = b.Load(c.file, true);
        if (c.accepted >= 0) {
            EXPECT_EQ(result.accepted, c.accepted == 1) << c.file.substr(0, 40);
        }
        // A refused file never reaches the node.
        if (result.badLine) {
            EXPECT_EQ(b.s.node.CallCount(), 0);
        }
    }
}

}  // namespace
}  // namespace qta1

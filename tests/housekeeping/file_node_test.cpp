// A settings file as the node: which files open, what the node answers, and
// that a file keeps every byte the technician did not change.
#include "housekeeping/file_node.h"

#include <gtest/gtest.h>

#include <random>

#include "app/page_registry.h"
#include "frame/sheet.h"
#include "resources/strings.h"
#include "sim_session.h"
#include "support/golden.h"

namespace qta1 {
namespace {

using testing::SplitLines;

const std::string kPath = "C:\\Units\\AHU 3.txt";

std::string FactoryFileText(SimSession& s) {
    std::unique_ptr<FileNode> node = FileNode::Factory(s.ui, s.ui, kPath);
    return node->Text();
}

TEST(FileNode, FilesThatDoNotOpenSayWhy) {
    SimSession s;
    const std::string good = FactoryFileText(s);
    std::string badLine = good;
    badLine.replace(badLine.find("255\r\n"), 3, "2x5");
    struct Case {
        const char* what;
        std::optional<std::string> bytes;  // none: there is no such file
        std::string refusal;
    };
    const Case cases[] = {
        {"no such file", std::nullopt, kPath + " could not be read."},
        {"empty", "",
         "The file was not opened: " + kPath + " is not a settings file: it is empty."},
        {"no program ID", "* just a line\r\n",
         "The file was not opened: " + kPath +
             " is not a settings file: it has no program ID line."},
        {"a bad data line", badLine,
         "The file was not opened: line 19 of the file is not valid:\n\"2x5\""},
        {"a good file", good, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimSession t;
        if (c.bytes) t.ui.SeedFile(kPath, *c.bytes);
        const FileNode::Opened opened = FileNode::Open(t.ui, t.ui, kPath);
        EXPECT_EQ(opened.refusal, c.refusal);
        EXPECT_EQ(opened.node != nullptr, c.refusal.empty());
    }
}

// What a page meets over a file: the file's blocks, a selector as a node's,
// and nothing of a unit's status, clock or commands.
TEST(FileNode, AnswersAsANodeOfItsFile) {
    SimSession s;
    s.ui.SeedFile(kPath, FactoryFileText(s));
    FileNode::Opened opened = FileNode::Open(s.ui, s.ui, kPath);
    ASSERT_NE(opened.node, nullptr);
    FileNode& node = *opened.node;
    uint8_t buffer[kNvBufferSize] = {};

    const uint8_t part8[] = {0x00, 0x08};
    EXPECT_EQ(node.WriteNv(kPartSelectorNv, part8, 2), kHostOk);
    ASSERT_EQ(node.ReadNv(kConfigNv, buffer, kNvValueSize), kHostOk);
    EXPECT_EQ(buffer[0], 8);
    ASSERT_EQ(node.ReadNv(kPartSelectorNv, buffer, kNvValueSize), kHostOk);
    EXPECT_EQ(buffer[1], 8);
    const uint8_t part13[] = {0x00, 0x0D};
    EXPECT_EQ(node.WriteNv(kPartSelectorNv, part13, 2), kHostOk);
    EXPECT_NE(node.ReadNv(kConfigNv, buffer, kNvValueSize), kHostOk) << "no part 13";
    EXPECT_NE(node.WriteNv(kConfigNv, buffer, kNvValueSize), kHostOk);

    for (int nv : {kUnitStatusNv, kInjectionTempNv, kNodeClockNv, kClockSettingNv, kResetCommandNv,
                   kRunningHoursNv}) {
        SCOPED_TRACE(nv);
        EXPECT_NE(node.ReadNv(nv, buffer, kNvValueSize), kHostOk);
        EXPECT_NE(node.WriteNv(nv, buffer, 2), kHostOk);
    }
    EXPECT_EQ(node.Unsaved(), kNotInFile) << "refused writes change nothing";

    ASSERT_EQ(node.ReadNodeName(buffer, kNvValueSize), kHostOk);
    EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "AHU 3");
    uint8_t name[8] = {};
    EXPECT_NE(node.FileName(name, sizeof name), kHostOk) << "cut off";
    EXPECT_EQ(name[7], 0) << "still ends within the buffer";

    // A shorter write changes only its own bytes of the block.
    const uint8_t high[] = {0x12};
    EXPECT_EQ(node.WriteNv(kSwitchOverrideNv, high, 1), kHostOk);
    EXPECT_EQ(node.Image().at({kSwitchOverrideNv, 0}), std::string("\x12\xFF", 2));
    EXPECT_EQ(node.Unsaved(), kHostOk);

    // Another program's change is not written over unasked.
    s.ui.SeedFile(kPath, *s.ui.ReadFile(kPath) + "\r\n");
    EXPECT_EQ(node.Save(0), kFileChangedElsewhere);
    EXPECT_EQ(node.Unsaved(), kHostOk);
    EXPECT_EQ(node.Save(1), kHostOk);
    EXPECT_EQ(node.Unsaved(), kNotInFile);
    EXPECT_EQ(node.Save(0), kHostOk) << "the file is now the node's own";
    EXPECT_EQ(node.RefCount(), 0);

    // A new file of the factory settings may replace the file the technician
    // chose to overwrite, but not one that changed after that choice.
    std::unique_ptr<FileNode> fresh = FileNode::Factory(s.ui, s.ui, kPath);
    EXPECT_EQ(fresh->Save(0), kHostOk);
    std::unique_ptr<FileNode> late = FileNode::Factory(s.ui, s.ui, kPath);
    s.ui.SeedFile(kPath, "changed meanwhile");
    EXPECT_EQ(late->Save(0), kFileChangedElsewhere);
}

// A value box of a page whose Write stores it: the page, the field and the
// box's declaration.
struct ValueBox {
    PageId page;
    const PageDef* def;
    const Block* block;
    Field field;
};

std::vector<ValueBox> ValueBoxes(CSheet& sheet) {
    std::vector<ValueBox> boxes;
    for (PageId page : TechnicianSet()) {
        // Config HVAC writes its mode sets when it finds them uninitialised.
        if (page == PageId::ConfigHvac) continue;
        const PageDef& def = sheet.Page(page)->definition();
        if (def.writeButton == 0) continue;
        for (const Block& block : def.blocks) {
            if (block.shownOnly) continue;
            for (const Field& field : block.fields) {
                const ControlDecl* decl = FindControl(page, field.control);
                if (field.kind == FieldKind::Word && decl != nullptr &&
                    decl->kind == ControlKind::Edit && FieldStored(field)) {
                    boxes.push_back({page, &def, &block, field});
                }
            }
        }
    }
    return boxes;
}

// Random settings a file can hold: every block (a few left out), each part
// carrying its number, the unit configured.
SettingsImage RandomImage(std::mt19937& random) {
    SettingsImage image;
    std::uniform_int_distribution<int> byte(0, 255);
    for (const NvEntry* nv : SettingsFileNvs()) {
        std::vector<int> parts = {0};
        if (nv->nv == kConfigNv) {
            parts.clear();
            for (int part = 1; part <= kConfigPartCount; ++part) parts.push_back(part);
        }
        for (int part : parts) {
            if (part != kOptionPart && byte(random) < 16) continue;  // not read when saved
            std::string bytes(static_cast<size_t>(nv->writeLength), '\0');
            for (char& b : bytes) b = static_cast<char>(byte(random));
            if (nv->nv == kConfigNv) bytes[0] = static_cast<char>(part);
            if (part == kOptionPart) bytes[30] = 1;
            image[{nv->nv, part}] = bytes;
        }
    }
    return image;
}

TEST(FileNode, RandomFilesKeepEveryByteAndAnEditChangesOnlyItsBox) {
    std::mt19937 random(20261209);
    SimSession definitions;
    CSheet probe(definitions.ui, &definitions.site, PageRegistry());
    const std::vector<ValueBox> boxes = ValueBoxes(probe);
    ASSERT_FALSE(boxes.empty());
    int edited = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        SimSession s;
        const SettingsImage image = RandomImage(random);
        const std::string original =
            SettingsFileText({image, 0}, text::kProgramId, "AHU 3", LocalTime{2026, 12, 9});
        const SettingsFilePlan plan = PlanSettingsFile(original);
        ASSERT_TRUE(plan.Usable());
        ASSERT_EQ(ImageOfPlan(plan), image) << "the writer and the reader disagree";
        s.ui.SeedFile(kPath, original);

        // Opened and saved unchanged: the same bytes.
        {
            FileNode::Opened opened = FileNode::Open(s.ui, s.ui, kPath);
            ASSERT_NE(opened.node, nullptr) << opened.refusal;
            EXPECT_EQ(opened.node->Save(0), kHostOk);
            EXPECT_EQ(*s.ui.ReadFile(kPath), original);
        }

        // One box, typed through its page with a value of random bytes.
        FileNode::Opened opened = FileNode::Open(s.ui, s.ui, kPath);
        ASSERT_NE(opened.node, nullptr);
        const ValueBox& box = boxes[random() % boxes.size()];
        const auto held = image.find({box.block->nv, box.block->part});
        if (held == image.end()) continue;  // a block the file left out
        uint8_t wanted[kNvBufferSize] = {};
        std::copy(held->second.begin(), held->second.end(), wanted);
        std::string typed;
        for (int attempt = 0; attempt < 20 && typed.empty(); ++attempt) {
            for (int i = 0; i < FieldWidth(box.field); ++i)
                wanted[box.field.offset + i] = static_cast<uint8_t>(random());
            uint8_t encoded[kNvBufferSize] = {};
            std::copy(std::begin(wanted), std::end(wanted), encoded);
            const std::string text = FormatField(box.field, wanted);
            if (EncodeField(box.field, text, encoded) &&
                std::equal(std::begin(encoded), std::end(encoded), std::begin(wanted)))
                typed = text;
        }
        if (typed.empty()) continue;
        SCOPED_TRACE(std::string(CaptionOf(box.page)) + ": " +
                     FindControl(box.page, box.field.control)->label + " = " + typed);
        s.control.SetClientSite(opened.node->Site());
        bool written = false;
        s.Open([&](HeadlessPlatform& ui) {
            if (!ui.SelectTab(box.page) || !ui.Type(box.page, box.field.control, typed)) return;
            if (box.def->passwordBox != 0) ui.Type(box.page, box.def->passwordBox, "Tarvel");
            written = ui.Click(box.page, box.def->writeButton);
            ui.QueueMessageAnswer(MsgAnswer::Yes);  // save on closing
            ui.Close(CloseWay::Exit);
        });
        if (!written) continue;  // the box is disabled on this unit
        ++edited;
        const std::string saved = *s.ui.ReadFile(kPath);
        SettingsImage expected = image;
        std::string& block = expected[{box.block->nv, box.block->part}];
        std::copy_n(wanted, block.size(), block.begin());
        EXPECT_EQ(ImageOfPlan(PlanSettingsFile(saved)), expected);
        // Line by line: at most the box's data line differs.
        const std::vector<std::string> before = SplitLines(original);
        const std::vector<std::string> after = SplitLines(saved);
        ASSERT_EQ(before.size(), after.size());
        int differing = 0;
        for (size_t i = 0; i < before.size(); ++i) differing += before[i] != after[i] ? 1 : 0;
        EXPECT_LE(differing, 1);
        EXPECT_EQ(opened.node->RefCount(), 0);
    }
    EXPECT_GE(edited, 15) << "too few rounds reached a box";
}

}  // namespace
}  // namespace qta1

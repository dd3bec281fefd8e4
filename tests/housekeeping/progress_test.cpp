// How far the long operations of Import / Export have got, as the sheet is
// told while the node makes it wait: every part of the configuration, in
// order, and the end.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>

#include "resources/strings.h"
#include "sim_session.h"
#include "support/page_checks.h"

namespace qta1 {
namespace {

constexpr const char* kFile = "C:\\settings.txt";

std::string GoldenFactoryFile() {
    std::ifstream in(QTA1_SOURCE_DIR "/tests/housekeeping/golden/factory.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Operation {
    const char* name;
    int button;
    bool question;  // asks Yes / No first (overwrite the file, download it)
    bool password;
    bool review;  // backup, preview and verification chosen
    std::vector<std::string> passes;
};

void PrintTo(const Operation& op, std::ostream* out) { *out << op.name; }

class ImportExportProgress : public ::testing::TestWithParam<Operation> {};

// Every pass counts the twelve parts in order (a part may be reported more
// than once, one per line sent, never out of order), the passes come in
// their order, and the display ends with the operation.
TEST_P(ImportExportProgress, CountsTheTwelvePartsOfEachPassInOrderThenEnds) {
    const Operation& op = GetParam();
    SimSession s;
    s.node.SetAnimated(false);
    s.ui.SeedFile(kFile, GoldenFactoryFile());
    s.node.SetPart(8, NvValue{8, 0x11, 0x11});  // something for the preview to write
    size_t before = 0;
    testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
        if (!op.review) {
            ui.Click(PageId::ImportExport, IDC_IMPEXP_BACKUP_PREVIEW);
            ui.Click(PageId::ImportExport, IDC_IMPEXP_VERIFY);
        }
        if (op.password)
            ui.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
        if (op.button != IDC_IMPEXP_FACTORY) ui.QueueFileAnswer(kFile);
        if (op.question) ui.QueueMessageAnswer(MsgAnswer::Yes);
        if (op.review) ui.QueueMessageAnswer(MsgAnswer::Yes);  // "Write these N changes?"
        before = ui.ProgressShown().size();
        ui.Click(PageId::ImportExport, op.button);
    });
    const auto& shown = s.ui.ProgressShown();
    ASSERT_GT(shown.size(), before) << op.name;
    std::vector<std::string> passes;
    int expected = 0;
    for (size_t i = before; i + 1 < shown.size(); ++i) {
        const auto& report = shown[i];
        EXPECT_EQ(report.page, PageId::ImportExport) << op.name;
        EXPECT_EQ(report.total, 12) << op.name;
        if (passes.empty() || passes.back() != report.pass) {
            if (!passes.empty()) {
                EXPECT_EQ(expected, 12) << op.name << ": " << passes.back();
            }
            passes.push_back(report.pass);
            expected = 1;
        }
        if (report.step == expected + 1) ++expected;
        EXPECT_EQ(report.step, expected) << op.name << " report " << i - before;
    }
    EXPECT_EQ(expected, 12) << op.name << ": every part reported";
    EXPECT_EQ(passes, op.passes) << op.name;
    EXPECT_EQ(shown.back().total, 0) << op.name << ": the display ends with the operation";
}

const std::vector<std::string> kReviewed = {"Backup: part", "Part", "Verifying part"};

INSTANTIATE_TEST_SUITE_P(
    Operations, ImportExportProgress,
    ::testing::Values(
        Operation{"Save to file", IDC_IMPEXP_SAVE, true, false, false, {"Part"}},
        Operation{"Read from file", IDC_IMPEXP_READ, true, true, false, {"Part"}},
        Operation{"Default settings", IDC_IMPEXP_FACTORY, false, true, false, {"Part"}},
        Operation{"Read from file, reviewed", IDC_IMPEXP_READ, true, true, true, kReviewed},
        Operation{"Default settings, reviewed", IDC_IMPEXP_FACTORY, false, true, true, kReviewed}),
    [](const ::testing::TestParamInfo<Operation>& info) {
        std::string name = info.param.button == IDC_IMPEXP_SAVE   ? "Save"
                           : info.param.button == IDC_IMPEXP_READ ? "Download"
                                                                  : "Factory";
        return name + (info.param.review ? "Reviewed" : "");
    });

}  // namespace
}  // namespace qta1

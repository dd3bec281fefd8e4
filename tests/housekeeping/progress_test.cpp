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
    // Each pass and the parts it counts, in order.
    std::vector<std::pair<std::string, std::vector<int>>> passes;
};

void PrintTo(const Operation& op, std::ostream* out) { *out << op.name; }

class ImportExportProgress : public ::testing::TestWithParam<Operation> {};

// Every pass counts its parts in order (a part may be reported more than
// once, one per line sent, never out of order): all twelve, but for the
// writes and the verification of a reviewed operation, which touch only the
// part the node does not hold yet. The passes come in their order, and the
// display ends with the operation.
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
    std::vector<std::pair<std::string, std::vector<int>>> passes;
    for (size_t i = before; i + 1 < shown.size(); ++i) {
        const auto& report = shown[i];
        EXPECT_EQ(report.page, PageId::ImportExport) << op.name;
        EXPECT_EQ(report.total, 12) << op.name;
        if (passes.empty() || passes.back().first != report.pass)
            passes.push_back({report.pass, {}});
        std::vector<int>& steps = passes.back().second;
        if (steps.empty() || steps.back() != report.step) steps.push_back(report.step);
    }
    EXPECT_EQ(passes, op.passes) << op.name;
    EXPECT_EQ(shown.back().total, 0) << op.name << ": the display ends with the operation";
}

const std::vector<int> kAllParts = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const std::vector<std::pair<std::string, std::vector<int>>> kWhole = {{"Part", kAllParts}};
const std::vector<std::pair<std::string, std::vector<int>>> kReviewed = {
    {"Backup: part", kAllParts}, {"Part", {8}}, {"Verifying part", {8}}};

INSTANTIATE_TEST_SUITE_P(
    Operations, ImportExportProgress,
    ::testing::Values(
        Operation{"Save to file", IDC_IMPEXP_SAVE, true, false, false, kWhole},
        Operation{"Read from file", IDC_IMPEXP_READ, true, true, false, kWhole},
        Operation{"Default settings", IDC_IMPEXP_FACTORY, false, true, false, kWhole},
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

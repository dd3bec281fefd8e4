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
};

void PrintTo(const Operation& op, std::ostream* out) { *out << op.name; }

class ImportExportProgress : public ::testing::TestWithParam<Operation> {};

TEST_P(ImportExportProgress, CountsTheTwelvePartsInOrderThenEnds) {
    const Operation& op = GetParam();
    SimSession s;
    s.node.SetAnimated(false);
    s.ui.SeedFile(kFile, GoldenFactoryFile());
    size_t before = 0;
    testing::OnPage(s, PageId::ImportExport, [&](HeadlessPlatform& ui) {
        if (op.password)
            ui.Type(PageId::ImportExport, IDC_IMPEXP_PASSWORD, text::kTechnicianPassword);
        if (op.button != IDC_IMPEXP_FACTORY) ui.QueueFileAnswer(kFile);
        if (op.question) ui.QueueMessageAnswer(MsgAnswer::Yes);
        before = ui.ProgressShown().size();
        ui.Click(PageId::ImportExport, op.button);
    });
    const auto& shown = s.ui.ProgressShown();
    ASSERT_GT(shown.size(), before) << op.name;
    int expected = 1;
    for (size_t i = before; i + 1 < shown.size(); ++i) {
        const auto& report = shown[i];
        EXPECT_EQ(report.page, PageId::ImportExport) << op.name;
        EXPECT_EQ(report.pass, "Part") << op.name;
        EXPECT_EQ(report.total, 12) << op.name;
        // A part may be reported more than once (one per line sent), never
        // out of order.
        if (report.step == expected + 1) ++expected;
        EXPECT_EQ(report.step, expected) << op.name << " report " << i - before;
    }
    EXPECT_EQ(expected, 12) << op.name << ": every part reported";
    EXPECT_EQ(shown.back().total, 0) << op.name << ": the display ends with the operation";
}

INSTANTIATE_TEST_SUITE_P(Operations, ImportExportProgress,
                         ::testing::Values(Operation{"Save to file", IDC_IMPEXP_SAVE, true, false},
                                           Operation{"Read from file", IDC_IMPEXP_READ, true, true},
                                           Operation{"Default settings", IDC_IMPEXP_FACTORY, false,
                                                     true}),
                         [](const ::testing::TestParamInfo<Operation>& info) {
                             return std::string(info.param.button == IDC_IMPEXP_SAVE   ? "Save"
                                                : info.param.button == IDC_IMPEXP_READ ? "Download"
                                                                                       : "Factory");
                         });

}  // namespace
}  // namespace qta1

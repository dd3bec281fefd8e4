#include "frame/codec.h"
#include "frame/page.h"
#include "housekeeping/settings_file.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace qta1 {

// For four unit functions (the columns "Ind", "Ud", "Genv", "Varme") the
// HVAC modes in which each may run, as bit sets in part 10. The page also
// gives part 10 its factory value when it finds it uninitialised.
class CPage27PropPage final : public CPropPage {
public:
    explicit CPage27PropPage(CSheet& sheet);

    void OnPageShown() override;
    void OnPageHidden() override;

private:
    void InitialiseModeSets();
};

namespace {

// SNVT_hvac_mode numbers of the rows.
enum HvacMode : int {
    kHvacAuto = 0,
    kHvacHeat = 1,
    kHvacMorningWarmup = 2,
    kHvacCool = 3,
    kHvacNightPurge = 4,
    kHvacPreCool = 5,
    kHvacFanOnly = 9,
    kHvacFreeCool = 10,
};
enum Column : int { kInd = 0, kUd = 1, kGenv = 2, kVarme = 3 };

// Column c is word c of part 10; mode m is its bit 0x8000 >> m, as stored.
constexpr Field ModeBox(int row, int column, int mode) {
    return BitField(IDC_HVAC_BOX(row, column), 2 * column + 1 + mode / 8, mode % 8);
}

// The 13 boxes the unit offers; the other 15 stay disabled and never touch a bit.
// clang-format off
constexpr Field kModeFields[] = {
    ModeBox(0, kGenv,  kHvacHeat),
    ModeBox(1, kUd,    kHvacMorningWarmup),
    ModeBox(1, kGenv,  kHvacMorningWarmup),
    ModeBox(1, kVarme, kHvacMorningWarmup),
    ModeBox(2, kGenv,  kHvacCool),
    ModeBox(3, kUd,    kHvacNightPurge),
    ModeBox(3, kGenv,  kHvacNightPurge),
    ModeBox(3, kVarme, kHvacNightPurge),
    ModeBox(4, kUd,    kHvacPreCool),
    ModeBox(5, kInd,   kHvacFanOnly),
    ModeBox(5, kUd,    kHvacFanOnly),
    ModeBox(6, kUd,    kHvacFreeCool),
    ModeBox(6, kGenv,  kHvacFreeCool),
};
// clang-format on

constexpr Block kHvacBlocks[] = {
    {.nv = kConfigNv, .part = kModeSetsPart, .bitReversed = false, .fields = kModeFields},
};

constexpr PageDef kHvacPage = {
    .blocks = kHvacBlocks,
    .readButton = IDC_HVAC_READ,
    .writeButton = IDC_HVAC_WRITE,
    .passwordBox = IDC_HVAC_PASSWORD,
};

// HVAC_AUTO of the "Ind" word marks part 10 as initialised.
constexpr int kInitialisedByte = 1;
constexpr int kInitialisedBit = kHvacAuto;

}  // namespace

CPage27PropPage::CPage27PropPage(CSheet& sheet) : CPropPage(PageId::ConfigHvac, sheet, kHvacPage) {}

std::unique_ptr<CPropPage> MakeConfigHvacPage(CSheet& sheet) {
    return std::make_unique<CPage27PropPage>(sheet);
}

void CPage27PropPage::OnPageShown() {
    InitialiseModeSets();
    ReadPage();
}

void CPage27PropPage::OnPageHidden() { InitialiseModeSets(); }

// A node that has never had its mode sets gets the factory ones. When the
// part cannot be selected or read, nothing is written: the node might be
// showing another part.
void CPage27PropPage::InitialiseModeSets() {
    BeginWriteReport(text::kFactoryModeSets);
    uint8_t buffer[kNvBufferSize] = {};
    const NodeLink::PartRead read = node().SelectAndRead(kModeSetsPart, buffer, kNvValueSize);
    if (read == NodeLink::PartRead::OtherPart) {
        NoteWriteProblem(text::kFactoryModeSets, NotSelectedText(kModeSetsPart));
    } else if (read == NodeLink::PartRead::Failed) {
        NoteWriteProblem(text::kFactoryModeSets, text::kNotReadBeforeWrite);
    } else if (TestBit(buffer[kInitialisedByte], kInitialisedBit) == 0) {
        const std::optional<std::string> factory = FactoryBytes(kConfigNv, kModeSetsPart);
        if (factory && node().WriteNv(kConfigNv, reinterpret_cast<const uint8_t*>(factory->data()),
                                      kNvValueSize) != kHostOk) {
            NoteWriteProblem(text::kFactoryModeSets, text::kWriteRefused);
        } else if (factory) {
            // No page shows these bytes: the log names the part.
            NoteChange(text::kFactoryModeSets + std::string(", ") +
                           SettingsNvName(kConfigNv, kModeSetsPart),
                       text::kModeSetsNotSet, text::kModeSetsWritten);
        }
    }
    FinishWriteReport();
}

}  // namespace qta1

#include "support/page_checks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace qta1::testing {

void OnPage(SimSession& s, PageId page, const std::function<void(HeadlessPlatform&)>& act) {
    s.node.SetAnimated(false);
    s.Open([&](HeadlessPlatform& ui) {
        ui.Idle(100);
        ASSERT_TRUE(ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN));
        ASSERT_TRUE(ui.SelectTab(page));
        s.trace.Clear();
        act(ui);
    });
}

NodeImage Snapshot(const SimulatedNode& node, std::span<const int> nvs) {
    NodeImage image;
    for (int nv : nvs) image[{nv, 0}] = node.Nv(nv);
    for (int part = 1; part <= 12; ++part) image[{kConfigNv, part}] = node.Part(part);
    return image;
}

std::vector<Bits> Word(Place where, int offset, uint8_t high, uint8_t low) {
    return {{where, offset, 0xFF, high}, {where, offset + 1, 0xFF, low}};
}

namespace {

NvValue RandomValue(std::mt19937& random) {
    NvValue value;
    for (uint8_t& b : value) b = static_cast<uint8_t>(random());
    return value;
}

void Write(HeadlessPlatform& ui, const PageUnderTest& page) {
    if (page.passwordBox != 0) ui.Type(page.page, page.passwordBox, "Tarvel");
    ui.Click(page.page, page.writeButton);
}

}  // namespace

void CheckEditsChangeOnlyTheirBits(const PageUnderTest& page, std::span<const Edit> edits,
                                   int rounds) {
    std::mt19937 random(20261207);
    for (int round = 0; round < rounds; ++round) {
        for (const Edit& edit : edits) {
            SCOPED_TRACE(std::string(edit.name) + ", round " + std::to_string(round));
            SimSession s;
            s.node.SetAnimated(false);
            for (int part = 1; part <= 12; ++part) {
                NvValue value = RandomValue(random);
                value[0] = static_cast<uint8_t>(part);
                s.node.SetPart(part, value);
            }
            for (int nv : page.randomNvs) s.node.SetNv(nv, RandomValue(random));
            s.node.SetConfiguredWord(2);
            page.prepare(s.node);
            const NodeImage initial = Snapshot(s.node, page.randomNvs);
            NodeImage before;
            NodeImage after;
            bool enabled = false;
            s.Open([&](HeadlessPlatform& ui) {
                ui.Idle(100);
                ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
                ui.SelectTab(page.page);
                Write(ui, page);
                // A Write of what the page shows changes no byte of the node.
                if (!page.unchangedWriteMayNormalise) {
                    EXPECT_TRUE(Snapshot(s.node, page.randomNvs) == initial)
                        << "an unchanged Write changed the node";
                }
                Write(ui, page);
                before = Snapshot(s.node, page.randomNvs);
                enabled = ui.State(page.page, edit.control)->enabled;
                EXPECT_TRUE(enabled || page.editsMayBeDisabled) << "the control takes no input";
                if (edit.typed != nullptr) {
                    ui.Type(page.page, edit.control, edit.typed);
                } else {
                    ui.Click(page.page, edit.control);
                }
                Write(ui, page);
                after = Snapshot(s.node, page.randomNvs);
            });
            for (auto& [where, value] : after) {
                for (int byte = 0; byte < kNvValueSize; ++byte) {
                    uint8_t owned = 0;
                    for (const Bits& b : edit.bits) {
                        if (b.where != where || b.byte != byte || !enabled) continue;
                        owned |= b.mask;
                        const int was = before[where][byte] & b.mask;
                        const int expected = b.value == kToggled ? was ^ b.mask : b.value;
                        if (b.value != kAllowed) {
                            EXPECT_EQ(value[byte] & b.mask, expected) << "byte " << byte;
                        }
                    }
                    EXPECT_EQ(value[byte] & ~owned, before[where][byte] & ~owned)
                        << "NV " << where.nv << " part " << where.part << " byte " << byte;
                }
            }
        }
    }
}

}  // namespace qta1::testing

#pragma once

#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

// The first tab: the node's name and the switch between the user and the
// technician page sets. A configured node is switched to the user set 100 ms
// after the page is created.
class CPage12PropPage final : public CPropPage {
public:
    explicit CPage12PropPage(CSheet& sheet);

    void OnInitDialog() override;
    void OnTimer(int timerId) override;
    void OnPageShown() override {}

protected:
    void OnControlClicked(int controlId) override;

private:
    void ShowUserSet();
    void ShowTechnicianSet();
};

// The name as the host returned it: up to the first zero byte, and never
// beyond the buffer when there is none.
std::string NodeNameText(const uint8_t* buffer, int length);

inline constexpr int kNodeNameReadLength = 50;
inline constexpr int kSwitchDelayMs = 100;

}  // namespace qta1

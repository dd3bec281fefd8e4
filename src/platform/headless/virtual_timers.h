// Page timers on the virtual clock: what the headless platform runs and what
// the Windows sheet runs in scripted mode, so that both fire the same timers
// at the same virtual times. Header-only, so that every build that has the
// clock has the timers too.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/headless/virtual_clock.h"
#include "resources/layout.h"

namespace qta1 {

class VirtualTimers {
public:
    explicit VirtualTimers(VirtualClock& clock) : clock_(clock) {}

    // A repeating timer of a page window; setting an existing identifier
    // restarts it with the new period.
    void Set(PageId page, int timerId, int periodMs) {
        Kill(page, timerId);
        timers_.push_back({page, timerId, periodMs, clock_.NowMs() + periodMs, order_++});
    }
    void Kill(PageId page, int timerId) {
        std::erase_if(timers_, [&](const Timer& t) { return t.page == page && t.id == timerId; });
    }
    // The page's window went away, and its timers with it.
    void KillPage(PageId page) {
        std::erase_if(timers_, [page](const Timer& t) { return t.page == page; });
    }
    void Clear() { timers_.clear(); }

    // Lets `ms` of virtual time pass with the message loop idle. Due timers
    // fire in order of due time (ties in the order they were set) through
    // `fire(page, timerId)`, which may set and kill timers. A timer that fell
    // due during a blocking sleep fires once, late, and is then due a full
    // period later.
    template <typename Fire>
    void Idle(int64_t ms, Fire&& fire) {
        const int64_t end = clock_.NowMs() + ms;
        while (true) {
            auto next = std::min_element(
                timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
                    return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order;
                });
            if (next == timers_.end() || next->dueMs > end) break;
            if (next->dueMs > clock_.NowMs()) clock_.Advance(next->dueMs - clock_.NowMs());
            next->dueMs = clock_.NowMs() + next->periodMs;
            next->order = order_++;
            const PageId page = next->page;
            const int id = next->id;
            fire(page, id);
        }
        if (end > clock_.NowMs()) clock_.Advance(end - clock_.NowMs());
    }

private:
    struct Timer {
        PageId page;
        int id;
        int periodMs;
        int64_t dueMs;
        uint64_t order;
    };

    VirtualClock& clock_;
    std::vector<Timer> timers_;
    uint64_t order_ = 0;
};

}  // namespace qta1

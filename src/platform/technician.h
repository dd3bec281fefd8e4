// What a technician, or a script acting as one, can do with the open sheet
// and see on it. The headless platform offers this directly; the Windows
// substitute host offers it over the real sheet's windows, so one scenario
// runs against both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/platform.h"
#include "resources/layout.h"

namespace qta1 {

class TrendModel;

enum class CloseWay { Exit, Enter, Escape, CloseBox };

struct ControlState {
    const ControlDecl* decl = nullptr;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

class Technician {
public:
    virtual ~Technician() = default;

    // Each returns false (and traces why) when a technician could not do it:
    // a tab that is not in the sheet, a control not on the active page, a
    // disabled control, typing into a box that takes no typing.
    virtual bool SelectTab(PageId page) = 0;
    virtual bool Click(PageId page, int control) = 0;
    virtual bool Type(PageId page, int control, std::string_view text) = 0;
    // Lets time pass with the sheet idle: due timers fire.
    virtual void Idle(int64_t ms) = 0;
    // Closes the sheet as the technician would: "Exit", Enter in the box
    // that has the focus, Esc, or the window's close box. The sheet may ask
    // first (typed values not written); true when it closes, which it does
    // once the current script step returns.
    virtual bool Close(CloseWay way) = 0;

    // Answers for the next Yes / No message boxes and file dialogs, in order.
    virtual void QueueMessageAnswer(MsgAnswer answer) = 0;
    virtual void QueueFileAnswer(std::optional<std::string> path) = 0;
    virtual size_t PendingAnswers() const = 0;

    // The sheet's trend window, where the platform shows one: the time
    // window, Pause / Resume, a series' check box, the close box and "Save
    // data...". Each returns false, doing nothing, when no trend window is
    // open.
    virtual bool TrendWindow(int /*minutes*/) { return false; }
    virtual bool TrendPause(bool /*paused*/) { return false; }
    virtual bool TrendSeries(size_t /*series*/, bool /*shown*/) { return false; }
    virtual bool TrendClose() { return false; }
    // "Save data...": the CSV through the save dialog (answered from the queue).
    virtual bool TrendSaveData() { return false; }
    // What the open trend window shows; nullptr when none is open.
    virtual const TrendModel* TrendShown() const { return nullptr; }

    virtual std::vector<PageId> Tabs() const = 0;
    virtual std::optional<PageId> ActivePage() const = 0;
    virtual std::optional<ControlState> State(PageId page, int control) const = 0;
    virtual std::string SheetCaption() const = 0;
    virtual std::string OkCaption() const = 0;
    virtual bool ApplyAndCancelHidden() const = 0;
};

}  // namespace qta1

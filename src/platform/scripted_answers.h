// The answers a script gives ahead of time for the message boxes and file
// dialogs the plug-in will show, as a technician following the script would
// give them. The headless platform and the substitute host's real sheet take
// them from here alike.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "frame/platform.h"

namespace qta1 {

class ScriptedAnswers {
public:
    void QueueMessageAnswer(MsgAnswer answer) { messages_.push_back(answer); }
    void QueueFileAnswer(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    size_t Pending() const { return messages_.size() + files_.size(); }

    struct BoxAnswer {
        MsgAnswer answer = MsgAnswer::Ok;
        // A Yes / No box with nothing queued for it: it gets No.
        bool unanswered = false;
    };
    // A Yes / No box takes the next queued answer; a box with only OK takes
    // none and is answered OK.
    BoxAnswer NextBoxAnswer(MsgButtons buttons);
    // A file dialog takes the next queued path; with none queued, or a
    // queued cancel, it is cancelled.
    std::optional<std::string> NextFileAnswer();

private:
    std::deque<MsgAnswer> messages_;
    std::deque<std::optional<std::string>> files_;
};

}  // namespace qta1

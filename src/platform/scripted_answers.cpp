#include "platform/scripted_answers.h"

namespace qta1 {

ScriptedAnswers::BoxAnswer ScriptedAnswers::NextBoxAnswer(MsgButtons buttons) {
    BoxAnswer box;
    if (buttons == MsgButtons::Ok) return box;
    box.answer = buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::No;
    if (messages_.empty()) {
        box.unanswered = true;
        return box;
    }
    box.answer = messages_.front();
    messages_.pop_front();
    return box;
}

std::optional<std::string> ScriptedAnswers::NextFileAnswer() {
    if (files_.empty()) return std::nullopt;
    std::optional<std::string> path = std::move(files_.front());
    files_.pop_front();
    return path;
}

}  // namespace qta1

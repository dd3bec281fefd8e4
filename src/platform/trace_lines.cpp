#include "platform/trace_lines.h"

#include "platform/headless/trace.h"
#include "resources/strings.h"

namespace qta1::trace_line {

namespace {

const char* IconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return "none";
        case MsgIcon::Exclamation:
            return "exclamation";
        case MsgIcon::Question:
            return "question";
        case MsgIcon::Information:
            return "information";
        case MsgIcon::Stop:
            return "stop";
    }
    return "none";
}

const char* AnswerName(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return "OK";
        case MsgAnswer::Yes:
            return "Yes";
        case MsgAnswer::No:
            return "No";
        case MsgAnswer::Cancel:
            return "Cancel";
    }
    return "OK";
}

std::string Note(std::string_view note) {
    return note.empty() ? std::string() : " (" + std::string(note) + ")";
}

}  // namespace

std::string SheetOpens(std::string_view caption) {
    return "sheet " + QuoteText(caption) + " opens";
}
std::string SheetCloses() { return "sheet closes"; }

std::string Caption(const ControlDecl& button, std::string_view text) {
    return "caption " + QuoteText(button.label) + " = " + QuoteText(text);
}

std::string Sleep(int ms) { return "sleep " + std::to_string(ms); }

std::string Timer(PageId page, int timerId) {
    return "timer " + QuoteText(CaptionOf(page)) + " " + std::to_string(timerId);
}

std::string MessageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                       MsgIcon icon, MsgAnswer answer, bool unanswered) {
    return "msgbox " + QuoteText(text) + " title " +
           QuoteText(title.empty() ? text::kDefaultTitle : title) +
           (buttons == MsgButtons::YesNo            ? " YesNo "
            : buttons == MsgButtons::YesNoDefaultNo ? " YesNo default-No "
            : buttons == MsgButtons::YesNoCancel    ? " YesNoCancel "
                                                    : " OK ") +
           IconName(icon) + " -> " +
           AnswerName(answer) + (unanswered ? " (unanswered)" : "");
}

std::string FileDialog(bool save, const FileDialogRequest& request,
                       const std::optional<std::string>& answer) {
    return std::string(save ? "save-dialog" : "open-dialog") + " name " +
           QuoteText(request.proposedName) + " ext " + QuoteText(request.defaultExtension) +
           " filter " + QuoteText(request.filter) +
           (request.initialFolder.empty() ? "" : " in " + QuoteText(request.initialFolder)) +
           " -> " + (answer ? QuoteText(*answer) : "cancel");
}

std::vector<std::string> ReviewList(const qta1::ReviewList& list, ReviewButtons buttons,
                                    MsgAnswer answer, bool unanswered) {
    const bool save = buttons == ReviewButtons::SaveClose;
    const char* chosen = save ? (answer == MsgAnswer::Yes ? "Save" : "Close") : AnswerName(answer);
    std::vector<std::string> lines{"review " + QuoteText(list.title) + " " +
                                   QuoteText(list.heading) + (save ? " SaveClose" : " YesNo") +
                                   " -> " + chosen + (unanswered ? " (unanswered)" : "")};
    auto row = [&](const std::vector<std::string>& texts) {
        std::string line = "  |";
        for (const std::string& text : texts) line += " " + QuoteText(text);
        lines.push_back(line);
    };
    row(list.columns);
    for (const std::vector<std::string>& texts : list.rows) row(texts);
    return lines;
}

std::string ControlName(const ControlDecl& control) {
    std::string name = QuoteText(control.label);
    if (control.row[0] != '\0') {
        name += " in " + QuoteText(control.row);
    } else if (control.group[0] != '\0') {
        name += " in " + QuoteText(control.group);
    }
    return name;
}

std::string TrendOpens() { return "trend opens"; }
std::string TrendToFront() { return "trend to the front"; }
std::string TrendCloses() { return "trend closes"; }

std::string TrendUpdate(const TrendModel& model) {
    const TrendModel::Window window = model.Visible();
    const size_t shown = window.end - window.first;
    std::string line = "trend update: " + std::to_string(shown) +
                       (shown == 1 ? " sample in " : " samples in ") +
                       std::to_string(model.windowMinutes()) + " min";
    for (const TrendAxis axis : {TrendAxis::Temperature, TrendAxis::Percent}) {
        const TrendScale scale = model.Scale(axis);
        line +=
            std::string(", ") + (axis == TrendAxis::Temperature ? "temperatures " : "outputs ") +
            TrendScaleText(scale.min, scale.step) + " to " + TrendScaleText(scale.max, scale.step) +
            " step " + TrendScaleText(scale.step, scale.step);
    }
    return model.paused() ? line + ", paused" : line;
}

std::string Tab(PageId page, std::string_view note) {
    return "> tab " + QuoteText(CaptionOf(page)) + Note(note);
}

std::string Click(const ControlDecl* control, std::string_view note) {
    if (control == nullptr) return "> click on a control that is not on the active page";
    return "> click " + ControlName(*control) + Note(note);
}

std::string Type(const ControlDecl* control, std::string_view text, std::string_view note) {
    if (control == nullptr) return "> type into a control that is not on the active page";
    return "> type " + QuoteText(text) + " into " + ControlName(*control) + Note(note);
}

std::string CloseKey(CloseWay way) {
    switch (way) {
        case CloseWay::Enter:
            return "> press Enter";
        case CloseWay::Escape:
            return "> press Esc";
        case CloseWay::CloseBox:
            return "> close box";
        case CloseWay::Exit:
            break;
    }
    return "> exit";
}

std::string TrendAction(std::string_view what) { return "> trend " + std::string(what); }

}  // namespace qta1::trace_line

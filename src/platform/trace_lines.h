// The words of a trace: one function per kind of line, shared by the
// headless platform and the Win32 platform so that one scenario gives the
// same trace on both.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/platform.h"
#include "frame/trend.h"
#include "platform/technician.h"
#include "resources/layout.h"

namespace qta1::trace_line {

std::string SheetOpens(std::string_view caption);
std::string SheetCloses();
std::string Caption(const ControlDecl& button, std::string_view text);
std::string Sleep(int ms);
std::string Timer(PageId page, int timerId);
// An empty title is shown as the plug-in's default title.
std::string MessageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                       MsgIcon icon, MsgAnswer answer, bool unanswered);
std::string FileDialog(bool save, const FileDialogRequest& request,
                       const std::optional<std::string>& answer);
// A review list: one line for the window, then one per row (the column
// heads first), each text quoted.
std::vector<std::string> ReviewList(const qta1::ReviewList& list, ReviewButtons buttons,
                                    MsgAnswer answer, bool unanswered);

// The trend window: opened, brought to the front, drawn again (what it
// shows: the samples in its window and each axis), closed.
std::string TrendOpens();
std::string TrendToFront();
std::string TrendUpdate(const TrendModel& model);
std::string TrendCloses();

// The technician's actions; `note` says why nothing happened, if so.
std::string Tab(PageId page, std::string_view note = {});
std::string Click(const ControlDecl* control, std::string_view note = {});
std::string Type(const ControlDecl* control, std::string_view text, std::string_view note = {});
// "> press Enter", "> press Esc", "> close box": closing other than by "Exit".
std::string CloseKey(CloseWay way);
// "> trend window 10", "> trend pause", "> trend series Mv1 off", "> trend close".
std::string TrendAction(std::string_view what);

// "\"P\" in \"Heat (Mv1)\"": a control by its label and its row or group.
std::string ControlName(const ControlDecl& control);

}  // namespace qta1::trace_line

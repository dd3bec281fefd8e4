// Layouts of Node Information, Set Time and Import / Export.
#include "resources/layout.h"
#include "resources/page_layouts.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

using K = ControlKind;

// clang-format off
// Node Information: the node's name and the page-set switch.
constexpr ControlDecl kNodeInformation[] = {
//   id                       kind            label          group       row  flags     x    y    w    h
    {IDC_STATIC,              K::GroupBox,     "Nodename",   "",         "", kNoFlags, 10,  10, 280,  36},
    {IDC_NODEINFO_NAME,       K::ReadOnlyEdit, "Nodename",   "Nodename", "", kNoFlags, 20,  24, 260,  14},
    {IDC_NODEINFO_USER,       K::PushButton,   "User",       "",         "", kNoFlags, 20,  60,  80,  16},
    {IDC_NODEINFO_TECHNICIAN, K::PushButton,   "Technician", "",         "", kNoFlags, 110, 60,  80,  16},
    {IDC_NODEINFO_VERSION,    K::Static,       text::kVersionLine, "",   "", kNoFlags, 20,  90, 260,  10},
};

// Set Time: the PC's clock beside the node's, and the button that copies it.
constexpr ControlDecl kSetTime[] = {
//   id                     kind             label                   group                   row flags     x    y    w    h
    {IDC_STATIC,            K::GroupBox,     "Current time on PC",   "",                     "", kNoFlags, 10,  10, 135,  60},
    {IDC_STATIC,            K::Static,       "Date",                 "Current time on PC",   "", kNoFlags, 20,  28,  28,  10},
    {IDC_SETTIME_PC_DATE,   K::ReadOnlyEdit, "Date",                 "Current time on PC",   "", kNoFlags, 50,  26,  85,  14},
    {IDC_STATIC,            K::Static,       "Time",                 "Current time on PC",   "", kNoFlags, 20,  48,  28,  10},
    {IDC_SETTIME_PC_TIME,   K::ReadOnlyEdit, "Time",                 "Current time on PC",   "", kNoFlags, 50,  46,  85,  14},
    {IDC_STATIC,            K::GroupBox,     "Current time in Node", "",                     "", kNoFlags, 155, 10, 135,  60},
    {IDC_STATIC,            K::Static,       "Date",                 "Current time in Node", "", kNoFlags, 165, 28,  28,  10},
    {IDC_SETTIME_NODE_DATE, K::ReadOnlyEdit, "Date",                 "Current time in Node", "", kNoFlags, 195, 26,  85,  14},
    {IDC_STATIC,            K::Static,       "Time",                 "Current time in Node", "", kNoFlags, 165, 48,  28,  10},
    {IDC_SETTIME_NODE_TIME, K::ReadOnlyEdit, "Time",                 "Current time in Node", "", kNoFlags, 195, 46,  85,  14},
    {IDC_SETTIME_SYNC,      K::PushButton,   "Sync",                 "",                     "", kNoFlags, 125, 85,  50,  16},
};

// Import / Export: settings files and the factory settings.
constexpr ControlDecl kImportExport[] = {
//   id                          kind             label                        group               row flags                         x    y    w    h
    {IDC_STATIC,                 K::Static,       "Nodename :",                "",                 "", kNoFlags,                     10,  12,  60,  10},
    {IDC_IMPEXP_NODENAME,        K::ReadOnlyEdit, "Nodename :",                "",                 "", kNoFlags,                     75,  10, 150,  14},
    {IDC_STATIC,                 K::GroupBox,     "Factory settings",          "",                 "", kNoFlags,                     10,  28, 280, 138},
    {IDC_STATIC,                 K::Static,       "Filename",                  "Factory settings", "", kNoFlags,                     20,  44,  50,  10},
    {IDC_IMPEXP_FILENAME,        K::Edit,         "Filename",                  "Factory settings", "", kNoFlags,                     75,  42, 150,  14},
    {IDC_IMPEXP_DEFAULT,         K::PushButton,   "Default",                   "Factory settings", "", kNoFlags,                     232, 41,  50,  16},
    {IDC_IMPEXP_SAVE,            K::PushButton,   "Save to file",              "Factory settings", "", kInitiallyOff,                20,  62,  80,  16},
    {IDC_IMPEXP_READ,            K::PushButton,   "Read from file",            "Factory settings", "", kNoFlags,                     110, 62,  80,  16},
    {IDC_IMPEXP_FACTORY,         K::PushButton,   "Default settings",          "Factory settings", "", kNoFlags,                     200, 62,  80,  16},
    // Review: a file compared with the node or the factory settings, and the
    // node's backups.
    {IDC_IMPEXP_COMPARE,         K::PushButton,   "Compare...",                "Factory settings", "", kNoFlags,                     20,  82,  80,  16},
    {IDC_IMPEXP_COMPARE_NODE,    K::RadioButton,  "with the node",             "Factory settings", "", kStartsGroup,                 110, 85,  80,  10},
    {IDC_IMPEXP_COMPARE_FACTORY, K::RadioButton,  "with factory settings",     "Factory settings", "", kNoFlags,                     195, 85,  90,  10},
    {IDC_IMPEXP_BACKUPS,         K::PushButton,   "Backups...",                "Factory settings", "", kNoFlags,                     20,  102, 80,  16},
    {IDC_STATIC,                 K::Static,       "Password",                  "Factory settings", "", kNoFlags,                     110, 105, 38,  10},
    {IDC_IMPEXP_PASSWORD,        K::PasswordEdit, "Password",                  "Factory settings", "", kNoFlags,                     150, 103, 100, 14},
    {IDC_IMPEXP_BACKUP_PREVIEW,  K::CheckBox,     "Back up and preview first", "Factory settings", "", kStartsGroup,                 20,  122, 130, 10},
    {IDC_IMPEXP_VERIFY,          K::CheckBox,     "Verify after writing",      "Factory settings", "", kNoFlags,                     155, 122, 125, 10},
    {IDC_STATIC,                 K::Static,       "Please note: After setting the software values to factory settings, you must RESTART the plugin.",
                                                                               "Factory settings", "", kNoFlags,                     20,  136, 260, 24},
    // What was changed on this node, from its change log.
    {IDC_IMPEXP_CHANGES,         K::PushButton,   "Changes...",                "",                 "", kNoFlags,                     10,  172, 80,  16},
};
// clang-format on

// Below the group: "Part n of 12" and the bar while a file is saved or
// downloaded, or the factory settings are sent.
constexpr ProgressArea kImportExportProgress{10, 280, 170, 10, 182, 12};

}  // namespace

const ProgressArea* ProgressAreaOf(PageId page) {
    return page == PageId::ImportExport ? &kImportExportProgress : nullptr;
}

std::span<const ControlDecl> NodeInformationControls() { return kNodeInformation; }
std::span<const ControlDecl> SetTimeControls() { return kSetTime; }
std::span<const ControlDecl> ImportExportControls() { return kImportExport; }

}  // namespace qta1

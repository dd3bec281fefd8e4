// Fault sweep: every page action runs once to count its host calls, then
// once per call position with that call failing, and once with every call
// failing; every action also runs once per selector write that the node
// answers with success but does not act on, and actions that read back what
// they wrote (a closing Read, or a verification) once per write of any kind
// that the node takes and ignores. Whatever fails, the plug-in must not
// crash, must not write a buffer whose read failed, must not change an NV or
// part the action does not own, must still run the closing Read where the
// cycle calls for it, must keep a backup that is what the node held (or say
// it is partial) and name only backups that exist, and whenever the node does
// not end as the fault-free run leaves it, must tell the technician in a
// message that names what went wrong: the NV, the part or a box.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <utility>

#include "app/page_registry.h"
#include "frame/sheet.h"
#include "housekeeping/settings_file.h"
#include "housekeeping/settings_review.h"
#include "resources/strings.h"
#include "sim_session.h"

namespace qta1 {
namespace {

struct Owned {
    int nv;
    int part;  // for the configuration NV
    auto operator<=>(const Owned&) const = default;
};

struct Typed {
    int control;
    const char* text;
};

struct SweepAction {
    std::string name;
    // The sheet opens with the fault armed; the action is the start-up itself.
    bool atOpen = false;
    bool technicianSet = true;              // the set shown before the action
    PageId page = PageId::NodeInformation;  // the page shown before the action
    std::vector<Typed> typed = {};          // typed before the action
    int click = 0;                          // 0: the action is showing `page`
    std::set<Owned> owns = {};
    bool closingRead = false;
    // Files and answers the action needs, set up just before it runs.
    std::function<void(SimSession&)> before = {};
    // Changes only what the page shows: no host call at all.
    bool screenOnly = false;
    // Reads back what it wrote (a reviewed download or "Default settings").
    bool verifies = false;
    // Writes back what the page read: the node ends as it was.
    bool writesWhatItRead = false;
};

// --- One line per action ---------------------------------------------------
SweepAction AtOpen(std::string name) { return {.name = std::move(name), .atOpen = true}; }
SweepAction Show(PageId page) {
    return {.name = std::string(CaptionOf(page)) + ": shown", .page = page};
}
SweepAction Press(PageId page, int control, std::vector<Typed> typed = {},
                  std::set<Owned> owns = {}, bool closingRead = false) {
    return {.name = std::string(CaptionOf(page)) + ": " + FindControl(page, control)->label,
            .page = page,
            .typed = std::move(typed),
            .click = control,
            .owns = std::move(owns),
            .closingRead = closingRead};
}

// A plain Read / Write page, from its own tables: shown, Read, and Write
// with `typed` (and the password, where the page asks for one), which may
// change what its blocks hold and, where the page has a Read, reads it again.
std::vector<SweepAction> ReadWritePage(PageId page, std::vector<Typed> typed,
                                       std::function<void(SimSession&)> before = {}) {
    static SimSession session;
    static CSheet sheet(session.ui, &session.site, PageRegistry());
    const PageDef& def = sheet.Page(page)->definition();
    std::set<Owned> owns;
    for (const Block& block : def.blocks) {
        if (!block.shownOnly) owns.insert({block.nv, block.nv == kConfigNv ? block.part : 0});
    }
    if (def.passwordBox != 0) typed.push_back({def.passwordBox, "Tarvel"});
    SweepAction write = Press(page, def.writeButton, std::move(typed), owns, def.readButton != 0);
    write.before = std::move(before);
    return {Show(page), Press(page, def.readButton), std::move(write)};
}

std::vector<SweepAction> Joined(std::initializer_list<std::vector<SweepAction>> groups) {
    std::vector<SweepAction> all;
    for (const auto& group : groups) all.insert(all.end(), group.begin(), group.end());
    return all;
}

SweepAction FromUserSet(SweepAction action) {
    action.technicianSet = false;
    return action;
}

SweepAction ScreenOnly(SweepAction action) {
    action.screenOnly = true;
    return action;
}

SweepAction With(SweepAction action, std::function<void(SimSession&)> before) {
    action.before = std::move(before);
    return action;
}

// Everything a download or the factory settings may write: what settings
// files carry.
std::set<Owned> AllSettings() {
    std::set<Owned> owned;
    for (const NvEntry* nv : SettingsFileNvs())
        if (nv->nv != kConfigNv) owned.insert({nv->nv, 0});
    for (int part = 1; part <= kConfigPartCount; ++part) owned.insert({kConfigNv, part});
    return owned;
}

// A node whose PID constants are not the factory's, so that restoring them
// shows in the node.
void ChangePid(SimSession& s) { s.node.SetPart(kPidPart, NvValue{kPidPart, 0x11, 0x11}); }

// A settings file that differs from the factory-state node in every block
// (every part keeps its number in byte 0), for downloads.
void SeedSavedFile(SimSession& s) {
    SimSession source;
    source.node.SetAnimated(false);
    for (const NvEntry* nv : SettingsFileNvs()) {
        if (nv->nv == kConfigNv) continue;
        NvValue value = source.node.Nv(nv->nv);
        value[1] = static_cast<uint8_t>(value[1] + 3);
        source.node.SetNv(nv->nv, value);
    }
    for (int part = 1; part <= kConfigPartCount; ++part) {
        NvValue value = source.node.Part(part);
        value[2] = static_cast<uint8_t>(value[2] + 1);
        source.node.SetPart(part, value);
    }
    NodeLink link(source.ui, source.ui);
    link.Obtain(&source.site);
    s.ui.SeedFile("C:\\saved.txt",
                  WriteSettingsFile(link, text::kProgramId, "Sweep", source.clock.LocalNow()).text);
    s.ui.QueueFileAnswer("C:\\saved.txt");
    s.ui.QueueMessageAnswer(MsgAnswer::Yes);
    ChangePid(s);
}

void AnswerSaveDialog(SimSession& s) { s.ui.QueueFileAnswer("C:\\out.txt"); }

// "Write these N changes?" answered Yes: the download or the factory
// settings go ahead after their backup and preview.
void PreviewAccepted(SimSession& s) { s.ui.QueueMessageAnswer(MsgAnswer::Yes); }

// Without backup, preview and verification.
void ReviewOff(SimSession& s) {
    s.ui.Click(PageId::ImportExport, IDC_IMPEXP_BACKUP_PREVIEW);
    s.ui.Click(PageId::ImportExport, IDC_IMPEXP_VERIFY);
}

// A saved file to compare, and the factory settings to compare it with.
void CompareFile(SimSession& s) {
    SeedSavedFile(s);
    s.ui.Click(PageId::ImportExport, IDC_IMPEXP_COMPARE_FACTORY);
}

// A unit with free cooling: shown again, the Freecool boxes take typing.
void FreeCoolingTyped(SimSession& s) {
    NvValue part1 = s.node.Part(kOptionPart);
    part1[20] |= 0x01;
    s.node.SetPart(kOptionPart, part1);
    s.ui.SelectTab(PageId::Pir);
    s.ui.SelectTab(PageId::Freecool);
    s.ui.Type(PageId::Freecool, IDC_FREECOOL_MIN_TEMP_INJECTION, "12.5");
    s.ui.Type(PageId::Freecool, IDC_FREECOOL_MON_START, "8:00");
    s.ui.Type(PageId::Freecool, IDC_FREECOOL_MON_STOP, "16:00");
}

// Status: an override other than the node's, so that the Write shows.
void OverrideDay(SimSession& s) { s.ui.Click(PageId::Status, IDC_STATUS_DAY); }

void FreeCoolingChecked(SimSession& s) { s.ui.Click(PageId::ConfigQta12, IDC_QTA12_FREECOOLING); }

// A node that reports the QTA3 functions (NV 3): shown again, the boxes take clicks.
void Qta3Offered(SimSession& s) {
    NvValue status = s.node.Nv(kUnitStatusNv);
    status[27] = 0xFF;
    status[28] = 0xFF;
    s.node.SetNv(kUnitStatusNv, status);
    s.ui.SelectTab(PageId::NodeInformation);
    s.ui.SelectTab(PageId::ConfigQta3);
}

void RecirculationChecked(SimSession& s) {
    Qta3Offered(s);
    s.ui.Click(PageId::ConfigQta3, IDC_QTA3_RECIRCULATION);
    s.ui.Type(PageId::ConfigQta3, IDC_QTA3_PASSWORD, "Tarvel");
}

void ModeSetsUninitialised(SimSession& s) {
    NvValue part10 = s.node.Part(kModeSetsPart);
    part10[1] = 0x00;
    s.node.SetPart(kModeSetsPart, part10);
}

// Config HVAC shown, then its part loses the initialised mark: hiding the
// page (Status comes to the front) initialises it.
void ModeSetsLostWhileShown(SimSession& s) {
    s.ui.SelectTab(PageId::ConfigHvac);
    ModeSetsUninitialised(s);
}

void FreeCoolModeUnchecked(SimSession& s) { s.ui.Click(PageId::ConfigHvac, IDC_HVAC_BOX(6, 2)); }

void InjectionDamperManual(SimSession& s) {
    s.ui.Click(PageId::Dampers, IDC_DAMPERS_INJ_MANUAL);
    s.ui.Type(PageId::Dampers, IDC_DAMPERS_INJ_IN, "40");
}

void HeatingValveManual(SimSession& s) {
    s.ui.Click(PageId::HeatingSurface, IDC_HEAT_VALVE_MANUAL);
    s.ui.Type(PageId::HeatingSurface, IDC_HEAT_VALVE_IN, "40");
}

void ExchangerManual(SimSession& s) {
    s.ui.Click(PageId::Exchanger, IDC_EXCH_MANUAL);
    s.ui.Type(PageId::Exchanger, IDC_EXCH_IN, "40");
}

// A unit with antifrost while stopped: shown again, the boxes take typing.
void AntifrostTyped(SimSession& s) {
    NvValue part1 = s.node.Part(kOptionPart);
    part1[8] |= 0x01;
    s.node.SetPart(kOptionPart, part1);
    s.ui.SelectTab(PageId::NodeInformation);
    s.ui.SelectTab(PageId::Antifrost);
    s.ui.Type(PageId::Antifrost, IDC_ANTIFROST_START, "5");
}

SweepAction Verifying(SweepAction action) {
    action.verifies = true;
    return action;
}

SweepAction Named(std::string name, SweepAction action) {
    action.name = std::move(name);
    return action;
}

// A Read / Write page the list below does not show yet is swept as it
// reads: shown, Read, and Write of what Read gave.
std::vector<SweepAction> WithUnlistedPages(std::vector<SweepAction> actions) {
    std::set<PageId> shown;
    for (const SweepAction& action : actions) shown.insert(action.page);
    SimSession session;
    CSheet sheet(session.ui, &session.site, PageRegistry());
    for (const SheetPage& page : PageRegistry().pages) {
        const PageDef& def = sheet.Page(page.id)->definition();
        if (shown.count(page.id) != 0 || def.readButton == 0 || def.writeButton == 0) continue;
        for (SweepAction& action : ReadWritePage(page.id, {})) {
            action.writesWhatItRead = action.click == def.writeButton;
            actions.push_back(std::move(action));
        }
    }
    return actions;
}

const std::vector<SweepAction>& Actions() {
    static const std::vector<SweepAction> actions = WithUnlistedPages(Joined({
        {
            AtOpen("sheet start-up"),
            Press(PageId::NodeInformation, IDC_NODEINFO_USER),
            FromUserSet(Press(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN)),
        },
        ReadWritePage(PageId::Pid, {{IDC_PID_HEAT_P, "3.3"}}),
        {
            Show(PageId::SetTime),
            Press(PageId::SetTime, IDC_SETTIME_SYNC),
            Show(PageId::ImportExport),
            Press(PageId::ImportExport, IDC_IMPEXP_DEFAULT),
            With(Press(PageId::ImportExport, IDC_IMPEXP_SAVE), AnswerSaveDialog),
            Verifying(With(Press(PageId::ImportExport, IDC_IMPEXP_READ,
                                 {{IDC_IMPEXP_PASSWORD, "Tarvel"}}, AllSettings()),
                           [](SimSession& s) {
                               SeedSavedFile(s);
                               PreviewAccepted(s);
                           })),
            Verifying(With(Press(PageId::ImportExport, IDC_IMPEXP_FACTORY,
                                 {{IDC_IMPEXP_PASSWORD, "Tarvel"}}, AllSettings()),
                           [](SimSession& s) {
                               ChangePid(s);
                               PreviewAccepted(s);
                           })),
            Named("Import / Export: Read from file, not reviewed",
                  With(Press(PageId::ImportExport, IDC_IMPEXP_READ,
                             {{IDC_IMPEXP_PASSWORD, "Tarvel"}}, AllSettings()),
                       [](SimSession& s) {
                           ReviewOff(s);
                           SeedSavedFile(s);
                       })),
            Named("Import / Export: Default settings, not reviewed",
                  With(Press(PageId::ImportExport, IDC_IMPEXP_FACTORY,
                             {{IDC_IMPEXP_PASSWORD, "Tarvel"}}, AllSettings()),
                       [](SimSession& s) {
                           ReviewOff(s);
                           ChangePid(s);
                       })),
            With(Press(PageId::ImportExport, IDC_IMPEXP_COMPARE), SeedSavedFile),
            Named("Import / Export: Compare... with factory settings",
                  ScreenOnly(With(Press(PageId::ImportExport, IDC_IMPEXP_COMPARE), CompareFile))),
        },
        {
            // The week calendar pages write their schedule NV besides their
            // tables' blocks.
            Show(PageId::Calender),
            Press(PageId::Calender, IDC_CALENDER_READ),
            Press(PageId::Calender, IDC_CALENDER_WRITE,
                  {{IDC_CALENDER_MON_START1, "8:00"}, {IDC_CALENDER_MON_STOP1, "16:00"}},
                  {{kStartStopNv, 0}, {kCalendarStatusNv, 0}},
                  true),  // the node's calendar status follows its schedule
            ScreenOnly(Press(PageId::Calender, IDC_CALENDER_RESET)),
            ScreenOnly(Press(PageId::Calender, IDC_CALENDER_DEFAULT)),
            Show(PageId::Freecool),
            Press(PageId::Freecool, IDC_FREECOOL_READ),
            With(Press(PageId::Freecool, IDC_FREECOOL_WRITE, {},
                       {{kFreecoolPirCalendarNv, 0},
                        {kMinNightCoolNv, 0},
                        {kRoomSetpointsNv, 0},
                        {kMaxOutNightNv, 0}},
                       true),
                 FreeCoolingTyped),
            ScreenOnly(Press(PageId::Freecool, IDC_FREECOOL_RESET)),
            Show(PageId::Pir),
            Press(PageId::Pir, IDC_PIR_READ),
            Press(PageId::Pir, IDC_PIR_WRITE,
                  {{IDC_PIR_TIME_BEFORE_START, "25"},
                   {IDC_PIR_MON_START, "8:00"},
                   {IDC_PIR_MON_STOP, "16:00"}},
                  {{kFreecoolPirCalendarNv, 0}, {kConfigNv, kDelaysPart}}, true),
            ScreenOnly(Press(PageId::Pir, IDC_PIR_RESET)),
        },
        ReadWritePage(PageId::ExtendedOperation,
                      {{IDC_EXTOP_DAY, "5:30"}, {IDC_EXTOP_NIGHT, "22:15"}}),
        {
            Named("Extended operation: Start in Day",
                  Press(PageId::ExtendedOperation, IDC_EXTOP_DAY_START, {{IDC_EXTOP_DAY, "5:30"}},
                        {{kDayExtensionNv, 0}})),
            Named("Extended operation: Start in Night",
                  Press(PageId::ExtendedOperation, IDC_EXTOP_NIGHT_START,
                        {{IDC_EXTOP_NIGHT, "22:15"}}, {{kNightExtensionNv, 0}})),
        },
        ReadWritePage(PageId::OpenCloseTimer, {{IDC_OPENCLOSE_DAMPER_INTAKE, "123"}}),
        ReadWritePage(PageId::Status, {}, OverrideDay),
        {
            ScreenOnly(Press(PageId::Status, IDC_STATUS_NIGHT)),
            Show(PageId::StatusRegulator),
            Show(PageId::Alarms),
            Show(PageId::RunningHours),
            Named("Running Hours: Reset Ventilating",
                  Press(PageId::RunningHours, IDC_HOURS_RESET_VENTILATING, {},
                        {{kRunningHoursNv, 0}})),
            Named("Running Hours: Reset Mp1",
                  Press(PageId::RunningHours, IDC_HOURS_RESET_PUMP, {}, {{kRunningHoursNv, 0}})),
            Named("Running Hours: Reset Mm1",
                  Press(PageId::RunningHours, IDC_HOURS_RESET_INJECTION_MOTOR, {},
                        {{kRunningHoursNv, 0}})),
            Named("Running Hours: Reset Mm2",
                  Press(PageId::RunningHours, IDC_HOURS_RESET_EXHAUST_MOTOR, {},
                        {{kRunningHoursNv, 0}})),
            Named("Running Hours: Reset Mr1", Press(PageId::RunningHours, IDC_HOURS_RESET_EXCHANGER,
                                                    {}, {{kRunningHoursNv, 0}})),
            Show(PageId::ConfigQta12),
            With(Press(PageId::ConfigQta12, IDC_QTA12_WRITE, {{IDC_QTA12_PASSWORD, "Tarvel"}},
                       {{kConfigNv, kOptionPart}}),
                 FreeCoolingChecked),
            ScreenOnly(Press(PageId::ConfigQta12, IDC_QTA12_EXCHANGER)),
            ScreenOnly(Press(PageId::ConfigQta12, IDC_QTA12_ROTATING)),
            ScreenOnly(Press(PageId::ConfigQta12, IDC_QTA12_HEATING_SURFACE)),
            ScreenOnly(Press(PageId::ConfigQta12, IDC_QTA12_NIGHT_LOWERING)),
            Show(PageId::ConfigQta3),
            With(Press(PageId::ConfigQta3, IDC_QTA3_WRITE, {}, {{kConfigNv, kOptionPart}}),
                 RecirculationChecked),
            With(Press(PageId::ConfigQta3, IDC_QTA3_COOLING_SURFACE), Qta3Offered),
            Show(PageId::ConfigHvac),
            SweepAction{.name = "Config HVAC: shown uninitialised",
                        .page = PageId::ConfigHvac,
                        .owns = {{kConfigNv, kModeSetsPart}},
                        .before = ModeSetsUninitialised},
            SweepAction{.name = "Config HVAC: hidden uninitialised",
                        .page = PageId::Status,
                        .owns = {{kConfigNv, kModeSetsPart}},
                        .before = ModeSetsLostWhileShown},
            Press(PageId::ConfigHvac, IDC_HVAC_READ),
            With(Press(PageId::ConfigHvac, IDC_HVAC_WRITE, {{IDC_HVAC_PASSWORD, "Tarvel"}},
                       {{kConfigNv, kModeSetsPart}}, true),
                 FreeCoolModeUnchecked),
            ScreenOnly(Press(PageId::ConfigHvac, IDC_HVAC_BOX(0, 2))),
        },
        ReadWritePage(PageId::Dampers, {}, InjectionDamperManual),
        {
            ScreenOnly(Press(PageId::Dampers, IDC_DAMPERS_INJ_AUTO)),
        },
        ReadWritePage(PageId::Temperatures, {{IDC_TEMPS_BS1_OFFSET, "1.5"}}),
        ReadWritePage(PageId::CalcInjection, {{IDC_CALCINJ_MIN, "16"}, {IDC_CALCINJ_P, "2"}}),
        {
            ScreenOnly(Press(PageId::CalcInjection, IDC_CALCINJ_CALC_SETPOINT)),
        },
        ReadWritePage(PageId::CalcSpace, {{IDC_CALCSPACE_WINTER_SETPOINT, "20.5"}}),
        {
            ScreenOnly(Press(PageId::CalcSpace, IDC_CALCSPACE_CALC_SETPOINT)),
        },
        ReadWritePage(PageId::HeatingSurface, {}, HeatingValveManual),
        {
            Named("Heating surface: valve Manual",
                  ScreenOnly(Press(PageId::HeatingSurface, IDC_HEAT_VALVE_MANUAL))),
            Named("Heating surface: valve Automatic",
                  ScreenOnly(Press(PageId::HeatingSurface, IDC_HEAT_VALVE_AUTO))),
        },
        ReadWritePage(PageId::Exchanger, {}, ExchangerManual),
        {
            ScreenOnly(Press(PageId::Exchanger, IDC_EXCH_MANUAL)),
            ScreenOnly(Press(PageId::Exchanger, IDC_EXCH_OFF)),
        },
        ReadWritePage(PageId::Antifrost, {}, AntifrostTyped),
        ReadWritePage(PageId::ExerciseDeicing, {{IDC_EXERCISE_PUMP, "100"}}),
        ReadWritePage(PageId::TempStartup,
                      {{IDC_STARTUP_OUTDOOR, "5"}, {IDC_STARTUP_0_RECYCLE, "20"}}),
        ReadWritePage(PageId::LowTempInjection, {{IDC_LOWTEMP_TIME, "200"}}),
        {
            ScreenOnly(Press(PageId::LowTempInjection, IDC_LOWTEMP_STOP)),
        },
    }));
    return actions;
}
// ---------------------------------------------------------------------------

// Every NV and part the node holds, to see what an action changed: the
// parts one by one, the selector, not the commands (there is nothing to
// read back), and not the node clock, which runs by itself.
std::map<Owned, NvValue> Snapshot(const SimulatedNode& node) {
    std::map<Owned, NvValue> snapshot;
    snapshot[{kPartSelectorNv, 0}] = node.Nv(kPartSelectorNv);
    for (const NvEntry& nv : kNvCatalogue) {
        if (nv.role == NvRole::Command || nv.nv == kConfigNv || nv.nv == kPartSelectorNv ||
            nv.nv == kNodeClockNv)
            continue;
        snapshot[{nv.nv, 0}] = node.Nv(nv.nv);
    }
    for (int part = 1; part <= kConfigPartCount; ++part)
        snapshot[{kConfigNv, part}] = node.Part(part);
    return snapshot;
}

// Call: one host call fails; All: every host call; Keep: one write is taken
// and ignored; BackupNotSaved and NoFolder: the technician's disk refuses the
// backup file, or its folder.
enum class Fault { None, Call, All, Keep, BackupNotSaved, NoFolder };

struct ActionRun {
    std::vector<std::string> lines;  // the action's part of the trace
    std::map<Owned, NvValue> before;
    std::map<Owned, NvValue> after;
    int calls = 0;
    std::map<std::string, std::string> backups;  // path -> bytes, made by the action
    std::string log;                             // every change log, one after the other
};

ActionRun RunAction(const SweepAction& action, Fault fault, int call) {
    SimSession s;
    s.node.SetAnimated(false);
    ActionRun run;
    size_t start = 0;
    auto arm = [&] {
        run.before = Snapshot(s.node);
        start = s.trace.size();
        run.calls = -s.node.CallCount();
        if (fault == Fault::Call) s.node.FailCall(call);
        if (fault == Fault::All) s.node.FailAll(true);
        if (fault == Fault::Keep) s.node.KeepCall(call);
        if (fault == Fault::BackupNotSaved)
            s.ui.FailNextSave(HeadlessPlatform::SaveFault::WriteStops);
        if (fault == Fault::NoFolder) s.ui.FailFolders(true);
    };
    if (action.atOpen) arm();
    s.Open([&](HeadlessPlatform& ui) {
        if (action.atOpen) {
            ui.Idle(150);
        } else {
            ui.Idle(100);
            if (action.technicianSet) ui.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
            if (action.click != 0) {
                ASSERT_TRUE(ui.SelectTab(action.page));
            }
            for (const Typed& t : action.typed) {
                ASSERT_TRUE(ui.Type(action.page, t.control, t.text));
            }
            if (action.before) action.before(s);
            arm();
            if (action.click != 0) {
                ui.Click(action.page, action.click);
            } else {
                ASSERT_TRUE(ui.SelectTab(action.page));
            }
        }
        s.node.ClearFaults();
        run.calls += s.node.CallCount();
        run.after = Snapshot(s.node);
    });
    run.lines.assign(s.trace.lines().begin() + static_cast<std::ptrdiff_t>(start),
                     s.trace.lines().end());
    const std::string backups = std::string(HeadlessPlatform::kUserFolder) + "\\Backups\\";
    for (const std::string& path : s.ui.FilePaths()) {
        if (!path.starts_with(backups)) continue;
        if (path.ends_with(".log")) {
            run.log += s.ui.ReadFile(path).value_or("");
        } else {
            run.backups[path] = s.ui.ReadFile(path).value_or("");
        }
    }
    return run;
}

// What a message must name when the node ends otherwise at `where`: the NV
// or part as settings files name it, the part's number, or a box that shows
// it on any page (or any box of the action's own page).
std::vector<std::string> NamesOf(const Owned& where, PageId actionPage) {
    std::vector<std::string> names{SettingsNvName(where.nv, where.part)};
    if (where.nv == kConfigNv) names.push_back("part " + std::to_string(where.part));
    if (where.nv == kPartSelectorNv) names.push_back("part ");
    names.push_back(text::kCalendarTimes);
    names.push_back(text::kNodeClock);
    names.push_back(text::kFactoryModeSets);
    const auto add = [&](PageId page, int control) {
        if (const ControlDecl* decl = FindControl(page, control)) names.push_back(BoxNameOf(*decl));
    };
    for (const ControlDecl& decl : LayoutOf(actionPage).controls) {
        if (decl.kind != ControlKind::Static && decl.kind != ControlKind::GroupBox)
            add(actionPage, decl.id);
    }
    // Boxes that show the place, from the pages' tables.
    static const std::map<Owned, std::vector<std::pair<PageId, int>>> kShownBy = [] {
        std::map<Owned, std::vector<std::pair<PageId, int>>> shown;
        SimSession s;
        CSheet sheet(s.ui, &s.site, PageRegistry());
        for (const SheetPage& page : PageRegistry().pages) {
            const CPropPage* instance = sheet.Page(page.id);
            for (const Block& block : instance->definition().blocks) {
                for (const Field& field : block.fields) {
                    shown[{block.nv, block.nv == kConfigNv ? block.part : 0}].push_back(
                        {page.id, FieldControl(field)});
                }
            }
        }
        return shown;
    }();
    if (const auto it = kShownBy.find(where); it != kShownBy.end()) {
        for (const auto& [page, control] : it->second) add(page, control);
    }
    return names;
}

// A text up to its first line end, as a trace line holds it.
std::string FirstLine(std::string_view text) {
    return std::string(text.substr(0, text.find('\n')));
}

// What the technician was told: message boxes, and result lists in the
// review window (its heading and rows) as one text each.
std::multiset<std::string> Messages(const ActionRun& run) {
    std::multiset<std::string> messages;
    std::string list;
    for (const std::string& line : run.lines) {
        const bool row = line.find("  | ") != std::string::npos;
        if (!row && !list.empty()) messages.insert(std::exchange(list, {}));
        if (const std::size_t at = line.find("msgbox "); at != std::string::npos) {
            messages.insert(line.substr(at));
        } else if (const std::size_t at = line.find("review "); at != std::string::npos) {
            list = line.substr(at);
        } else if (row && !list.empty()) {
            list += "\n" + line.substr(line.find("  | ") + 4);
        }
    }
    if (!list.empty()) messages.insert(list);
    return messages;
}

// A node left otherwise than the fault-free run leaves it must come with a
// message the fault-free run does not show, naming what differs. The
// selector counts for actions that write: a read leaves it where it can.
void CheckTold(const SweepAction& action, const ActionRun& run, const ActionRun& clean) {
    // The selector counts for actions that write, where the node refused a
    // selector write: the plug-in then knows the node may show another part.
    static const std::regex kSelectorRefused(R"(WriteNv\(55, 2\) <- \[.*\] -> [^0])");
    bool selectorRefused = false;
    for (const std::string& line : run.lines)
        selectorRefused = selectorRefused || std::regex_search(line, kSelectorRefused);
    std::vector<Owned> differing;
    for (const auto& [where, value] : run.after) {
        if (where.nv == kPartSelectorNv && (action.owns.empty() || !selectorRefused)) continue;
        if (clean.after.at(where) != value) differing.push_back(where);
    }
    if (differing.empty()) return;
    const std::multiset<std::string> told = Messages(run);
    const std::multiset<std::string> usual = Messages(clean);
    std::vector<std::string> news;
    for (const std::string& message : told)
        if (usual.count(message) < told.count(message)) news.push_back(message);
    ASSERT_FALSE(news.empty()) << "the node differs from the fault-free run and nobody was told:\n"
                               << ::testing::PrintToString(run.lines);
    // A message that says nothing was written accounts for every place the
    // node still holds as before.
    bool nothingWritten = false;
    for (const std::string& message : news) {
        nothingWritten = nothingWritten || message.find("othing was written") != std::string::npos;
    }
    for (const Owned& where : differing) {
        if (nothingWritten && run.after.at(where) == run.before.at(where)) continue;
        if (where.nv == kPartSelectorNv) continue;  // told, and a selector has no box
        bool named = false;
        for (const std::string& name : NamesOf(where, action.page)) {
            for (const std::string& message : news)
                named = named || message.find(name) != std::string::npos;
        }
        EXPECT_TRUE(named) << "NV " << where.nv << " part " << where.part
                           << " differs, and no message names it:\n"
                           << ::testing::PrintToString(news);
    }
}

// A backup holds exactly what the node held before the action, block for
// block; a block it lacks is told (the backup is called partial), and every
// backup a message names exists.
void CheckBackups(const ActionRun& run) {
    bool partialTold = false;
    for (const std::string& message : Messages(run)) {
        partialTold = partialTold || message.find(text::kPartialBackupIn) != std::string::npos ||
                      message.find(FirstLine(text::kBackupIncompleteTail)) != std::string::npos;
        for (const char* head : {text::kBackupIn, text::kPartialBackupIn}) {
            const std::size_t at = message.find(std::string("\\x0A") + head);
            if (at == std::string::npos) continue;
            std::string path = message.substr(at + 4 + std::strlen(head));
            path = path.substr(0, path.find('"'));
            path = std::regex_replace(path, std::regex(R"(\\\\)"), "\\");
            EXPECT_TRUE(run.backups.count(path) != 0)
                << "names a backup that is not there: " << path;
        }
    }
    for (const auto& [path, bytes] : run.backups) {
        const SettingsImage held = ImageOfPlan(PlanSettingsFile(bytes));
        bool whole = true;
        for (const NvEntry* nv : SettingsFileNvs()) {
            const int parts = nv->nv == kConfigNv ? kConfigPartCount : 0;
            for (int part = parts == 0 ? 0 : 1; part <= parts; ++part) {
                const auto it = held.find({nv->nv, part});
                if (it == held.end()) {
                    whole = false;
                    continue;
                }
                const NvValue& before = run.before.at({nv->nv, part});
                EXPECT_EQ(it->second, std::string(before.begin(), before.begin() + nv->writeLength))
                    << path << " holds other bytes than the node for "
                    << SettingsNvName(nv->nv, part);
            }
        }
        EXPECT_TRUE(whole || partialTold) << "a partial backup not called partial: " << path;
    }
}

// An action that changed the node left an entry in its change log that names
// every settings box whose bytes changed (or told that the log could not be
// written).
void CheckLogged(const ActionRun& run) {
    static SimSession session;
    static CSheet sheet(session.ui, &session.site, PageRegistry());
    static const SettingsFields fields(sheet);
    bool told = false;
    for (const std::string& message : Messages(run))
        told = told || message.find(FirstLine(text::kChangeLogNotWritten)) != std::string::npos;
    for (const auto& [where, value] : run.after) {
        if (where.nv == kPartSelectorNv || value == run.before.at(where)) continue;
        EXPECT_TRUE(!run.log.empty() || told) << "changed NV " << where.nv << " part " << where.part
                                              << ", logged nothing and did not say so";
        if (run.log.empty()) return;
        const int length = WriteLengthOf(where.nv);
        const NvValue& earlier = run.before.at(where);
        const NvPart place{where.nv, where.part};
        const SettingsImage before{{place, std::string(earlier.begin(), earlier.begin() + length)}};
        const SettingsImage after{{place, std::string(value.begin(), value.begin() + length)}};
        for (const SettingsDifference& row : fields.Differences(before, after, "")) {
            // Bytes no page shows are named by their NV or part.
            const std::string name =
                row.tab.empty() ? SettingsNvName(where.nv, where.part) : row.box + ": ";
            EXPECT_NE(run.log.find(name), std::string::npos)
                << "changed " << row.tab << " - " << row.box << " (" << row.first << " -> "
                << row.second << ") and did not log it:\n"
                << run.log;
        }
    }
}

void CheckRun(const SweepAction& action, const ActionRun& run) {
    static const std::regex kRead(R"(ReadNv\((\d+), \d+\) -> (-?\d+))");
    static const std::regex kWrite(R"(WriteNv\((\d+), \d+\) <-)");
    std::map<int, bool> lastReadOk;  // per NV, within the action
    bool readAgain = false;
    for (const std::string& line : run.lines) {
        std::smatch m;
        if (std::regex_search(line, m, kRead)) {
            lastReadOk[std::stoi(m[1])] = m[2] == "0";
        } else if (std::regex_search(line, m, kWrite)) {
            const int nv = std::stoi(m[1]);
            if (nv == kPartSelectorNv) continue;
            // Blind writes (a download, the clock) read nothing first; a
            // read-modify-write must never send what a failed read left.
            EXPECT_FALSE(lastReadOk.count(nv) != 0 && !lastReadOk[nv])
                << "wrote NV " << nv << " after a failed read: " << line;
        } else if (line.find("caption \"Read\" = \"Wait\"") != std::string::npos) {
            readAgain = true;
        }
    }
    for (const auto& [where, value] : run.after) {
        // Every action that uses the configuration NV may move the selector.
        if (action.owns.count(where) != 0 || where.nv == kPartSelectorNv) continue;
        EXPECT_EQ(value, run.before.at(where))
            << "changed NV " << where.nv << " part " << where.part;
    }
    if (action.closingRead) {
        EXPECT_TRUE(readAgain) << "the closing Read did not run";
    }
}

// The positions of the action's writes that a node could accept and ignore:
// selector writes only, or every write.
std::vector<int> WritePositions(const ActionRun& clean, bool selectorOnly) {
    std::vector<int> positions;
    int call = 0;
    for (const std::string& line : clean.lines) {
        const bool read = line.find("ReadNv(") != std::string::npos ||
                          line.find("ReadNodeName(") != std::string::npos;
        const bool write = line.find("WriteNv(") != std::string::npos;
        if (read || write) ++call;
        const bool selector = line.find("WriteNv(55,") != std::string::npos;
        if (write && (selector || !selectorOnly)) positions.push_back(call);
    }
    return positions;
}

TEST(FaultSweep, EveryActionSurvivesEveryFailingCall) {
    for (const SweepAction& action : Actions()) {
        SCOPED_TRACE(action.name);
        const ActionRun clean = RunAction(action, Fault::None, 0);
        CheckRun(action, clean);
        CheckBackups(clean);
        CheckLogged(clean);
        EXPECT_TRUE(Messages(clean).empty() || !action.closingRead)
            << "a fault-free Write shows a message: " << ::testing::PrintToString(clean.lines);
        for (int call = 1; call <= clean.calls; ++call) {
            SCOPED_TRACE("call " + std::to_string(call) + " of " + std::to_string(clean.calls) +
                         " fails");
            const ActionRun run = RunAction(action, Fault::Call, call);
            CheckRun(action, run);
            CheckTold(action, run, clean);
            CheckBackups(run);
            CheckLogged(run);
        }
        const bool readsBack = action.closingRead || action.verifies;
        for (int call : WritePositions(clean, !readsBack)) {
            SCOPED_TRACE("the node ignores call " + std::to_string(call));
            const ActionRun run = RunAction(action, Fault::Keep, call);
            CheckRun(action, run);
            CheckTold(action, run, clean);
            CheckBackups(run);
            CheckLogged(run);
        }
        if (action.verifies) {
            for (const Fault disk : {Fault::BackupNotSaved, Fault::NoFolder}) {
                SCOPED_TRACE(disk == Fault::NoFolder ? "no backup folder" : "the backup not saved");
                const ActionRun run = RunAction(action, disk, 0);
                CheckRun(action, run);
                CheckTold(action, run, clean);
                CheckBackups(run);
                CheckLogged(run);
                bool asked = false;
                for (const std::string& message : Messages(run))
                    asked = asked ||
                            message.find(FirstLine(text::kBackupNotSaved)) != std::string::npos;
                EXPECT_TRUE(asked && run.backups.empty()) << ::testing::PrintToString(run.lines);
            }
        }
        SCOPED_TRACE("every call fails");
        const ActionRun run = RunAction(action, Fault::All, 0);
        CheckRun(action, run);
        CheckTold(action, run, clean);
        CheckBackups(run);
        CheckLogged(run);
    }
}

// The sweep is only as good as its actions: each must make host calls, and
// the Write actions must change the node when nothing fails.
TEST(FaultSweep, ActionsReachTheNode) {
    for (const SweepAction& action : Actions()) {
        SCOPED_TRACE(action.name);
        const ActionRun run = RunAction(action, Fault::None, 0);
        if (action.page == PageId::NodeInformation && !action.atOpen) continue;  // tabs only
        if (action.screenOnly) {
            EXPECT_EQ(run.calls, 0) << ::testing::PrintToString(run.lines);
            continue;
        }
        EXPECT_GT(run.calls, 0) << ::testing::PrintToString(run.lines);
        if (!action.owns.empty() && !action.writesWhatItRead) {
            EXPECT_TRUE(run.after != run.before) << "the node did not change";
        }
    }
}

}  // namespace
}  // namespace qta1

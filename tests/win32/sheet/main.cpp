// qta1_sheet_checks.exe: the checks of the real sheet, on the substitute
// host's machinery (the control embedded in the host's window, the simulated
// node and the script site on its client site), one set of checks a run.
//
//   qta1_sheet_checks.exe [host options] CHECK
//     host options: --unconfigured, --no-node, --state FILE, --trace FILE,
//                   --ocx FILE, --registered, as for qta1host.exe
//     --check-pages         every page's controls: position, visual styles,
//                           accessible names, Tab order
//     --check-fit           every control of every page inside the visible page and
//                           its group box, in every way the sheet opens
//     --check-review        the review window: what it shows, its fit at every
//                           size, its keys, buttons and Ctrl+C; and the folder
//                           the file dialog of "Backups..." opens in
//     --check-trend         the trend window: opening, sampling beside a Write,
//                           fit, keys and saves
//     --check-closing       closing the sheet every way, with and without typed
//                           values, and the icons of failure messages
//     --check-platform      the layer's texts, filters and files, saves under
//                           disk faults, and the technician's choices and
//                           folders (no sheet)
//     --check-com           accessible objects: one identity, counted by the module
//     --check-editor        the settings editor (QTA1Edit.exe) saving an edited
//                           file, and refusing files that do not open
//     --editor-pictures FOLDER  pictures of the editor's sheet and its question
//                           on closing (scripts/screenshots.sh)
//     --measure-download    the longest time the sheet goes without painting
//                           while a settings file downloads in real time
//     --measure-open N      time N openings of the sheet
//     --hang-while-saving FILE  start saving FILE and never end (the killed save
//                           of --check-platform)
//
// The checks print one line each and "N passed, M failed" last
// (tests/win32/harness.h). The exit code is 0 when every check passed, 1 on a
// usage or start-up error, 2 on a failed check (or a measurement that could
// not be made), 3 when the node or the site is still referenced after the
// control has gone.
#include <windows.h>

#include <string>

#include "harness.h"
#include "host_session.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

// The end of a run of checks: the summary, and the exit code it gives.
int Summarised() { return checks::Summary() == 0 ? 0 : 2; }

int Pages(Session& session) {
    CheckPages(session.host);
    return Summarised();
}

int Fit(Session& session) {
    CheckFit(session.host);
    return Summarised();
}

int Review(Session& session) {
    CheckReviewWindows(session.host);
    CheckBackupsDialog(session.host);
    return Summarised();
}

int Trend(Session& session) {
    CheckTrendWindows(session.host);
    return Summarised();
}

int Closing(Session& session) {
    CheckClosing(session.host);
    return Summarised();
}

// No sheet: the layer's parts in scratch folders under the current folder.
int Platform(Session&) {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetCurrentDirectoryW(MAX_PATH, folder.data()));
    CheckPlatformParts(folder);
    CheckFileStore(folder);
    CheckTechniciansPlace(folder);
    return Summarised();
}

int Com(Session& session) {
    CheckComLifetime(session.host, session.control);
    return Summarised();
}

int Download(Session& session) {
    std::string report;
    const bool measured = MeasureDownload(session.host, report);
    Print(report);
    return measured ? 0 : 2;
}

int Openings(Session& session) {
    std::string report;
    MeasureOpening(session.host, _wtoi(session.value.c_str()), report);
    Print(report);
    return 0;
}

int NoCheckNamed(Session&) {
    PrintError(L"name the checks to run (see the head of tests/win32/sheet/main.cpp)");
    return 1;
}

// Of the options named, the first row runs.
constexpr Mode kModes[] = {
    {L"--hang-while-saving", Mode::Takes::Path, nullptr, HangWhileSaving},
    {L"--check-editor", Mode::Takes::Nothing, nullptr, CheckEditor},
    {L"--editor-pictures", Mode::Takes::Path, nullptr, EditorPictures},
    {L"--check-pages", Mode::Takes::Nothing, Pages},
    {L"--check-fit", Mode::Takes::Nothing, Fit},
    {L"--check-review", Mode::Takes::Nothing, Review},
    {L"--check-trend", Mode::Takes::Nothing, Trend},
    {L"--check-closing", Mode::Takes::Nothing, Closing},
    {L"--check-platform", Mode::Takes::Nothing, Platform},
    {L"--check-com", Mode::Takes::Nothing, Com},
    {L"--measure-download", Mode::Takes::Nothing, Download},
    {L"--measure-open", Mode::Takes::Count, Openings},
};

}  // namespace

}  // namespace qta1::host

int main() {
    return qta1::host::HostMain(L"qta1_sheet_checks", qta1::host::kModes, qta1::host::NoCheckNamed);
}

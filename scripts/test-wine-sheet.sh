#!/usr/bin/env bash
# Checks the real property sheet under Wine, for 32-bit and 64-bit hosts,
# through qta1host.exe (the substitute host) and the control's properties verb,
# and through qta1_sheet_checks.exe (tests/win32/sheet: the checks, on the
# host's machinery), whose options are named below:
#  - every acceptance scenario (tests/scenarios/*.scn) run against the real
#    sheet gives exactly its .expected trace, timer lines included: in a
#    scripted run the sheet's timers run on the virtual clock and fire only
#    when the scenario lets time pass, just as on the headless sheet;
#  - the sheet opened for a configured node, an unconfigured node (the host's
#    --unconfigured) and a site without the node's interfaces (--no-node, which
#    must say "Node not available!"), and opened twice in a row, each giving the
#    trace the headless sheet (qta1-sim) gives for the same scenario;
#  - the host ends with no reference to the node or its site left behind
#    (qta1host exits 3 otherwise, which fails the check that ran it);
#  - every control of every page where its layout puts it, from version 6 of the
#    common controls, with its label as accessible name, in the layout's Tab
#    order (--check-pages);
#  - every control of every page inside the visible page area and inside its
#    group box, after opening normally, after a failed first read and with no
#    node (each then switched to the technician set), and the Compare window
#    with its list and buttons inside it as it opens, made as small as it goes
#    and made larger, at 96 DPI and, in a second session, at 144 DPI
#    (--check-fit);
#  - the review window for lists of every shape, at both DPIs: what it shows,
#    its fit at every size, the sheet disabled while it is up, visual styles,
#    accessible names, its buttons, Enter, Esc, the close box and Ctrl+C
#    (--check-review);
#  - the trend window opened from Temperatures and Status - Regulator: of its
#    own class, owned by the sheet, sampling every 2 s, sampling on while the
#    sheet writes PID, every control inside it and whole as it opens, made as
#    small as it goes and made larger, Tab, Alt+P and Esc through the sheet's
#    modal loop, "Save data..." writing the CSV of the samples shown and "Save
#    picture..." a PNG of its size, at 96 DPI and at 144 DPI (--check-trend);
#  - closing the sheet by "Exit", Enter, Esc, the close box, Alt+F4 and
#    WM_CLOSE: at once with nothing typed; with a typed value not written it
#    asks first (warning icon, No the default: Enter on the question keeps the
#    sheet, the page and the value, and nothing reaches the node), and the
#    boxes of a refused value and a refused Write show the warning icon
#    (--check-closing);
#  - an edit box's accessible object is one COM object whatever it is asked
#    through, and the module stays loaded while a client holds it (--check-com);
#  - a picture of the sheet can be taken (qta1host --snapshot), as the README's
#    demo does;
#  - the settings editor QTA1Edit.exe in a process of its own, driven by window
#    messages: a file of the factory settings edited on PID, written and saved
#    on "Exit" holds exactly that value in one changed data line and the editor
#    ends with 0; a file with a bad line, an empty file and a missing file are
#    refused in a box with the reason, the editor ends with 1 and the file is
#    kept (--check-editor);
#  - the layer's texts, file-dialog filters and files, the technician's
#    choices under HKCU\Software\QTA1\Plugin (and nothing else in the
#    registry), folders, file lists and deletion, paths beyond MAX_PATH
#    (--check-platform).
# The last line is "N passed, M failed"; the exit code is non-zero on any failure.
#
# Usage: scripts/test-wine-sheet.sh [i686|x86_64]...   (both when none is named)
#        scripts/test-wine-sheet.sh --measure [COUNT]  times the opening of the
#                                                       sheet, and the longest time
#                                                       without painting during a
#                                                       real-time download
#                                                       (docs/performance.md)
# Runs on its own or from scripts/test-wine.sh; either way it starts its own
# Xvfb session and uses the Wine prefix of scripts/wine-env.sh (QTA1_WINEPREFIX
# chooses another). The hosts are built with the mingw-i686 and mingw-x86_64
# presets, or in QTA1_MINGW_BUILD-i686 and QTA1_MINGW_BUILD-x86_64 when that is set.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
repo=$(pwd)

source scripts/checks.sh

build_dir_of() { echo "${QTA1_MINGW_BUILD:-$repo/build/mingw}-$1"; }
host_of() { echo "$(build_dir_of "$1")/sim/win32/qta1host.exe"; }
checks_of() { echo "$(build_dir_of "$1")/tests/win32/sheet/qta1_sheet_checks.exe"; }

# The scenarios that open the sheet in the ways a host can: NAME|HOST OPTIONS|
# LINES THE HEADLESS RUN NEEDS FIRST FOR THE SAME NODE (\n-separated). "backups"
# opens the file dialog of "Backups...", in the node's folder of backups;
# "choices" unchecks "Back up and preview first" and opens the sheet again,
# which remembers it.
OPENINGS=(
    "configured||"
    "unconfigured|--unconfigured|node configured 0"
    "no-node|--no-node|site reader off\nsite writer off"
    "twice||"
    "backups||"
    "choices||"
)
opening_script() {
    case $1 in
        twice)
            printf 'open\nprint tabs\nexit\nopen\nprint sheet\nprint tabs\nwait 100\nprint tabs\nexit\n' ;;
        backups)
            printf 'open\nwait 100\nclick "Technician"\ntab "Import / Export"\n'
            printf 'type "Password" = "Tarvel"\nfile cancel\n'
            printf 'click "Backups..."\nexit\n' ;;
        choices)
            local to_import_export='open\nwait 100\nclick "Technician"\ntab "Import / Export"\n'
            printf "$to_import_export"'click "Back up and preview first"\nexit\n'
            printf "$to_import_export"'print control "Back up and preview first"\n'
            printf 'print control "Verify after writing"\nexit\n' ;;
        *)
            printf 'open\nprint sheet\nprint tabs\nprint page\nwait 100\nprint tabs\nexit\n' ;;
    esac
}

# Compares a run's output with the expected trace; shows the first differences.
compare() {
    local label=$1 expected=$2 actual=$3 rc=$4
    if [ "$rc" -ne 0 ]; then
        fail "$label" "qta1host exited $rc: $(tail -2 "$actual" | tr '\n' ' ')"
    elif cmp -s <(expected_trace "$expected") "$actual"; then
        pass "$label"
    else
        fail "$label" "trace differs from the headless sheet's"
        diff -u <(expected_trace "$expected") "$actual" | sed -n '3,23p'
    fi
}

# ---------------------------------------------------------------------------------
# Inside one Xvfb session.
# ---------------------------------------------------------------------------------

# The host removes the files a scenario named when it ends; a run that did not
# end leaves them behind, so the absolute ones (C:\...) go before each run
# (a file of the factory settings left there would be another program's
# changes to the next run's save).
remove_scenario_files() {
    local path unix
    sed -nE 's/^[[:space:]]*(seed-file|file|read-only|print file|open file|open factory-file)[[:space:]]+"([A-Za-z]:[^"]*)".*/\2/p' \
        "$1" | sed 's/\\\\/\\/g' | sort -u | while IFS= read -r path; do
        unix=$(wine_unixpath "$path")
        [ -n "$unix" ] && chmod u+w "$unix" 2>/dev/null && rm -f "$unix"
    done
}

sheet_checks_for() {
    local arch=$1 work=$2 host checks scn name out rc
    host=$(host_of "$arch")
    checks=$(checks_of "$arch")
    if [ ! -f "$host" ] || [ ! -f "$checks" ]; then
        fail "$arch: qta1host.exe and qta1_sheet_checks.exe are built" "$host or $checks missing"
        return
    fi
    # Each run in a folder of its own: the files a scenario writes land there.
    for scn in tests/scenarios/*.scn; do
        name=$(basename "$scn" .scn)
        mkdir -p "$work/$arch/$name"
        out="$work/$arch/$name.out"
        remove_scenario_files "$scn"
        (cd "$work/$arch/$name" &&
            wine_run 60 "$host" --scenario "$(wine_winpath "$repo/$scn")" >"$out" 2>&1)
        rc=$?
        compare "$arch: scenario $name on the real sheet" "${scn%.scn}.expected" "$out" "$rc"
    done

    local entry options
    for entry in "${OPENINGS[@]}"; do
        IFS='|' read -r name options _ <<<"$entry"
        out="$work/$arch/opening-$name.out"
        # shellcheck disable=SC2086  # the options are words
        (cd "$work/$arch" &&
            wine_run 60 "$host" $options --scenario "$(wine_winpath "$work/opening-$name.scn")" \
                >"$out" 2>&1)
        rc=$?
        compare "$arch: sheet opened ${options:-for a configured node} ($name)" \
            "$work/opening-$name.expected" "$out" "$rc"
    done
    # The technician's folder of scripted runs (backups) goes with each run.
    if [ -e "$WINEPREFIX/drive_c/users/Technician" ]; then
        fail "$arch: the scenarios leave no technician's folder behind" \
            "$WINEPREFIX/drive_c/users/Technician is there"
    else
        pass "$arch: the scenarios leave no technician's folder behind"
    fi
    if grep -q 'msgbox "Node not available!" title "Plugin" OK exclamation' \
        "$work/$arch/opening-no-node.out"; then
        pass "$arch: without the node's interfaces the sheet says \"Node not available!\""
    else
        fail "$arch: without the node's interfaces the sheet says \"Node not available!\""
    fi

    sheet_check "$arch" "$work" 60 --check-pages "every page's controls placed, styled, named and in Tab order" \
        -v '^ok '

    check_fit "$arch" "$work" 96
    check_review "$arch" "$work" 96
    check_trend "$arch" "$work" 96

    sheet_check "$arch" "$work" 90 --check-closing \
        "every way of closing asks first while a typed value is not written, No the default, failures with the warning icon" \
        -v '^ok '
    sheet_check "$arch" "$work" 90 --check-editor \
        "the settings editor saves an edited file on Exit and refuses files that do not open" \
        -v '^ok '
    sheet_check "$arch" "$work" 60 --check-com \
        "accessible objects keep one identity and keep the module loaded while held" \
        -E '^FAIL|Unhandled'

    mkdir -p "$work/$arch/platform"
    out="$work/$arch/platform.out"
    (cd "$work/$arch/platform" && wine_run 60 "$checks" --check-platform >"$out" 2>&1)
    rc=$?
    if [ "$rc" -eq 0 ]; then
        pass "$arch: texts, file-dialog filters and files"
    else
        fail "$arch: texts, file-dialog filters and files" "exit $rc"
        grep '^FAIL' "$out" | head -20
    fi

    local picture="$work/$arch/sheet.bmp"
    wine_run 60 "$host" --snapshot "$(wine_winpath "$picture")" >"$work/$arch/snapshot.out" 2>&1
    rc=$?
    if [ "$rc" -eq 0 ] && [ "$(head -c 2 "$picture" 2>/dev/null)" = BM ]; then
        pass "$arch: a picture of the open sheet ($(stat -c %s "$picture") bytes)"
    else
        fail "$arch: a picture of the open sheet" "exit $rc"
    fi
}

# Runs one set of the sheet's checks (`option`, e.g. --check-pages) within
# `limit` seconds; on a failure shows the lines of its output that the grep
# arguments after `what` pick.
sheet_check() {
    local arch=$1 work=$2 limit=$3 option=$4 what=$5
    shift 5
    local out="$work/$arch/${option#--check-}.out"
    wine_run "$limit" "$(checks_of "$arch")" "$option" >"$out" 2>&1
    local rc=$?
    if [ "$rc" -eq 0 ]; then
        pass "$arch: $what"
    else
        fail "$arch: $what" "exit $rc"
        grep "$@" "$out" | head -20
    fi
}

# Every control of every page where the technician can see it (--check-fit).
check_fit() {
    local arch=$1 work=$2 dpi=$3 out rc
    out="$work/$arch/fit-$dpi.out"
    wine_run 90 "$(checks_of "$arch")" --check-fit >"$out" 2>&1
    rc=$?
    local what="at $dpi DPI every control inside its page and group box, however the sheet opened, and the Compare window"
    if [ "$rc" -eq 0 ]; then
        pass "$arch: $what"
    else
        fail "$arch: $what" "exit $rc"
        grep -v '^ok ' "$out" | head -20
    fi
}

# The review window's list, buttons and keys (--check-review).
check_review() {
    local arch=$1 work=$2 dpi=$3 out rc
    out="$work/$arch/review-$dpi.out"
    wine_run 90 "$(checks_of "$arch")" --check-review >"$out" 2>&1
    rc=$?
    local what="at $dpi DPI the review window shows its list, fits, answers and copies"
    if [ "$rc" -eq 0 ]; then
        pass "$arch: $what"
    else
        fail "$arch: $what" "exit $rc"
        grep -v '^ok ' "$out" | head -20
    fi
}

# The trend window: opening, sampling beside a Write, fit, keys and saves
# (--check-trend).
check_trend() {
    local arch=$1 work=$2 dpi=$3 out rc
    mkdir -p "$work/$arch/trend-$dpi"
    out="$work/$arch/trend-$dpi.out"
    (cd "$work/$arch/trend-$dpi" && wine_run 90 "$(checks_of "$arch")" --check-trend >"$out" 2>&1)
    rc=$?
    local what="at $dpi DPI the trend window opens, samples beside a Write, fits, takes its keys and saves"
    if [ "$rc" -eq 0 ]; then
        pass "$arch: $what"
    else
        fail "$arch: $what" "exit $rc"
        grep -v '^ok ' "$out" | head -20
    fi
}

if [ "${1:-}" = "--inside-xvfb" ]; then
    shift
    work=$1
    shift
    source scripts/wine-env.sh
    wine_unixpath() { timeout --kill-after=5 30 winepath -u "$1" 2>/dev/null | tr -d '\r'; }
    if wine_session_begin; then
        for arch in "$@"; do sheet_checks_for "$arch" "$work"; done
    else
        fail "Wine prefix and session ready"
    fi
    wine_session_end
    finish
fi

# The same fit at 144 DPI (150 %), in a prefix of its own whose display is set
# to 144 DPI, so that the shared prefix keeps 96.
if [ "${1:-}" = "--dpi144-inside-xvfb" ]; then
    shift
    work=$1
    shift
    export QTA1_WINEPREFIX="$repo/build/wine/prefix-dpi144"
    source scripts/wine-env.sh
    if wine_session_begin && wine_set_dpi 144; then
        for arch in "$@"; do
            check_fit "$arch" "$work" 144
            check_review "$arch" "$work" 144
            check_trend "$arch" "$work" 144
        done
    else
        fail "Wine prefix at 144 DPI and session ready"
    fi
    wine_session_end
    finish
fi

if [ "${1:-}" = "--measure-inside-xvfb" ]; then
    count=$2
    source scripts/wine-env.sh
    wine_session_begin || exit 1
    for arch in i686 x86_64; do
        echo "== $arch: qta1_sheet_checks.exe --measure-open $count"
        wine_run 120 "$(checks_of "$arch")" --measure-open "$count" | tr -d '\r'
        echo "== $arch: qta1_sheet_checks.exe --measure-download"
        wine_run 120 "$(checks_of "$arch")" --measure-download | tr -d '\r'
    done
    wine_session_end
    exit 0
fi

# ---------------------------------------------------------------------------------
# Outside: build the hosts and the headless reference, then one Xvfb session.
# ---------------------------------------------------------------------------------

build_host() {
    if [ -n "${QTA1_MINGW_BUILD:-}" ]; then
        cmake --build "$(build_dir_of "$1")" --target qta1host qta1_sheet_checks
    else
        cmake --preset "mingw-$1" >/dev/null &&
            cmake --build --preset "mingw-$1" --target qta1host qta1_sheet_checks
    fi
}

if [ "${1:-}" = "--measure" ]; then
    count=${2:-10}
    for arch in i686 x86_64; do build_host "$arch" >/dev/null || exit 1; done
    timeout --kill-after=10 270 xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$0" --measure-inside-xvfb "$count"
    exit
fi

arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(i686 x86_64)

for arch in "${arches[@]}"; do
    if build_host "$arch" >/dev/null; then
        pass "$arch: qta1host.exe, qta1_sheet_checks.exe and QTA1.OCX build"
    else
        fail "$arch: qta1host.exe, qta1_sheet_checks.exe and QTA1.OCX build"
        finish
    fi
done

# The headless sheet writes the expected traces of the opening checks, from
# the same sources (QTA1_SIM names a qta1-sim that is known to be current).
sim=${QTA1_SIM:-}
if [ -z "$sim" ]; then
    sim=$repo/build/native/qta1-sim
    if ! { cmake --preset native >/dev/null && cmake --build --preset native --target qta1-sim >/dev/null; }; then
        fail "the headless reference (qta1-sim) builds"
        finish
    fi
fi
mkdir -p build/wine
work=$(mktemp -d "$repo/build/wine/sheet-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT
for entry in "${OPENINGS[@]}"; do
    IFS='|' read -r name _ prelude <<<"$entry"
    opening_script "$name" >"$work/opening-$name.scn"
    { [ -n "$prelude" ] && printf '%b\n' "$prelude"; opening_script "$name"; } \
        >"$work/opening-$name.headless.scn"
    if ! "$sim" "$work/opening-$name.headless.scn" >"$work/opening-$name.expected"; then
        fail "headless reference for opening $name" "$(tail -1 "$work/opening-$name.expected")"
    fi
done

# The session's lines are counted there; its totals are taken over. The
# bounds only stop a session that hangs: a normal one takes well under half.
run_counted "the Wine session ran to its end" \
    timeout --kill-after=10 600 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$0" --inside-xvfb "$work" "${arches[@]}"
run_counted "the 144 DPI Wine session ran to its end" \
    timeout --kill-after=10 300 xvfb-run -a -s "-screen 0 1600x1200x24" \
    "$0" --dpi144-inside-xvfb "$work" "${arches[@]}"
finish

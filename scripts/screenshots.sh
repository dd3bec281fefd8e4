#!/usr/bin/env bash
# Regenerates docs/screenshots/*.png from the real property sheet, opened by
# qta1host.exe through the control's properties verb under Wine and Xvfb on a
# configured simulated node:
#   sheet-user.png        the sheet as it opens (Node Information, user set)
#   sheet-technician.png  after "Technician" (the technician set)
#   <page>.png            every page, e.g. pid.png, node-information.png
#   import-export-saving.png  Import / Export in the middle of "Save to file"
#   compare.png           the Compare window: a file saved from the node, compared
#                         after the node changed in three boxes on three pages
#   close-question.png    the PID page with a value typed into P of "Heat (Mv1)"
#                         and not written, and the question "Exit" brings up
#                         over the sheet (answered No, then the sheet closes)
#   download-result.png   the review window with the long result of "Default
#                         settings" on a node that kept its old values in parts
#                         2, 7 and 8 (after the preview, answered Yes)
#   changes.png           "Changes..." on Import / Export after two PID Writes: the
#                         node's change log, newest first
#   editor.png            the settings editor (QTA1Edit.exe) over a file of the
#                         factory settings, "AHU 3.txt": the PID page after P of
#                         "Heat (Mv1)" was written as 3.3
#   editor-close.png      the question "Exit" brings up over it, "Save changes to
#                         AHU 3.txt?" (answered Yes, then the editor ends)
#   trend.png             the trend window opened from Temperatures on the
#                         simulated unit's thermal model, ten minutes after P of
#                         "Heat (Mv1)" was raised on PID, in its 10 min window
#   dpi144-*.png          the sheet, the PID page, the Compare window and the trend at 144
#                         DPI (150 %), from a throwaway Wine prefix whose display
#                         is set to 144 DPI
# Prints the pictures' sizes; at 144 DPI the sheet is about 1.4 times as large,
# because the pages are laid out in dialog units of the DPI-scaled dialog font
# (text metrics do not scale exactly by 1.5), and checks at 144 DPI that every
# control of every page sits where its layout puts it (qta1_sheet_checks
# --check-pages).
#
# Usage: scripts/screenshots.sh [i686|x86_64]   (x86_64 when none is named)
# QTA1_MINGW_BUILD works as for scripts/test-wine-sheet.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
arch=${1:-x86_64}
out=docs/screenshots

build_dir="${QTA1_MINGW_BUILD:-$repo/build/mingw}-$arch"
host="$build_dir/sim/win32/qta1host.exe"
checks="$build_dir/tests/win32/sheet/qta1_sheet_checks.exe"

if [ "${2:-}" != "--inside-xvfb" ]; then
    if [ -n "${QTA1_MINGW_BUILD:-}" ]; then
        cmake --build "$build_dir" --target qta1host qta1_sheet_checks >/dev/null
    else
        cmake --preset "mingw-$arch" >/dev/null
        cmake --build --preset "mingw-$arch" --target qta1host qta1_sheet_checks >/dev/null
    fi
    mkdir -p build/wine "$out"
    work=$(mktemp -d "$repo/build/wine/screenshots.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/96" "$work/144"
    timeout --kill-after=10 280 xvfb-run -a -s "-screen 0 1600x1200x24" \
        "$0" "$arch" --inside-xvfb "$work"
    rm -f "$out"/*.png
    for picture in "$work/96"/*.bmp; do
        convert "$picture" -strip "png:$out/$(basename "$picture" .bmp).png"
    done
    for name in sheet-user sheet-technician pid node-information compare trend; do
        convert "$work/144/$name.bmp" -strip "png:$out/dpi144-$name.png"
    done
    echo "$(find "$out" -name '*.png' | wc -l) pictures in $out:"
    for name in sheet-user pid compare dpi144-sheet-user dpi144-pid dpi144-compare; do
        echo "  $name.png $(identify -format '%w x %h' "$out/$name.png") pixels"
    done
    exit
fi
work=$3

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_begin
wine_run 120 "$host" --screenshots "$(wine_winpath "$work/96")"
wine_run 60 "$checks" --editor-pictures "$(wine_winpath "$work/96")"
wine_session_end

# 144 DPI in a prefix of its own, so the shared prefix keeps 96.
export QTA1_WINEPREFIX="$repo/build/wine/prefix-dpi144"
source scripts/wine-env.sh
wine_session_begin
timeout --kill-after=5 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d 144 /f >/dev/null 2>&1
timeout --kill-after=5 30 wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD \
    /d 144 /f >/dev/null 2>&1
# The display settings are read when the session starts.
wine_session_end
wine_session_begin
wine_run 120 "$host" --screenshots "$(wine_winpath "$work/144")"
# Every control where its dialog units put it, at 144 DPI as at 96.
if wine_run 60 "$checks" --check-pages >"$work/144/pages.txt" 2>&1; then
    echo "144 DPI: every control of every page where its layout puts it"
else
    echo "144 DPI: pages check FAILED:" && grep -v '^ok ' "$work/144/pages.txt"
fi
wine_session_end


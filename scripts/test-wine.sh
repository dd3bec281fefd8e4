#!/usr/bin/env bash
# Builds QTA1.OCX for 32-bit and 64-bit hosts and checks it under Wine:
#  - the module imports system DLLs only, exports only the four entry points of
#    a self-registering control and stays under 1 MB;
#  - regsvr32 registers it, and every registry key and value is checked with
#    `wine reg query` (the 32-bit registry view for the i686 module);
#  - tests/win32/module's checks program, run as a container would: type
#    library, resources, the COM surface, drawing, AboutBox, reference
#    counting and unloading, the properties verb on a site without a node
#    (twice), and embedding by Wine's own ATL container;
#  - regsvr32 /u removes every key (the same queries found them before);
#  - scripts/test-wine-sheet.sh, when present, for the sheet itself (through
#    qta1host.exe and tests/win32/sheet's checks program);
#  - scripts/test-wine-packages.sh, when present, for the installer packages
#    (x86_64: the package for 64-bit Windows, i686: the one for 32-bit Windows).
# The last line is "N passed, M failed"; the exit code is non-zero on any failure.
#
# Usage: scripts/test-wine.sh [i686|x86_64]...   (both when none is named)
set -uo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

source scripts/checks.sh

CLSID='{F6267715-860A-46CF-8E4F-23B0DD3C9478}'
LIBID='{E61E2B8A-C2CE-40D8-90B7-298C4B40019F}'
DIID='{EC5472E1-59E7-431B-958E-3A6CDCAF9484}'
EVENTS_DIID='{995A5E7B-046A-4DBC-A94F-77C4EEC930A7}'
PROGID='QTA1.QTA1Ctrl.1'
ROOTS=("CLSID\\$CLSID" "$PROGID" "TypeLib\\$LIBID" "Interface\\$DIID" "Interface\\$EVENTS_DIID")
SYSTEM_DLLS=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll"
SYSTEM_DLLS+=" oleacc.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll "

ocx_of() { echo "$repo/build/mingw-$1/src/platform/win32/QTA1.OCX"; }
checks_of() { echo "$repo/build/mingw-$1/tests/win32/module/qta1_module_checks.exe"; }

# ---------------------------------------------------------------------------------
# Inside one Xvfb session: registration, the checks program, unregistration.
# ---------------------------------------------------------------------------------

# Prints the value `name` ("(Default)" for the default) of `key` from a
# `reg query /s` listing; fails when the key or the value is not listed.
reg_value() {
    local listing=$1 key=$2 name=$3
    # Through the environment: awk -v would read "\1" in a key as an escape.
    REG_KEY="HKEY_CLASSES_ROOT\\$key" REG_NAME="$name" awk '
        BEGIN { key = ENVIRON["REG_KEY"]; name = ENVIRON["REG_NAME"] }
        /^HKEY_/ { inside = (tolower($0) == tolower(key)); next }
        inside && /^    / {
            line = substr($0, 5)
            split(line, parts, /    /)
            if (parts[1] == name) {
                value = substr(line, length(parts[1]) + length(parts[2]) + 9)
                print value
                found = 1
                exit
            }
        }
        END { exit found ? 0 : 1 }' <<<"$listing"
}

expect_value() {
    local listing=$1 key=$2 name=$3 expected=$4 label=$5
    local got
    if ! got=$(reg_value "$listing" "$key" "$name"); then
        fail "$label" "HKCR\\$key $name missing"
    elif [ "$got" != "$expected" ]; then
        fail "$label" "HKCR\\$key $name is \"$got\", expected \"$expected\""
    else
        pass "$label"
    fi
}

query_root() { wine_reg_query "HKCR\\$1" /s "$2" 2>/dev/null | tr -d '\r'; }

# Runs the checks program under Wine; its own lines count as ours.
run_checks_program() {
    local arch=$1 output rc line
    shift
    output=$(wine_run 180 "$(checks_of "$arch")" "$@" 2>&1)
    rc=$?
    output=${output//$'\r'/}
    while IFS= read -r line; do
        case $line in
            "ok "*) pass "$arch: ${line#ok }" ;;
            "FAIL "*) fail "$arch: ${line#FAIL }" ;;
        esac
    done <<<"$output"
    if ! grep -qE '^[0-9]+ passed, [0-9]+ failed$' <<<"$output"; then
        fail "$arch: the checks program $* ran to its end (exit $rc)" "$(tail -3 <<<"$output")"
    fi
}

wine_checks_for() {
    local arch=$1 view regsvr syskind
    local ocx winocx
    ocx=$(ocx_of "$arch")
    if [ "$arch" = i686 ]; then
        view=/reg:32; regsvr='C:\windows\syswow64\regsvr32.exe'; syskind=win32
    else
        view=/reg:64; regsvr='C:\windows\system32\regsvr32.exe'; syskind=win64
    fi
    winocx=$(wine_winpath "$ocx")

    wine_run 60 "$regsvr" /s "$winocx"
    local rc=$?
    check "$arch: regsvr32 registers the module (exit $rc)" test "$rc" -eq 0

    if [ "$arch" = i686 ]; then
        # A 32-bit module is for 32-bit hosts: its class is in their view only.
        if wine_reg_query "HKCR\\CLSID\\$CLSID" /reg:64 >/dev/null 2>&1; then
            fail "$arch: the class is registered in the 32-bit view only"
        else
            pass "$arch: the class is registered in the 32-bit view only"
        fi
    fi

    local clsid_keys progid_keys typelib_keys dispatch_keys events_keys
    clsid_keys=$(query_root "CLSID\\$CLSID" "$view")
    progid_keys=$(query_root "$PROGID" "$view")
    typelib_keys=$(query_root "TypeLib\\$LIBID" "$view")
    dispatch_keys=$(query_root "Interface\\$DIID" "$view")
    events_keys=$(query_root "Interface\\$EVENTS_DIID" "$view")
    local c="CLSID\\$CLSID"
    while IFS='|' read -r listing key name expected; do
        expect_value "${!listing}" "$key" "$name" "$expected" "$arch: HKCR\\$key $name"
    done <<EOF_TABLE
clsid_keys|$c|(Default)|QTA1 Control
clsid_keys|$c\\Node\\ProgramID|(Default)|90 51 54 41 31 5F 31 72
clsid_keys|$c\\Node\\TestID|(Default)|%1
clsid_keys|$c\\ProgID|(Default)|$PROGID
clsid_keys|$c\\InprocServer32|(Default)|$winocx
clsid_keys|$c\\InprocServer32|ThreadingModel|Apartment
clsid_keys|$c\\ToolboxBitmap32|(Default)|$winocx, 1
clsid_keys|$c\\MiscStatus|(Default)|0
clsid_keys|$c\\MiscStatus\\1|(Default)|131473
clsid_keys|$c\\Control|(Default)|
clsid_keys|$c\\TypeLib|(Default)|$LIBID
clsid_keys|$c\\Version|(Default)|1.0
progid_keys|$PROGID|(Default)|QTA1 Control
progid_keys|$PROGID\\CLSID|(Default)|$CLSID
typelib_keys|TypeLib\\$LIBID\\1.0|(Default)|QTA1 ActiveX Control module
typelib_keys|TypeLib\\$LIBID\\1.0\\0\\$syskind|(Default)|$winocx
dispatch_keys|Interface\\$DIID|(Default)|_DQTA1
dispatch_keys|Interface\\$DIID\\TypeLib|(Default)|$LIBID
events_keys|Interface\\$EVENTS_DIID|(Default)|_DQTA1Events
events_keys|Interface\\$EVENTS_DIID\\TypeLib|(Default)|$LIBID
EOF_TABLE

    # The library flags, in decimal, include the control flag (2).
    local flags
    flags=$(reg_value "$typelib_keys" "TypeLib\\$LIBID\\1.0\\FLAGS" "(Default)")
    check "$arch: HKCR\\TypeLib\\$LIBID\\1.0\\FLAGS marks a control library ($flags)" \
        test $((${flags:-0} & 2)) -eq 2

    run_checks_program "$arch"

    # Every root and the Node key, found while registered (the queries work)...
    local root
    for root in "${ROOTS[@]}" "CLSID\\$CLSID\\Node"; do
        check "$arch: while registered, a query finds HKCR\\$root" \
            wine_reg_query "HKCR\\$root" "$view" >/dev/null 2>&1
    done
    wine_run 60 "$regsvr" /u /s "$winocx"
    rc=$?
    check "$arch: regsvr32 /u unregisters the module (exit $rc)" test "$rc" -eq 0
    # ...and gone afterwards.
    for root in "${ROOTS[@]}" "CLSID\\$CLSID\\Node"; do
        if wine_reg_query "HKCR\\$root" "$view" >/dev/null 2>&1; then
            fail "$arch: after unregistration HKCR\\$root is gone" "still there"
        else
            pass "$arch: after unregistration HKCR\\$root is gone"
        fi
    done
    run_checks_program "$arch" --unregistered "$winocx"
}

if [ "${1:-}" = "--inside-xvfb" ]; then
    shift
    source scripts/wine-env.sh
    if wine_session_begin; then
        pass "Wine prefix and session ready"
        for arch in "$@"; do wine_checks_for "$arch"; done
    else
        fail "Wine prefix and session ready"
    fi
    wine_session_end
    finish
fi

# ---------------------------------------------------------------------------------
# Outside: build, imports and size, then the Wine session, then the sheet checks.
# ---------------------------------------------------------------------------------

arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(i686 x86_64)
started=$(date +%s)

for arch in "${arches[@]}"; do
    if cmake --preset "mingw-$arch" >/dev/null && cmake --build --preset "mingw-$arch"; then
        pass "$arch: build"
    else
        fail "$arch: build"
        finish
    fi
    ocx=$(ocx_of "$arch")
    size=$(stat -c %s "$ocx")
    imports=$("$arch-w64-mingw32-objdump" -p "$ocx" | awk '/DLL Name:/ { print tolower($3) }' | sort)
    echo "QTA1.OCX ($arch): $size bytes; imports: $(echo $imports)"
    foreign=""
    for dll in $imports; do
        [[ "$SYSTEM_DLLS" == *" $dll "* ]] || foreign+=" $dll"
    done
    if [ -z "$foreign" ] && [ -n "$imports" ]; then
        pass "$arch: imports system DLLs only"
    else
        fail "$arch: imports system DLLs only" "also imports:$foreign"
    fi
    check "$arch: module under 1 MB ($size bytes)" test "$size" -lt 1048576
    # A self-registering control exports these four and nothing else: no
    # test entry point reaches the sheet from outside.
    exports=$("$arch-w64-mingw32-objdump" -p "$ocx" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
        table && /^[ \t]*\[/ { print $NF; next }
        table { table = 0 }' | sort | tr '\n' ' ')
    echo "QTA1.OCX ($arch) exports: $exports"
    check "$arch: exports only the self-registration entry points" \
        test "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "
    # Traces are the test host's: their words ("msgbox ", "open-dialog") are
    # nowhere in the shipped module.
    if grep -a -q -e 'msgbox ' -e 'open-dialog' -e 'save-dialog' "$ocx"; then
        fail "$arch: the module carries no trace writer"
    else
        pass "$arch: the module carries no trace writer"
    fi
done

# Whether docs/performance.md quotes these modules' figures (a notice, not a
# check: scripts/module-figures.sh writes them).
[ ${#arches[@]} -eq 2 ] && scripts/module-figures.sh --check | head -1

wine_started=$(date +%s)
# The session's own lines are counted there; its totals are taken over.
run_counted "the Wine session ran to its end" \
    timeout --kill-after=10 270 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$0" --inside-xvfb "${arches[@]}"

if [ -x scripts/test-wine-sheet.sh ]; then
    run_counted "scripts/test-wine-sheet.sh ran to its end" scripts/test-wine-sheet.sh
fi
if [ -x scripts/test-wine-packages.sh ]; then
    run_counted "scripts/test-wine-packages.sh ran to its end" \
        scripts/test-wine-packages.sh "${arches[@]}"
fi

echo "Wine part: $(($(date +%s) - wine_started)) s; everything: $(($(date +%s) - started)) s"
finish

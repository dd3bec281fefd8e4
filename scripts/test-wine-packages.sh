#!/usr/bin/env bash
# Checks the Windows Installer packages (scripts/package.sh) as a technician
# and an IT department use them: QTA1-<version>-x64.msi for 64-bit Windows
# (x86_64) and QTA1-<version>-x86.msi for 32-bit Windows (i686).
#  - Both packages and those of the next release build; neither has a SelfReg
#    table or a custom action that runs a module (msiinfo); each holds the
#    modules and the settings editor QTA1Edit.exe with the plug-in's version.
#  - Signing: with a throwaway certificate from openssl the script signs both
#    modules, both editors and both packages, and osslsigncode verifies all
#    six; without one it says in one line that it built them unsigned, and
#    they do not verify.
#  - Under Wine, in fresh prefixes of their own (build/wine/packages/; a
#    64-bit Windows for x64, a 32-bit Windows for x86): regsvr32 registers
#    the modules in one prefix, `msiexec /i ... /qn` installs the package in
#    another, and every key and value below the control's roots is the same
#    in every registry view (the modules' folders aside). Then, in the
#    package's prefix: the modules in their program folders; the settings
#    editor beside the module of the package's Windows, with the Start-menu
#    shortcut "QTA1 Settings Editor" pointing at it; one entry in Programs and
#    Features; `CreateObject("QTA1.QTA1Ctrl.1")` and AboutBox from the script
#    host of each bitness; the sheet opened through the installed module by
#    the substitute host (each bitness), giving a scenario's expected trace;
#    installing the same package again repairs a deleted module, a deleted
#    key and a deleted shortcut; the next release replaces it (one entry, its
#    modules and editor, the same keys); the older package then refuses with
#    its message (shown by `msiexec /qb`); the package for the other Windows
#    refuses; `msiexec /x` leaves no key and no file of ours, neither the
#    editor nor its shortcut. A backup file in %LOCALAPPDATA%\QTA1 and a
#    choice under HKCU\Software\QTA1\Plugin, placed before the install, are
#    still there after install, upgrade and removal.
# The last line is "N passed, M failed"; the exit code is non-zero on any failure.
#
# Usage: scripts/test-wine-packages.sh [i686|x86_64]...   (both when none is named)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
repo=$(pwd)

source scripts/checks.sh

packages=$repo/build/package
next_packages=$repo/build/package-next
signed_packages=$repo/build/package-signed
prefixes=$repo/build/wine/packages
entries=$repo/build/native/qta1-package-entries
product_name="QTA1 configuration plug-in"

version_of() {
    sed -n 's/^#define QTA1_VERSION_TEXT "\(.*\)"$/\1/p' "$repo/build/mingw-x86_64$1/generated/resources/version.h"
}

# The package of one Windows: x64 for the x86_64 checks, x86 for the i686 ones.
platform_of() { [ "$1" = x86_64 ] && echo x64 || echo x86; }
msi_of() { echo "$1/QTA1-$2-$3.msi"; }   # FOLDER VERSION PLATFORM

# ---------------------------------------------------------------------------------
# Inside one Xvfb session.
# ---------------------------------------------------------------------------------

# Windows Installer's exit codes as Wine hands them to the shell (modulo 256).
EXIT_INSTALL_FAILURE=$((1603 % 256))         # a launch condition refused
EXIT_PLATFORM_UNSUPPORTED=$((1633 % 256))    # a package for another processor

# Starts a fresh prefix: 64-bit Windows (win64) or 32-bit Windows (win32).
active_prefix=""
fresh_prefix() {
    local name=$1 arch=$2
    [ -n "$active_prefix" ] && wine_session_end
    export WINEPREFIX=$prefixes/$name WINEARCH=$arch
    active_prefix=$WINEPREFIX
    # A server left from an interrupted run belongs to the old folder: stop it
    # before the folder goes, or nothing can reach it afterwards.
    [ -d "$WINEPREFIX" ] && timeout --kill-after=5 30 wineserver -k >/dev/null 2>&1
    rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
    wine_session_begin
}

# Every key and value below the control's roots in one registry view, sorted,
# a line each: "KEY" for a key, "KEY | NAME | TYPE | DATA" for a value. The
# modules' paths and folders are named for what they are (M64, F64, M32, F32
# in the environment); a folder counts with or without its closing backslash.
registry_picture() {
    local view=$1 root
    for root in "${ROOTS[@]}"; do
        # shellcheck disable=SC2086  # no view flag on a 32-bit Windows
        wine_reg_query "HKCR\\$root" /s $view 2>/dev/null | tr -d '\r'
    done | awk '
        function swap(text, from, to,   at, out) {
            if (from == "") return text
            out = ""
            while ((at = index(text, from)) > 0) {
                out = out substr(text, 1, at - 1) to
                text = substr(text, at + length(from))
            }
            return out text
        }
        function named(data) {
            if (ENVIRON["F64"] != "" && (data == ENVIRON["F64"] || data == ENVIRON["F64"] "\\"))
                return "<64-bit folder>"
            if (ENVIRON["F32"] != "" && (data == ENVIRON["F32"] || data == ENVIRON["F32"] "\\"))
                return "<32-bit folder>"
            data = swap(data, ENVIRON["M64"], "<64-bit module>")
            return swap(data, ENVIRON["M32"], "<32-bit module>")
        }
        /^HKEY_CLASSES_ROOT/ { key = "HKCR" substr($0, 18); print key; next }
        /^    / {
            line = substr($0, 5)
            at = index(line, "    ")
            name = substr(line, 1, at - 1)
            rest = substr(line, at + 4)
            at = index(rest, "    ")
            if (at > 0) { type = substr(rest, 1, at - 1); data = substr(rest, at + 4) }
            else { type = rest; data = "" }
            print key " | " name " | " type " | " named(data)
        }' | LC_ALL=C sort
}

# Sets M64/F64/M32/F32 to the modules' places: "installed" (the program
# folders) or "staged" (the packaged files, where regsvr32 registers them).
places() {
    local where=$1 bits path
    export M64="" F64="" M32="" F32=""
    for bits in "${BITS[@]}"; do
        if [ "$where" = installed ]; then
            path=$(installed_of "$bits")
        else
            path=$(wine_winpath "$(staged_of "$packages" "$bits")")
        fi
        if [ "$bits" = 64 ]; then M64=$path F64=${path%\\*}; else M32=$path F32=${path%\\*}; fi
    done
}

# Compares every registry view of this prefix with the reference pictures.
compare_registry() {
    local when=$1 view picture
    places installed
    for view in "${VIEWS[@]}"; do
        picture=$work/$ARCH-$when-${view#/reg:}.txt
        registry_picture "$view" >"$picture"
        if [ ! -s "$picture" ]; then
            fail "$ARCH: $when, the package's registry entries ${view:-(one view)}" "none found"
        elif diff -q "$work/$ARCH-regsvr32-${view#/reg:}.txt" "$picture" >/dev/null; then
            pass "$ARCH: $when, the registry ${view:-(one view)} holds exactly what regsvr32 writes ($(grep -c ' | ' "$picture") values)"
        else
            fail "$ARCH: $when, the registry ${view:-(one view)} holds exactly what regsvr32 writes" \
                "differences (- regsvr32, + package):"
            diff -u --label "regsvr32 ${view:-(one view)}" --label "package ${view:-(one view)}" \
                "$work/$ARCH-regsvr32-${view#/reg:}.txt" "$picture" | sed -n '3,40p'
        fi
    done
}

# The Programs and Features entries of the product: "COUNT VERSION...", from
# the native registry view (`wine reg` may be the 32-bit one).
product_entries() {
    # shellcheck disable=SC2086
    wine_reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s ${VIEWS[0]} 2>/dev/null |
        tr -d '\r' | awk -v name="$product_name" '
            /^HKEY_/ { if (ours) versions = versions " " version; ours = 0; version = "?"; next }
            $1 == "DisplayName" && substr($0, index($0, "REG_SZ") + 10) == name { ours = 1 }
            $1 == "DisplayVersion" { version = $3 }
            END { if (ours) versions = versions " " version; print split(versions, v, " ") versions }'
}

expect_entries() {
    local when=$1 expected=$2 got
    got=$(product_entries)
    if [ "$expected" = 0 ]; then
        check "$ARCH: $when, Programs and Features no longer lists the plug-in ($got)" \
            test "$got" = 0
    elif [ "$got" = "$expected" ]; then
        pass "$ARCH: $when, Programs and Features lists the plug-in ${expected#* } once"
    else
        fail "$ARCH: $when, Programs and Features lists the plug-in ${expected#* } once" \
            "entries: $got"
    fi
}

# The installed modules are the packaged ones of FOLDER.
expect_modules() {
    local when=$1 folder=$2 bits installed
    for bits in "${BITS[@]}"; do
        installed=$(wine_unixpath "$(installed_of "$bits")")
        if cmp -s "$installed" "$(staged_of "$folder" "$bits")"; then
            pass "$ARCH: $when, the $bits-bit module is in $(installed_of "$bits")"
        else
            fail "$ARCH: $when, the $bits-bit module is in $(installed_of "$bits")" \
                "missing or not the packaged one"
        fi
    done
}

# The settings editor of the package's Windows, beside that Windows' own
# module, and the packaged one of FOLDER; its shortcut "QTA1 Settings Editor"
# in the Start menu opens it.
editor_of() {
    local module
    module=$(installed_of "${BITS[0]}")
    echo "${module%\\*}\\QTA1Edit.exe"
}
staged_editor_of() { echo "$1/stage/$(platform_of "$ARCH")/QTA1Edit.exe"; }
# The shortcut's file: the Start menu of all users, where Windows Installer
# puts a per-machine package's shortcuts, or the user's, where Wine's puts
# them; empty when it is in neither.
editor_shortcut() {
    local programs file
    for programs in '%ProgramData%' '%APPDATA%'; do
        programs=$(wine_run 30 cmd /c "echo $programs\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')
        file="$(wine_unixpath "$programs")/QTA1 Settings Editor.lnk"
        if [ -f "$file" ]; then
            echo "$file"
            return
        fi
    done
}
# What a shortcut opens: the local path its link information names.
shortcut_target() { LC_ALL=C grep -aoE '[A-Za-z]:\\[^[:cntrl:]]+' "$1" | head -1; }
expect_editor() {
    local when=$1 folder=$2 editor shortcut target
    editor=$(editor_of)
    if cmp -s "$(wine_unixpath "$editor")" "$(staged_editor_of "$folder")"; then
        pass "$ARCH: $when, the settings editor is in $editor"
    else
        fail "$ARCH: $when, the settings editor is in $editor" "missing or not the packaged one"
    fi
    shortcut=$(editor_shortcut)
    [ -n "$shortcut" ] && target=$(shortcut_target "$shortcut") || target=""
    if [ "$target" = "$editor" ]; then
        pass "$ARCH: $when, the Start menu's \"QTA1 Settings Editor\" opens $editor"
    else
        fail "$ARCH: $when, the Start menu's \"QTA1 Settings Editor\" opens $editor" \
            "${shortcut:+it opens }${target:-no such shortcut}"
    fi
}
editor_gone() {
    local when=$1 left=""
    [ -e "$(wine_unixpath "$(editor_of)")" ] && left+=" $(editor_of)"
    [ -n "$(editor_shortcut)" ] && left+=" the Start menu's \"QTA1 Settings Editor\""
    if [ -z "$left" ]; then
        pass "$ARCH: $when, neither the settings editor nor its shortcut is left"
    else
        fail "$ARCH: $when, neither the settings editor nor its shortcut is left" "left:$left"
    fi
}

# What the technician keeps: a choice and a backup file, placed before the
# install, compared after each step.
technician_data_place() {
    wine_run 30 reg add 'HKCU\Software\QTA1\Plugin' /v BackUpFirst /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
    local local_app_data
    local_app_data=$(wine_unixpath "$(wine_run 30 cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')")
    backup="$local_app_data/QTA1/QTA1 Sim/QTA1 Sim 2026-12-08 10-00-00.txt"
    mkdir -p "$(dirname "$backup")"
    printf 'Node settings kept for the technician\r\n' >"$backup"
}
technician_data_kept() {
    local when=$1 choice
    choice=$(wine_reg_query 'HKCU\Software\QTA1\Plugin' /v BackUpFirst 2>/dev/null | tr -d '\r' |
        awk '$1 == "BackUpFirst" { print $3 }')
    if [ "$choice" = 0x0 ] && [ "$(cat "$backup" 2>/dev/null)" = $'Node settings kept for the technician\r' ]; then
        pass "$ARCH: $when, the technician's backup in %LOCALAPPDATA%\\QTA1 and choice under HKCU\\Software\\QTA1\\Plugin are kept"
    else
        fail "$ARCH: $when, the technician's backup in %LOCALAPPDATA%\\QTA1 and choice under HKCU\\Software\\QTA1\\Plugin are kept" \
            "choice \"$choice\", backup $( [ -f "$backup" ] && echo changed || echo gone)"
    fi
}

msiexec() { wine_run 180 msiexec "$@"; }

# Reads and closes a dialog another process shows (the module checks program
# of `bits`); its texts go to FILE, its own checks count as ours.
answer_dialog() {
    local bits=$1 title=$2 file=$3
    wine_run 90 "$(checks_of "$bits")" --answer-dialog "$title" 2>&1 | tr -d '\r' >"$file"
}
count_answer() {
    local file=$1 line
    while IFS= read -r line; do
        case $line in
            "ok "*) pass "$ARCH: ${line#ok }" ;;
            "FAIL "*) fail "$ARCH: ${line#FAIL }" ;;
        esac
    done <"$file"
}

# CreateObject and AboutBox from the script host of `bits`.
script_host_creates() {
    local bits=$1 out=$work/$ARCH-cscript-$bits.out answer=$work/$ARCH-about-$bits.out rc
    answer_dialog "$bits" "About QTA1 Control" "$answer" &
    local answering=$!
    wine_run 120 "$(cscript_of "$bits")" //nologo "$(wine_winpath "$repo/tests/win32/package/create_control.vbs")" \
        2>&1 | tr -d '\r' >"$out"
    rc=${PIPESTATUS[0]}
    wait "$answering"
    if [ "$rc" -eq 0 ] && grep -qx 'AboutBox returned' "$out"; then
        pass "$ARCH: the $bits-bit script host creates QTA1.QTA1Ctrl.1 and shows its AboutBox"
    else
        fail "$ARCH: the $bits-bit script host creates QTA1.QTA1Ctrl.1 and shows its AboutBox" \
            "exit $rc: $(tr '\n' ' ' <"$out")"
    fi
    count_answer "$answer"
    if grep -qx 'text "QTA1 Control, Version 1.0"' "$answer" &&
        grep -q "version $VERSION\"\$" "$answer"; then
        pass "$ARCH: the $bits-bit script host's AboutBox says version $VERSION"
    else
        fail "$ARCH: the $bits-bit script host's AboutBox says version $VERSION" \
            "$(grep '^text' "$answer" | tr '\n' ' ')"
    fi
}

# The substitute host of `bits` opens the sheet through the installed module.
host_opens_installed() {
    local bits=$1 out=$work/$ARCH-host-$bits.out err=$work/$ARCH-host-$bits.err rc
    local scenario=tests/scenarios/pid_edit.scn
    (cd "$work" && wine_run 90 "$(host_of "$bits")" --registered \
        --scenario "$(wine_winpath "$repo/$scenario")" >"$out" 2>"$err")
    rc=$?
    local module
    module=$(tr -d '\r' <"$err" | sed -n 's/^qta1host: the registered control is //p')
    if [ "$rc" -eq 0 ] && [ "$module" = "$(installed_of "$bits")" ] &&
        cmp -s <(expected_trace "${scenario%.scn}.expected") "$out"; then
        pass "$ARCH: the $bits-bit substitute host opens the sheet through $module ($(basename "$scenario"))"
    else
        fail "$ARCH: the $bits-bit substitute host opens the sheet through $(installed_of "$bits")" \
            "exit $rc, module \"$module\": $(tr -d '\r' <"$err" | tail -2 | tr '\n' ' ')"
        diff -u <(expected_trace "${scenario%.scn}.expected") "$out" | sed -n '3,12p'
    fi
}

roots_gone() {
    local when=$1 view root left=""
    for view in "${VIEWS[@]}"; do
        for root in "${ROOTS[@]}"; do
            # shellcheck disable=SC2086
            wine_reg_query "HKCR\\$root" $view >/dev/null 2>&1 && left+=" HKCR\\$root ${view:-}"
        done
    done
    if [ -z "$left" ]; then
        pass "$ARCH: $when, no key of ours is left in any registry view"
    else
        fail "$ARCH: $when, no key of ours is left in any registry view" "left:$left"
    fi
    local bits folder files=""
    for bits in "${BITS[@]}"; do
        folder=$(wine_unixpath "$(installed_of "$bits")")
        folder=${folder%/*}
        [ -e "$folder" ] && files+=" $folder"
    done
    if [ -z "$files" ]; then
        pass "$ARCH: $when, no file or folder of ours is left in the program folders"
    else
        fail "$ARCH: $when, no file or folder of ours is left in the program folders" "left:$files"
    fi
}

package_checks_for() {
    ARCH=$1
    local platform rc
    platform=$(platform_of "$ARCH")
    local msi next_msi other_msi
    msi=$(wine_winpath "$(msi_of "$packages" "$VERSION" "$platform")")
    next_msi=$(wine_winpath "$(msi_of "$next_packages" "$NEXT_VERSION" "$platform")")
    if [ "$ARCH" = x86_64 ]; then
        BITS=(64 32) VIEWS=(/reg:64 /reg:32)
        other_msi=$(wine_winpath "$(msi_of "$packages" "$VERSION" x86)")
        local windows=win64 other_exit=$EXIT_INSTALL_FAILURE other="32-bit Windows"
    else
        BITS=(32) VIEWS=("")
        other_msi=$(wine_winpath "$(msi_of "$packages" "$VERSION" x64)")
        local windows=win32 other_exit=$EXIT_PLATFORM_UNSUPPORTED other="64-bit Windows"
    fi

    # The reference: regsvr32 in a fresh prefix, the 64-bit module first.
    if ! fresh_prefix "regsvr32-$windows" "$windows"; then
        fail "$ARCH: a fresh $windows prefix for regsvr32"
        return
    fi
    local bits ok=1 view
    for bits in "${BITS[@]}"; do
        wine_run 60 "$(regsvr32_of "$bits")" /s "$(wine_winpath "$(staged_of "$packages" "$bits")")" ||
            ok=""
    done
    check "$ARCH: regsvr32 registers the packaged modules in a fresh prefix" test -n "$ok"
    places staged
    for view in "${VIEWS[@]}"; do
        registry_picture "$view" >"$work/$ARCH-regsvr32-${view#/reg:}.txt"
    done

    # The package, in another fresh prefix.
    if ! fresh_prefix "msiexec-$windows" "$windows"; then
        fail "$ARCH: a fresh $windows prefix for msiexec"
        return
    fi
    technician_data_place
    msiexec /i "$msi" /qn
    rc=$?
    check "$ARCH: msiexec /i $(basename "$msi") /qn installs it (exit $rc)" test "$rc" -eq 0
    compare_registry "installed"
    expect_modules "installed" "$packages"
    expect_editor "installed" "$packages"
    expect_entries "installed" "1 $VERSION"
    technician_data_kept "installed"
    for bits in "${BITS[@]}"; do script_host_creates "$bits"; done
    for bits in "${BITS[@]}"; do host_opens_installed "$bits"; done

    # Installing it again repairs what went missing.
    local lost_bits=${BITS[-1]} lost_view=${VIEWS[-1]}
    rm -f "$(wine_unixpath "$(installed_of "$lost_bits")")"
    local lost_shortcut
    lost_shortcut=$(editor_shortcut)
    [ -n "$lost_shortcut" ] && rm -f "$lost_shortcut"
    # shellcheck disable=SC2086
    wine_run 30 reg delete "HKCR\\CLSID\\$CLSID\\InprocServer32" /f $lost_view >/dev/null 2>&1
    msiexec /i "$msi" /qn
    rc=$?
    check "$ARCH: msiexec /i of the installed package again (exit $rc)" test "$rc" -eq 0
    compare_registry "repaired"
    expect_modules "repaired" "$packages"
    expect_editor "repaired" "$packages"
    expect_entries "repaired" "1 $VERSION"

    # The next release replaces it.
    msiexec /i "$next_msi" /qn
    rc=$?
    check "$ARCH: msiexec /i $(basename "$next_msi") /qn upgrades (exit $rc)" test "$rc" -eq 0
    expect_entries "upgraded" "1 $NEXT_VERSION"
    expect_modules "upgraded" "$next_packages"
    expect_editor "upgraded" "$next_packages"
    compare_registry "upgraded"
    technician_data_kept "upgraded"

    # The older package refuses, with its message.
    local answer=$work/$ARCH-downgrade.out
    answer_dialog "${BITS[0]}" "Install Failed" "$answer" &
    local answering=$!
    msiexec /i "$msi" /qb
    rc=$?
    wait "$answering"
    check "$ARCH: the older package refuses to install over the newer one (exit $rc)" \
        test "$rc" -eq "$EXIT_INSTALL_FAILURE"
    count_answer "$answer"
    if grep -q 'text "A newer version of the QTA1 configuration plug-in is already installed\.' "$answer"; then
        pass "$ARCH: the older package says a newer version is installed"
    else
        fail "$ARCH: the older package says a newer version is installed" \
            "$(grep '^text' "$answer" | tr '\n' ' ')"
    fi
    expect_entries "after the refused downgrade" "1 $NEXT_VERSION"
    expect_modules "after the refused downgrade" "$next_packages"
    expect_editor "after the refused downgrade" "$next_packages"

    # The package for the other Windows refuses.
    msiexec /i "$other_msi" /qn
    rc=$?
    check "$ARCH: the package for $other refuses to install (exit $rc)" test "$rc" -eq "$other_exit"
    expect_entries "after the refused package" "1 $NEXT_VERSION"

    # Removal leaves nothing of ours and keeps the technician's.
    msiexec /x "$next_msi" /qn
    rc=$?
    check "$ARCH: msiexec /x removes the plug-in (exit $rc)" test "$rc" -eq 0
    roots_gone "removed"
    editor_gone "removed"
    expect_entries "removed" 0
    technician_data_kept "removed"
}

if [ "${1:-}" = "--inside-xvfb" ]; then
    shift
    work=$1
    VERSION=$2
    NEXT_VERSION=$3
    shift 3
    source scripts/wine-env.sh
    # The packages' shortcuts stay in the prefixes: no menu entries on the
    # machine that runs the checks.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    wine_unixpath() { timeout --kill-after=5 30 winepath -u "$1" 2>/dev/null | tr -d '\r'; }
    mapfile -t ROOTS < <("$entries" roots)
    CLSID=${ROOTS[0]#CLSID\\}
    build_of() { [ "$1" = 64 ] && echo "$repo/build/mingw-x86_64" || echo "$repo/build/mingw-i686"; }
    host_of() { echo "$(build_of "$1")/sim/win32/qta1host.exe"; }
    checks_of() { echo "$(build_of "$1")/tests/win32/module/qta1_module_checks.exe"; }
    staged_of() { [ "$2" = 64 ] && echo "$1/stage/x64/QTA1.OCX" || echo "$1/stage/x86/QTA1.OCX"; }
    # Where each module goes and which system programs serve its bitness: on a
    # 64-bit Windows the 32-bit ones live in the 32-bit folders.
    installed_of() {
        if [ "$1" = 32 ] && [ "$WINEARCH" = win64 ]; then
            echo 'C:\Program Files (x86)\QTA1\QTA1.OCX'
        else
            echo 'C:\Program Files\QTA1\QTA1.OCX'
        fi
    }
    system_of() { [ "$1" = 32 ] && [ "$WINEARCH" = win64 ] && echo syswow64 || echo system32; }
    regsvr32_of() { echo "C:\\windows\\$(system_of "$1")\\regsvr32.exe"; }
    cscript_of() { echo "C:\\windows\\$(system_of "$1")\\cscript.exe"; }
    mkdir -p "$prefixes"
    for arch in "$@"; do package_checks_for "$arch"; done
    [ -n "$active_prefix" ] && wine_session_end
    # The prefixes are made afresh each run; 1 GB or more each.
    [ -n "${QTA1_KEEP_PREFIXES:-}" ] || rm -rf "$prefixes"
    finish
fi

# ---------------------------------------------------------------------------------
# Outside: the packages, what they hold, signing, then the Xvfb session.
# ---------------------------------------------------------------------------------

arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(i686 x86_64)
started=$(date +%s)

# The hosts and the checks program of both bitnesses (the 64-bit Windows runs both).
for arch in i686 x86_64; do
    if ! { cmake --preset "mingw-$arch" >/dev/null && cmake --build --preset "mingw-$arch" >/dev/null; }; then
        fail "$arch: the modules, hosts and checks program build"
        finish
    fi
done

out=$(scripts/package.sh 2>&1)
rc=$?
echo "$out"
check "the packages build (exit $rc)" test "$rc" -eq 0
check "an unsigned build says in one line that it is unsigned" \
    test "$(grep -c 'unsigned' <<<"$out")" -ge 1 -a "$(grep -c '^package.sh: no code-signing' <<<"$out")" -eq 1
out=$(scripts/package.sh --next --out "$next_packages" 2>&1)
rc=$?
check "the next release's packages build (exit $rc)" test "$rc" -eq 0
[ "$rc" -eq 0 ] || echo "$out"
VERSION=$(version_of "")
NEXT_VERSION=$(version_of -next)

# What each package holds: its modules and its settings editor with the
# plug-in's version, registry entries, and nothing that runs a module.
for platform in x64 x86; do
    msi=$(msi_of "$packages" "$VERSION" "$platform")
    tables=$(msiinfo tables "$msi" 2>/dev/null)
    check "$platform: the package has no SelfReg table" test -n "$tables" -a -z "$(grep -x SelfReg <<<"$tables")"
    # Custom action types: the low six bits say what it runs; 51 sets a property.
    actions=$(msiinfo export "$msi" CustomAction 2>/dev/null | tail -n +4 |
        awk -F'\t' '{ print $1 " " ($2 % 64) }')
    running=$(awk '$2 != 51' <<<"$actions")
    check "$platform: no custom action runs a module (every one sets a property: $(echo $actions))" \
        test -z "$running"
    files=$(msiinfo export "$msi" File 2>/dev/null | tail -n +4 | awk -F'\t' '{ print $3 "=" $5 }' |
        LC_ALL=C sort | uniq -c | awk '{ print $1 "x" $2 }' | paste -sd' ')
    [ "$platform" = x64 ] && expected="2xQTA1.OCX=$VERSION" || expected="1xQTA1.OCX=$VERSION"
    expected+=" 1xQTA1Edit.exe=$VERSION"
    check "$platform: the package holds its modules and its settings editor, version $VERSION ($files)" \
        test "$files" = "$expected"
done

# Signing with a throwaway certificate: all four files verify.
signing=$repo/build/package-signing
rm -rf "$signing" "$signed_packages"
mkdir -p "$signing"
printf 'throwaway\n' >"$signing/password"
if openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=QTA1 test signing" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$signing/key.pem" -in "$signing/cert.pem" \
        -passout "file:$signing/password" -out "$signing/signing.pfx" >/dev/null 2>&1; then
    pass "a throwaway code-signing certificate"
else
    fail "a throwaway code-signing certificate"
fi
out=$(scripts/package.sh --out "$signed_packages" --pfx "$signing/signing.pfx" \
    --password-file "$signing/password" 2>&1)
rc=$?
check "the packages build signed (exit $rc)" test "$rc" -eq 0 -a -z "$(grep -i unsigned <<<"$out")"
verifies() { osslsigncode verify -CAfile "$signing/cert.pem" -in "$1" >"$signing/verify.out" 2>&1; }
signed_files=("$signed_packages/stage/x86/QTA1.OCX" "$signed_packages/stage/x64/QTA1.OCX"
    "$signed_packages/stage/x86/QTA1Edit.exe" "$signed_packages/stage/x64/QTA1Edit.exe"
    "$(msi_of "$signed_packages" "$VERSION" x64)" "$(msi_of "$signed_packages" "$VERSION" x86)")
for file in "${signed_files[@]}"; do
    if verifies "$file"; then
        pass "signed: $(realpath --relative-to="$repo" "$file") verifies with the certificate"
    else
        fail "signed: $(realpath --relative-to="$repo" "$file") verifies with the certificate" \
            "$(tail -3 "$signing/verify.out" | tr '\n' ' ')"
    fi
done
# The packaged module is the signed one.
msiextract -C "$signing/extracted" "$(msi_of "$signed_packages" "$VERSION" x86)" >/dev/null 2>&1
check "signed: the x86 package holds the signed module" \
    cmp -s "$signed_packages/stage/x86/QTA1.OCX" "$(find "$signing/extracted" -name QTA1.OCX | head -1)"
check "signed: the x86 package holds the signed settings editor" \
    cmp -s "$signed_packages/stage/x86/QTA1Edit.exe" "$(find "$signing/extracted" -name QTA1Edit.exe | head -1)"
for file in "$packages/stage/x64/QTA1.OCX" "$packages/stage/x64/QTA1Edit.exe" \
    "$(msi_of "$packages" "$VERSION" x64)"; do
    if verifies "$file"; then
        fail "unsigned: $(realpath --relative-to="$repo" "$file") does not verify"
    else
        pass "unsigned: $(realpath --relative-to="$repo" "$file") does not verify"
    fi
done
echo "Package build and signing checks: $(($(date +%s) - started)) s"

wine_started=$(date +%s)
mkdir -p "$repo/build/wine"
work=$(mktemp -d "$repo/build/wine/packages-checks.XXXXXX")
trap 'rm -rf "$work"' EXIT
run_counted "the packages' Wine session ran to its end" \
    timeout --kill-after=10 900 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$0" --inside-xvfb "$work" "$VERSION" "$NEXT_VERSION" "${arches[@]}"
echo "Packages' Wine part: $(($(date +%s) - wine_started)) s"
finish

#!/usr/bin/env bash
# Shared Wine environment for the Windows module checks. Source it, do not run it:
#
#     source scripts/wine-env.sh
#     xvfb-run -a bash -c 'source scripts/wine-env.sh; wine_session_begin; ...; wine_session_end'
#
# Callers wrap a whole session (prefix creation included) in ONE `xvfb-run -a`, so
# that wineserver, explorer and every window share the same display. Inside it:
#   wine_session_begin      creates the prefix once, then starts a persistent wineserver
#   wine_run SECONDS cmd... runs `wine cmd...` under a timeout; returns wine's exit code
#                           (124 on timeout)
#   wine_reg_query ARGS...  `wine reg query ARGS...` under a timeout
#   wine_winpath PATH       the Windows form (Z:\...) of a Unix path
#   wine_set_dpi DPI        sets the display's DPI of this prefix and restarts the
#                           session when it changed (Wine reads it at start-up)
#   wine_session_end        stops this prefix's wineserver (and every process in it)
#
# One win64 (WoW64) prefix serves both bitnesses: 32-bit modules register under the
# 32-bit registry view, so query them with `/reg:32`.
#
# The prefix defaults to build/wine/prefix in the repository. Two sessions that run at
# the same time must use different prefixes: set QTA1_WINEPREFIX before sourcing.

QTA1_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QTA1_REPO
source "$QTA1_REPO/scripts/utf8-locale.sh"
export WINEPREFIX="${QTA1_WINEPREFIX:-$QTA1_REPO/build/wine/prefix}"
export WINEARCH=win64
export WINEDEBUG="${QTA1_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# No desktop integration: no menu entries or file associations on the build machine.
export WINE_NO_DESKTOP_INTEGRATION=1

# Runs wine under a timeout. The first argument is the limit in seconds.
wine_run() {
    local limit="$1"
    shift
    timeout --kill-after=5 "$limit" wine "$@"
}

wine_reg_query() {
    timeout --kill-after=5 30 wine reg query "$@"
}

wine_winpath() {
    timeout --kill-after=5 30 winepath -w "$1" 2>/dev/null | tr -d '\r'
}

# Creates the prefix on first use: wineboot, then the two settings that keep unattended
# runs from hanging (no crash dialog) and give windows title bars under Xvfb. A marker
# file records that both steps finished; a lock keeps two sessions from creating the
# same prefix at once.
wine_prefix_ensure() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    local marker="$WINEPREFIX/.qta1-ready"
    (
        flock 9
        if [ -f "$marker" ]; then
            exit 0
        fi
        echo "wine-env: creating prefix $WINEPREFIX" >&2
        rm -rf "$WINEPREFIX"
        timeout --kill-after=5 180 wineboot -i >/dev/null 2>&1 || {
            echo "wine-env: wineboot -i failed" >&2
            exit 1
        }
        timeout --kill-after=5 30 wine reg add 'HKCU\Software\Wine\WineDbg' \
            /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || exit 1
        timeout --kill-after=5 30 wine reg add 'HKCU\Software\Wine\X11 Driver' \
            /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || exit 1
        timeout --kill-after=5 60 wineserver -w
        touch "$marker"
    ) 9>"$WINEPREFIX.lock"
}

# Wine's own TrueType fonts (Tahoma for "MS Shell Dlg", Marlett for the caption
# buttons) from the fonts-wine package, where Wine looks for a Windows' fonts:
# without them text falls back to a wider font and captions are clipped.
wine_fonts_ensure() {
    local fonts=/usr/share/wine/fonts font
    [ -d "$fonts" ] || return 0
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    for font in "$fonts"/*.ttf; do
        [ -e "$WINEPREFIX/drive_c/windows/Fonts/$(basename "$font")" ] ||
            ln -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
}

wine_session_begin() {
    if [ -z "${DISPLAY:-}" ]; then
        echo "wine-env: no DISPLAY; wrap the session in xvfb-run -a" >&2
        return 1
    fi
    # A wineserver left over from an earlier session may hold an explorer bound to a
    # display that no longer exists: stop it first.
    timeout --kill-after=5 30 wineserver -k >/dev/null 2>&1 || true
    wine_prefix_ensure || return 1
    wine_fonts_ensure
    timeout --kill-after=5 30 wineserver -p >/dev/null 2>&1 || true
}

wine_session_end() {
    timeout --kill-after=5 30 wineserver -k >/dev/null 2>&1 || true
    timeout --kill-after=5 30 wineserver -w >/dev/null 2>&1 || true
}

wine_set_dpi() {
    local dpi=$1 current
    current=$(wine_reg_query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null |
        tr -d '\r' | awk '/LogPixels/ { print $3 }')
    [ -n "$current" ] && [ "$((current))" = "$dpi" ] && return 0
    timeout --kill-after=5 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || return 1
    timeout --kill-after=5 30 wine reg add 'HKCC\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || return 1
    wine_session_end
    wine_session_begin
}

#!/usr/bin/env bash
# The main job: builds QTA1.OCX and the substitute host, registers the module
# under Wine and opens the "QTA1" sheet on the built-in simulated node, the
# way a technician's host application would.
#  - With a display (DISPLAY set), the sheet opens there; close it with "Exit".
#    The host's trace of every host call goes to build/demo/trace.txt.
#  - Without one, it runs under Xvfb, saves a picture of the open sheet to
#    build/demo/sheet.png and says so.
# Either way it then runs the headless scenario tests/scenarios/pid_edit.scn
# (switch to the technician set, change a PID value, write it) and prints its
# trace after a short legend. Another scenario: scripts/demo.sh path/to/scenario.scn
# (a relative path is taken from the folder the demo is started in).
set -euo pipefail
# The scenario as the caller named it, before leaving the caller's folder.
scenario=""
if [ $# -gt 0 ] && [ "$1" != "--inside-xvfb" ]; then
  scenario=$(realpath -- "$1")
  if [ ! -f "$scenario" ]; then
    echo "demo: no scenario file $1" >&2
    exit 1
  fi
fi
cd "$(dirname "$0")/.."
source scripts/utf8-locale.sh
bin="$PWD/build/mingw-x86_64/sim/win32"
out="$PWD/build/demo"

# One Wine session: register the module, then open the sheet in the host. The
# demo has a prefix of its own, so that its registration never meets the
# test command's checks of a clean registry.
session() {
  export QTA1_WINEPREFIX="$PWD/build/wine/demo-prefix"
  source scripts/wine-env.sh
  wine_session_begin
  wine_run 60 regsvr32 /s "$(wine_winpath "$bin/QTA1.OCX")"
  if [ "$1" = snapshot ]; then
    wine_run 120 "$bin/qta1host.exe" --snapshot "$(wine_winpath "$out/sheet.bmp")"
  else
    wine "$bin/qta1host.exe" --open --trace "$(wine_winpath "$out/trace.txt")"
  fi
  wine_session_end
}
if [ "${1:-}" = "--inside-xvfb" ]; then
  session snapshot
  exit
fi

scripts/install-deps.sh $(cat scripts/native-packages.txt)
scripts/install-windows-deps.sh

echo "== building QTA1.OCX and qta1host.exe (x86_64)"
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 --target qta1host >/dev/null
mkdir -p "$out"

if [ -n "${DISPLAY:-}" ]; then
  echo "== opening the sheet on $DISPLAY (close it with Exit; the host closes with it)"
  session open
  echo "The host's trace of every host call is in build/demo/trace.txt"
else
  echo "== no display: opening the sheet under Xvfb"
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-xvfb
  convert "$out/sheet.bmp" "$out/sheet.png"
  echo "A picture of the open sheet is in build/demo/sheet.png"
fi

echo "== the headless plug-in on a scenario"
cmake --preset native >/dev/null
cmake --build --preset native --target qta1-sim >/dev/null
cat <<'LEGEND'
How to read the trace: each line starts with the virtual time in seconds.
  "> ..." is what the technician does, "= ..." what the sheet shows then (tabs, a page's controls);
  ReadNv / WriteNv / ReadNodeName are the plug-in's host calls with their bytes and status (0 = done);
  "sleep", "timer", "caption", "msgbox", "open-dialog" and "save-dialog" lines: its waits and what it shows.
LEGEND
build/native/qta1-sim "${scenario:-tests/scenarios/pid_edit.scn}"

#!/usr/bin/env bash
# The main job: builds the plug-in and runs it against the built-in simulated
# node. Opens the sheet, switches to the technician set, edits a PID value,
# writes it and prints everything the node and the technician saw.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh $(cat scripts/native-packages.txt)
cmake --preset native >/dev/null
cmake --build --preset native --target qta1-sim
build/native/qta1-sim "${1:-tests/scenarios/pid_edit.scn}"

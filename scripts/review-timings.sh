#!/usr/bin/env bash
# Times "Read from file" and "Default settings" with backup and preview,
# verification, both and neither, on the simulated node: how long each flow
# keeps the technician waiting, how much of it is the node protocol's own
# waits (the selector's 200 ms, the 250 ms after a part selection, the
# factory settings' waits), how many parts it reads and how many NVs and
# parts it writes. The node differs from the file, and from the factory
# settings, in one box (P of the heating loop, in part 8), so a reviewed flow
# writes that part only. The figures are virtual time, so the ratio of the
# two says whether the plug-in waits anywhere the protocol does not ask it
# to. Prints a Markdown table for docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native --target qta1-sim >/dev/null
sim=build/native/qta1-sim
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A file that changes P of the heating loop, saved from the node itself.
scenario() {  # flow backup verify
    local flow=$1 backup=$2 verify=$3
    cat <<SCN
node animate off
trace off
open
wait 100
click "Technician"
tab "Import / Export"
node part 8 = 08 00 19
file "C:\\\\target.txt"
click "Save to file"
node part 8 = 08 00 $([ "$flow" = download ] && echo 0A || echo 19)
$([ "$backup" = off ] && echo 'click "Back up and preview first"')
$([ "$verify" = off ] && echo 'click "Verify after writing"')
type "Password" = "Tarvel"
trace on
$([ "$flow" = download ] && printf '%s\n' 'file "C:\\target.txt"' 'answer yes')
$([ "$backup" = on ] && echo 'answer yes')
click "$([ "$flow" = download ] && echo 'Read from file' || echo 'Default settings')"
exit
SCN
}

echo "| Flow | Backup and preview | Verify | Time | Protocol waits | Ratio | Parts read | Written |"
echo "|---|---|---|---|---|---|---|---|"
for flow in download factory; do
    for backup in off on; do
        for verify in off on; do
            scenario "$flow" "$backup" "$verify" >"$work/s.scn"
            "$sim" "$work/s.scn" >"$work/trace.txt"
            awk -v flow="$flow" -v backup="$backup" -v verify="$verify" '
                / > click "(Read from file|Default settings)"/ { start = $1; on = 1; next }
                on && /sheet closes/ { end = $1; on = 0 }
                on && / sleep / { waits += $3 }
                on && /ReadNv\(56, 31\)/ { partReads++ }
                on && /WriteNv\(56, / { written++; next }
                on && /WriteNv\(55, / { next }
                on && /WriteNv\(/ { written++ }
                END {
                    time = (end - start) * 1000
                    name = "Default settings"
                    if (flow == "download") name = "Read from file"
                    ratio = 0
                    if (waits > 0) ratio = time / waits
                    printf "| %s | %s | %s | %.1f s | %.1f s | %.2f | %d | %d |\n", name, backup,
                        verify, time / 1000, waits / 1000, ratio, partReads, written
                }' "$work/trace.txt"
        done
    done
done

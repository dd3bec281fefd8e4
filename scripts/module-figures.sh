#!/usr/bin/env bash
# Writes the Windows module's figures into docs/performance.md from the build:
# the size, imports and exports of QTA1.OCX for both bitnesses and the size of
# the two installer packages, between the markers "<!-- module figures -->"
# and "<!-- end of module figures -->". Builds the modules and the packages
# first (presets mingw-i686 and mingw-x86_64, scripts/package.sh).
# Usage: scripts/module-figures.sh [--check]   (--check: only say whether the
#        figures in the document are those of the build; exit 1 when not)
set -euo pipefail
cd "$(dirname "$0")/.."
doc=docs/performance.md

table() {
    echo "| Module | Size (target under 1 MB) | Imports (target: system DLLs only) | Exports |"
    echo "|---|---|---|---|"
    local arch label ocx size imports exports
    for arch in i686 x86_64; do
        [ "$arch" = i686 ] && label="i686 (32-bit hosts)" || label="x86_64 (64-bit hosts)"
        ocx=build/mingw-$arch/src/platform/win32/QTA1.OCX
        size=$(stat -c %s "$ocx" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta')
        imports=$("$arch-w64-mingw32-objdump" -p "$ocx" |
            awk '/DLL Name:/ { n = tolower($3); sub(/\.dll$/, "", n); print n }' | sort | paste -sd, - |
            sed 's/,/, /g')
        exports=$("$arch-w64-mingw32-objdump" -p "$ocx" | awk '
            /^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
            table && /^[ \t]*\[/ { print $NF; next }
            table { table = 0 }' | sort | paste -sd, - | sed 's/,/, /g')
        echo "| $label | $size bytes | $imports | $exports |"
    done
    echo
    echo "| Package | Size | Holds |"
    echo "|---|---|---|"
    local platform msi holds version
    version=$(sed -n 's/^#define QTA1_VERSION_TEXT "\(.*\)"$/\1/p' \
        build/mingw-x86_64/generated/resources/version.h)
    for platform in x64 x86; do
        msi=build/package/QTA1-$version-$platform.msi
        [ "$platform" = x64 ] && holds="both modules (64-bit Windows)" ||
            holds="the i686 module (32-bit Windows)"
        size=$(stat -c %s "$msi" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta')
        echo "| QTA1-<version>-$platform.msi | $size bytes | $holds |"
    done
}

for arch in i686 x86_64; do
    cmake --preset "mingw-$arch" >/dev/null
    cmake --build --preset "mingw-$arch" --target qta1_ocx >/dev/null
done
scripts/package.sh >/dev/null
figures=$(table)
current=$(sed -n '/^<!-- module figures -->$/,/^<!-- end of module figures -->$/p' "$doc" |
    sed '1d;$d')
if [ "${1:-}" = "--check" ]; then
    if [ "$figures" = "$current" ]; then
        echo "docs/performance.md quotes this build's module figures"
        exit 0
    fi
    echo "docs/performance.md quotes other module figures than this build's:"
    echo "$figures"
    exit 1
fi
FIGURES="$figures" awk '
    /^<!-- module figures -->$/ { print; print ENVIRON["FIGURES"]; skip = 1; next }
    /^<!-- end of module figures -->$/ { skip = 0 }
    !skip { print }' "$doc" >"$doc.new"
mv "$doc.new" "$doc"
echo "$figures"

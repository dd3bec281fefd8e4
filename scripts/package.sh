#!/usr/bin/env bash
# Builds the plug-in's Windows Installer packages with wixl (src/package/qta1.wxs):
#   QTA1-<version>-x64.msi  for 64-bit Windows: QTA1.OCX for 32-bit and for
#                           64-bit hosts, each registered in its registry view;
#   QTA1-<version>-x86.msi  for 32-bit Windows: QTA1.OCX for 32-bit hosts.
# Each also holds the settings editor QTA1Edit.exe of its Windows (64-bit in
# x64, 32-bit in x86), installed beside that module with a Start-menu shortcut.
# The registry entries come from the control's table through
# qta1-package-entries (native build); the modules and the editors from the
# mingw-i686 and mingw-x86_64 presets.
#
# Signing: given a code-signing certificate (a PKCS#12 file and a file holding
# its password) both modules and both editors are signed before they are
# packaged and both packages after, with osslsigncode; --timestamp URL adds an RFC 3161 time
# stamp. Without a certificate the packages are built unsigned, and the script
# says so in one line.
#
# Usage: scripts/package.sh [--out DIR] [--pfx FILE --password-file FILE]
#                           [--timestamp URL] [--next]
#   --out DIR   where the packages go (default build/package)
#   --next      the next release instead (the third version field one higher,
#               modules built in build/mingw-<arch>-next): the packages'
#               upgrade check installs it over this one
# Prints one line per package: its file, size and whether it is signed.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

out=$repo/build/package
pfx=""
password_file=""
timestamp=""
next=""
while [ $# -gt 0 ]; do
    case $1 in
        --out) out=$(realpath -m "$2"); shift 2 ;;
        --pfx) pfx=$(realpath "$2"); shift 2 ;;
        --password-file) password_file=$(realpath "$2"); shift 2 ;;
        --timestamp) timestamp=$2; shift 2 ;;
        --next) next=1; shift ;;
        *) echo "package.sh: unknown option $1" >&2; exit 1 ;;
    esac
done
if [ -n "$pfx" ] && [ -z "$password_file" ]; then
    echo "package.sh: --pfx needs --password-file" >&2
    exit 1
fi

scripts/install-deps.sh $(cat scripts/native-packages.txt)
scripts/install-windows-deps.sh

# The generator of the registry entries, and the modules.
cmake --preset native >/dev/null
cmake --build --preset native --target qta1-package-entries >/dev/null
entries=$repo/build/native/qta1-package-entries

build_of() { echo "$repo/build/mingw-$1${next:+-next}"; }
for arch in i686 x86_64; do
    if [ -n "$next" ]; then
        cmake --preset "mingw-$arch" -B "$(build_of "$arch")" -DQTA1_NEXT_RELEASE=ON >/dev/null
        cmake --build "$(build_of "$arch")" --target qta1_ocx QTA1Edit -j2 >/dev/null
    else
        cmake --preset "mingw-$arch" >/dev/null
        cmake --build --preset "mingw-$arch" --target qta1_ocx QTA1Edit >/dev/null
    fi
done

version=$(sed -n 's/^#define QTA1_VERSION_TEXT "\(.*\)"$/\1/p' \
    "$(build_of x86_64)/generated/resources/version.h")
IFS=. read -r major minor build _ <<<"$version"
replace_below="$major.$minor.$((build + 1))"

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage/x86" "$stage/x64"
cp "$(build_of i686)/src/platform/win32/QTA1.OCX" "$stage/x86/QTA1.OCX"
cp "$(build_of x86_64)/src/platform/win32/QTA1.OCX" "$stage/x64/QTA1.OCX"
cp "$(build_of i686)/src/platform/win32/editor/QTA1Edit.exe" "$stage/x86/QTA1Edit.exe"
cp "$(build_of x86_64)/src/platform/win32/editor/QTA1Edit.exe" "$stage/x64/QTA1Edit.exe"

sign() {
    local file=$1 signed="$1.signed"
    local stamp=()
    [ -n "$timestamp" ] && stamp=(-ts "$timestamp")
    osslsigncode sign -pkcs12 "$pfx" -readpass "$password_file" -h sha256 \
        -n "QTA1 configuration plug-in" "${stamp[@]}" -in "$file" -out "$signed" >/dev/null
    mv "$signed" "$file"
}
if [ -n "$pfx" ]; then
    sign "$stage/x86/QTA1.OCX"
    sign "$stage/x64/QTA1.OCX"
    sign "$stage/x86/QTA1Edit.exe"
    sign "$stage/x64/QTA1Edit.exe"
else
    echo "package.sh: no code-signing certificate given (--pfx): the modules and packages are unsigned"
fi

# One module's registry include: its file, its folder, its view, and whether
# it names the values both modules share.
"$entries" component QTA1.OCX.x86 QTA1Folder32 win32 second >"$stage/entries-x86-beside-x64.wxi"
"$entries" component QTA1.OCX.x86 QTA1Folder32 win32 first >"$stage/entries-x86-alone.wxi"
"$entries" component QTA1.OCX.x64 QTA1Folder64 win64 first >"$stage/entries-x64.wxi"

mkdir -p "$out"
package() {
    local platform=$1 entries32=$2 msi="$out/QTA1-$version-$1.msi" log
    log=$(mktemp)
    # wixl takes the files it packages by paths relative to where it runs.
    local here
    here=$(realpath --relative-to="$repo" "$stage")
    if ! wixl -a "$platform" -o "$msi" \
        -D Platform="$platform" -D Version="$version" -D ReplaceBelow="$replace_below" \
        -D Module32="$here/x86/QTA1.OCX" -D Module64="$here/x64/QTA1.OCX" \
        -D Editor32="$here/x86/QTA1Edit.exe" -D Editor64="$here/x64/QTA1Edit.exe" \
        -D Entries32="$here/$entries32" -D Entries64="$here/entries-x64.wxi" \
        -D Icon=src/resources/qta1.ico src/package/qta1.wxs >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "package.sh: wixl could not build $msi" >&2
        exit 1
    fi
    rm -f "$log"
    # wixl leaves the modules and the editor unversioned in the File table;
    # they carry the plug-in's version, by which Windows Installer decides
    # what to replace (a versioned file has no hash).
    msibuild "$msi" -q "UPDATE \`File\` SET \`Version\` = '$version', \`Language\` = '1033'"
    local key
    for key in QTA1.OCX.x86 QTA1.OCX.x64 QTA1Edit.exe.x86 QTA1Edit.exe.x64; do
        msibuild "$msi" -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = '$key'"
    done
    if [ -n "$pfx" ]; then sign "$msi"; fi
    echo "$msi: $(stat -c %s "$msi") bytes, $([ -n "$pfx" ] && echo signed || echo unsigned)"
}
package x64 entries-x86-beside-x64.wxi
package x86 entries-x86-alone.wxi

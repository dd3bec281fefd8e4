#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native core and runs
# its tests, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh $(cat scripts/native-packages.txt)

# A locale with a decimal comma, so that the tests can prove the number
# conversions never follow the process locale.
mkdir -p build/locale
if [ ! -d build/locale/de_DE.UTF-8 ]; then
  localedef -i de_DE -f UTF-8 build/locale/de_DE.UTF-8 2>/dev/null || true
fi
export LOCPATH="$PWD/build/locale"

for preset in native native-asan; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j2
done

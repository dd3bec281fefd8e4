#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native core and runs
# its tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a bounded fuzzing run of the settings-file
# reader, and the Windows module (both bitnesses) under Wine and Xvfb:
# registration, the COM surface, and every acceptance scenario on the real
# sheet. Ends with one line "N passed, M failed" over those steps.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/utf8-locale.sh
scripts/install-deps.sh $(cat scripts/native-packages.txt) || exit 1
scripts/install-windows-deps.sh || exit 1

# A locale with a decimal comma, so that the tests can prove the number
# conversions never follow the process locale.
mkdir -p build/locale
if [ ! -d build/locale/de_DE.UTF-8 ]; then
  localedef -i de_DE -f UTF-8 build/locale/de_DE.UTF-8 2>/dev/null || true
fi

passed=0
failed=0
step() {
  local name="$1"
  shift
  echo "== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "== $name FAILED"
    failed=$((failed + 1))
  fi
}

# Only the native tests see the locale folder: it holds just that one locale.
native_tests() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" &&
    LOCPATH="$PWD/build/locale" ctest --preset "$1" -j2
}

step "native tests" native_tests native
step "native tests under ASan+UBSan" native_tests native-asan
step "fuzzing the settings-file reader" scripts/fuzz.sh 30
step "the Windows module under Wine" scripts/test-wine.sh

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

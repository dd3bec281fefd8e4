#!/usr/bin/env bash
# Fuzzes the settings-file reader, the data-line parsers and the review of
# settings (the preview's dry run, the comparison of two sets of settings as
# the pages name them, the backup folder of a node name): builds the
# libFuzzer harness with clang (AddressSanitizer and UndefinedBehaviorSanitizer,
# any report aborts), then runs it for a bounded time on a copy of the seed
# corpus. Exits non-zero when the build fails or the fuzzer finds a crash.
# Usage: scripts/fuzz.sh [seconds]   (default 30, or QTA1_FUZZ_SECONDS)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${QTA1_FUZZ_SECONDS:-30}}"
cxx="${QTA1_FUZZ_CXX:-clang++}"
out=build/fuzz
mkdir -p "$out"

# The portable core with its pages (the review names fields by their
# pages), the headless platform and the simulated node; no Windows layer.
sources=(
  tests/fuzz/settings_file_fuzz.cpp
  src/frame/*.cpp
  src/housekeeping/*.cpp
  src/pages/*/*.cpp
  src/app/*.cpp
  src/resources/*.cpp
  src/platform/*.cpp
  src/platform/headless/*.cpp
  sim/simulated_node.cpp
  sim/unit_model.cpp
)
# The version header is written by CMake from the one version number; the
# native configuration makes it (the test command has made it by now).
generated=build/native/generated
if [ ! -f "$generated/resources/version.h" ]; then
  cmake --preset native >/dev/null
fi
flags=(-std=c++20 -g -O1 -Isrc -Isim -I"$generated"
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

echo "== fuzz: build"
objects=()
pids=()
# Two compilers at a time, as the machine has two cores; an object newer
# than its source is kept.
for src in "${sources[@]}"; do
  obj="$out/$(echo "$src" | tr '/' '_').o"
  objects+=("$obj")
  if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find src sim tests/fuzz -name '*.h' -newer "$obj" | head -n 1)" ]; then
    "$cxx" "${flags[@]}" -c "$src" -o "$obj" &
    pids+=($!)
  fi
  if [ "${#pids[@]}" -ge 2 ]; then
    for pid in "${pids[@]}"; do wait "$pid" || exit 1; done
    pids=()
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || exit 1; done
"$cxx" "${flags[@]}" "${objects[@]}" -o "$out/settings_file_fuzz"

# Stack traces with function names and lines: the symbolizer of clang 14's
# LLVM (package llvm-14), found by path so that no "llvm" link is needed.
for symbolizer in /usr/lib/llvm-14/bin/llvm-symbolizer "$(command -v llvm-symbolizer || true)"; do
  if [ -x "$symbolizer" ]; then
    export ASAN_SYMBOLIZER_PATH="$symbolizer" UBSAN_SYMBOLIZER_PATH="$symbolizer"
    break
  fi
done

echo "== fuzz: run ${seconds}s"
rm -rf "$out/corpus" "$out/artifacts"
mkdir -p "$out/artifacts"
cp -r tests/fuzz/corpus "$out/corpus"
"$out/settings_file_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -max_len=1048576 -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus"

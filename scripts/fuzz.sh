#!/usr/bin/env bash
# Fuzzes the settings-file reader and the data-line parsers: builds the
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

# Only what the reader, the simulated node and the headless platform need;
# the sheet and the pages are not linked.
sources=(
  tests/fuzz/settings_file_fuzz.cpp
  src/housekeeping/settings_file.cpp
  src/housekeeping/text_codec.cpp
  src/frame/codec.cpp
  src/frame/decimal.cpp
  src/frame/host_link.cpp
  src/resources/*.cpp
  src/platform/*.cpp
  src/platform/headless/*.cpp
  sim/simulated_node.cpp
)
flags=(-std=c++20 -g -O1 -Isrc -Isim
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

echo "== fuzz: build"
objects=()
pids=()
for src in "${sources[@]}"; do
  obj="$out/$(echo "$src" | tr '/' '_').o"
  objects+=("$obj")
  "$cxx" "${flags[@]}" -c "$src" -o "$obj" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
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
  -max_len=8192 -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus"

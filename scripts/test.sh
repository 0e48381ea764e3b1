#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up the machine and runs every check CI runs:
#   1. formatting;
#   2. a Release build with warnings as errors and all tests (unit, window, web panels and
#      the learner's end-to-end session under Xvfb, desktop file validation);
#   3. the Debian package: built, checked with lintian, installed with apt, both entries
#      started, a learner's session as each of two ordinary users, removed again;
#   4. all tests again in an AddressSanitizer and UndefinedBehaviorSanitizer build;
#   5. every reader of outside bytes fuzzed for a bounded time (FUZZ_SECONDS each, default
#      60) under both sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Each step says when it starts, so that a log shows where the time goes.
step() { echo "== $1 ($(date +%T))"; }

step "setting up the machine"
scripts/setup.sh

step "formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

step "build and tests"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_WARNINGS_AS_ERRORS=ON
cmake --build build/test -j2
ctest --test-dir build/test --output-on-failure -j2

step "the Debian package"
scripts/package.sh
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  tests/package/check_package.sh build/package/lumadesk_*.deb build/test/artefacts/package

step "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSUITE_ENABLE_BENCHMARKS=OFF \
  -DSUITE_WARNINGS_AS_ERRORS=ON -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build/asan -j2
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
# Chromium, inside the web engine, frees with a size other than the one it allocated.
export ASAN_OPTIONS="new_delete_type_mismatch=0"
ctest --test-dir build/asan --output-on-failure -j2 -E '^menu_web_tests$'
# Chromium's in-process network service leaves allocations that only its own teardown,
# never reached in a test process, would free: leaks are not looked for here.
ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" \
  ctest --test-dir build/asan --output-on-failure -R '^menu_web_tests$'
unset LSAN_OPTIONS ASAN_OPTIONS

step "fuzzing every reader of outside bytes"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUITE_ENABLE_WINDOWS=OFF -DBUILD_TESTING=OFF -DSUITE_ENABLE_BENCHMARKS=OFF \
  -DSUITE_ENABLE_FUZZING=ON -DSUITE_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
# Every target has its saved inputs in fuzz/corpus/NAME/ and fuzzes from a copy of them.
targets=$(cd fuzz/corpus && ls)
cmake --build build/fuzz -j2 --target $(printf 'fuzz_%s ' $targets)
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
# Two targets at a time, one a core; each prints its lines when it ends.
fuzz_one() {
  mkdir "$corpus/$1"
  cp fuzz/corpus/"$1"/* "$corpus/$1"/
  local out
  out=$(build/fuzz/fuzz/fuzz_"$1" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 \
    "$corpus/$1" 2>&1) || { printf -- '-- %s FAILED\n%s\n' "$1" "$(tail -n 80 <<< "$out")"; return 1; }
  printf -- '-- %s\n%s\n' "$1" "$(tail -n 5 <<< "$out")"
}
export -f fuzz_one
export corpus
printf '%s\n' $targets | xargs -P 2 -I {} bash -c 'fuzz_one {}'
echo "fuzzing: no crash, leak or undefined behaviour ($(date +%T))"

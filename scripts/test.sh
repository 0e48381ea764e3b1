#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up the machine, builds everything with warnings as errors, checks the formatting,
# runs every test, then fuzzes the course file reader for a bounded time under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh

echo "== formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== build"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_WARNINGS_AS_ERRORS=ON
cmake --build build/test -j2

echo "== tests"
ctest --test-dir build/test --output-on-failure -j2

echo "== fuzzing the course file reader"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUITE_ENABLE_WINDOWS=OFF -DBUILD_TESTING=OFF -DSUITE_ENABLE_BENCHMARKS=OFF \
  -DSUITE_ENABLE_FUZZING=ON -DSUITE_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
cmake --build build/fuzz -j2 --target fuzz_course_file
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/* "$corpus"/
build/fuzz/fuzz/fuzz_course_file -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 \
  "$corpus" 2>&1 | tail -n 5
echo "fuzzing: no crash, leak or undefined behaviour"

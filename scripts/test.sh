#!/usr/bin/env bash
# Sets up, builds and runs every test: unit and end-to-end tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz target for a short time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${QUIRN_FUZZ_SECONDS:-60}"
bash "$root/scripts/setup.sh" --test </dev/null

echo "== build and test (release)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRN_WERROR=ON </dev/null >/dev/null
cmake --build "$root/build" -j"$jobs" </dev/null
(cd "$root/build" && ctest -j"$jobs" --output-on-failure --timeout 600 </dev/null)

echo "== build and test (address and undefined-behaviour sanitizers)"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQUIRN_SANITIZE=ON </dev/null >/dev/null
cmake --build "$root/build-asan" -j"$jobs" </dev/null
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest -j"$jobs" --output-on-failure --timeout 900 </dev/null)

echo "== fuzz targets (${fuzz_seconds}s in all)"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRN_FUZZ=ON </dev/null >/dev/null
cmake --build "$root/build-fuzz" -j"$jobs" </dev/null >/dev/null
bash "$root/tests/fuzz/run.sh" "$root/build-fuzz" "$fuzz_seconds"

# The release run above printed ctest's summary; repeat it as the closing line.
(cd "$root/build" && ctest -j"$jobs" --timeout 600 </dev/null | tail -n 3)

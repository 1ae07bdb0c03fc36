#!/usr/bin/env bash
# Fuzzes each target for longer, with a fresh seed each run, for local use:
#   bash tests/fuzz/long.sh [BUILD_DIR] [SECONDS_PER_TARGET]
# BUILD_DIR defaults to build-fuzz (made with clang and -DQUIRN_FUZZ=ON as scripts/test.sh
# does); 600 seconds per target by default. A finding is copied to BUILD_DIR/findings.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-fuzz}"; per="${2:-600}"
shopt -s nullglob
targets=("$build"/fuzz_*)
exec bash "$root/tests/fuzz/run.sh" "$build" $(( per * ${#targets[@]} )) 0

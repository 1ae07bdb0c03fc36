#!/usr/bin/env bash
# Runs the solver library benchmark from a release build: the ratio of
# `brsolve FILE` to `clp FILE -solve` per netlib problem, and the load time of
# an instruction list of 1,000,000 linear terms.
#   bash bench/bench_bresk.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
netlib="$root/tests/data/netlib"
"$build/bench/bench_bresk" "$netlib" "${2:-7}"

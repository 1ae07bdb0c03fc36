#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR: first each input of its corpus in the tree once
# (every input that ever found a fault, and seeds for each area of the input), then fuzzing
# for a share of SECONDS. Fails on any finding. SEED (default 1, fixed so that a shorter
# run on a slower machine replays a prefix of a longer one; 0 picks a fresh one).
#   bash tests/fuzz/run.sh BUILD_DIR [SECONDS] [SEED]
set -euo pipefail
build="$(cd "$1" && pwd)"; total="${2:-60}"; seed="${3:-1}"
shopt -s nullglob
targets=("$build"/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets in $build"; exit 1; fi
per=$(( total / ${#targets[@]} )); [ "$per" -lt 5 ] && per=5
here="$(cd "$(dirname "$0")" && pwd)"
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name="$(basename "$t")"
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  corpus="$work/corpus"; mkdir -p "$corpus"
  seeds=("$here/corpus/$name"/*)
  export TMPDIR="$work" ASAN_OPTIONS="detect_leaks=0"
  if [ ${#seeds[@]} -gt 0 ]; then
    echo "replaying ${#seeds[@]} corpus inputs of $name"
    (cd "$work" && "$t" -timeout=30 -rss_limit_mb=4096 "${seeds[@]}" >"$work/log" 2>&1) \
      || { tail -n 60 "$work/log"; echo "fuzz target $name failed on its corpus"; exit 1; }
    cp "${seeds[@]}" "$corpus/"
  fi
  echo "fuzzing $name for ${per}s (seed $seed)"
  (cd "$work" && "$t" -seed="$seed" -max_total_time="$per" -timeout=10 -rss_limit_mb=4096 \
      -max_len=4096 -print_final_stats=0 -artifact_prefix="$work/" "$corpus" >"$work/log" 2>&1) \
    || { tail -n 60 "$work/log"; for a in "$work"/crash-* "$work"/timeout-* "$work"/oom-*; do
           mkdir -p "$build/findings"; cp "$a" "$build/findings/$name-$(basename "$a")"; done
         echo "fuzz target $name failed; the input is in $build/findings: add it to tests/fuzz/corpus/$name"; exit 1; }
  rm -rf "$work"
  trap - EXIT
  unset TMPDIR
done
echo "fuzz targets clean"

#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR, sharing SECONDS between them; fails on any finding.
# The seed is fixed, so a shorter run on a slower machine replays a prefix of a longer one.
set -euo pipefail
build="$1"; total="${2:-60}"
shopt -s nullglob
targets=("$build"/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then echo "no fuzz targets"; exit 0; fi
per=$(( total / ${#targets[@]} )); [ "$per" -lt 5 ] && per=5
here="$(cd "$(dirname "$0")" && pwd)"
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name="$(basename "$t")"
  work="$(mktemp -d)"; corpus="$work/corpus"; mkdir -p "$corpus"
  [ -d "$here/corpus/$name" ] && cp -r "$here/corpus/$name/." "$corpus/"
  echo "fuzzing $name for ${per}s"
  (cd "$work" && ASAN_OPTIONS=detect_leaks=0 "$t" -seed=1 -max_total_time="$per" -timeout=10 -rss_limit_mb=4096 \
      -max_len=4096 -print_final_stats=0 "$corpus" >"$work/log" 2>&1) || { tail -n 60 "$work/log"; echo "fuzz target $name failed"; exit 1; }
  rm -rf "$work"
done
echo "fuzz targets clean"

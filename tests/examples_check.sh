#!/usr/bin/env bash
# Runs every example model of EXAMPLES-DIR as a new user would (TAKE examples/NAME.txt from
# a fresh directory) and compares the optimum it reports with the one recorded for it in
# EXAMPLES-DIR/optima.tsv (NAME, a tab, the objective value; agreement to 1e-6 relative).
# Every example must have a recorded optimum and every recorded optimum an example.
# Usage: examples_check.sh QUIRN-BINARY EXAMPLES-DIR
set -u
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; dir="$(cd "$2" && pwd)"
status=0
for ex in "$dir"/*.txt; do
  name="$(basename "$ex" .txt)"
  grep -q "^$name	" "$dir/optima.tsv" || { echo "$name: no optimum recorded in optima.tsv"; status=1; }
done
while IFS=$'\t' read -r name want; do
  [ -z "$name" ] && continue
  if [ ! -f "$dir/$name.txt" ]; then echo "$name: recorded, but there is no $name.txt"; status=1; continue; fi
  scratch="$(mktemp -d)"
  mkdir "$scratch/examples" && cp "$dir/$name.txt" "$scratch/examples/"
  printf 'TAKE examples/%s.txt\nQUIT\n' "$name" >"$scratch/in.txt"
  (cd "$scratch" && timeout 60 "$bin" <in.txt >out.txt 2>&1)
  got="$(awk '/Objective value:/ { v = $NF } END { print v }' "$scratch/out.txt")"
  solved="$(grep -cE 'optimal solution found' "$scratch/out.txt")"
  errors="$(grep -c 'Error Code' "$scratch/out.txt")"
  if [ "$solved" -lt 1 ] || [ "$errors" -gt 0 ] || [ -z "$got" ] ||
     ! awk -v a="$got" -v b="$want" 'BEGIN { d = a - b; if (d < 0) d = -d; s = b < 0 ? -b : b; exit !(d <= (s > 0 ? 1e-6 * s : 1e-9)) }'; then
    echo "$name: objective '${got}', expected $want"; sed -n '1,200p' "$scratch/out.txt"; echo; status=1
  else
    echo "$name: $got"
  fi
  rm -rf "$scratch"
done <"$dir/optima.tsv"
exit $status

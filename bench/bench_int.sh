#!/usr/bin/env bash
# Integer models written in the system's language (bench/int/NAME.txt) solved by GO, side
# by side with glpsol on each model's MathProg twin (NAME.mod) and the cbc command on the
# free MPS file that glpsol writes of that twin. Each time is the best of REPS measurements
# (wall seconds, generation included for GO); a run shorter than a quarter of a second is
# measured as a batch of runs in a row divided by their number, so that hundredths and
# thousandths of a second still compare. A peer that runs past LIMIT seconds is shown as
# ">LIMIT" and not run again. The ratio is GO's time over the faster peer's; the last line
# is their geometric mean. Every objective must agree with the peers' (a line ends in
# "MISMATCH" and the exit status is 1 when one does not). MEM=1 adds the peak resident
# memory (MB) of GO and glpsol after the objective.
#   bash bench/bench_int.sh [BUILD_DIR] [NAME...]
#   environment: REPS (3), LIMIT (30), QUIRN_SET (extra SET lines for GO, e.g. "SET HEURIS 0"),
#   METRIC (wall, or cpu: user + system seconds, steadier on a busy machine), MEM (0)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shift || true
reps="${REPS:-3}"
limit="${LIMIT:-30}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
models=("$@")
if [ ${#models[@]} -eq 0 ]; then
  for f in "$root"/bench/int/*.txt; do models+=("$(basename "$f" .txt)"); done
fi
have_glpsol=0; command -v glpsol >/dev/null 2>&1 && have_glpsol=1
have_cbc=0; command -v cbc >/dev/null 2>&1 && have_cbc=1

# Seconds of one run of the command (standard input from $1), or "" past the limit; the
# run's peak resident memory (MB) goes to $work/rss.txt.
run_once() {
  local in="$1"; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" timeout "$limit" "$@" <"$in" >"$work/out.txt" 2>&1 ||
    { [ "$(tail -n 1 "$work/time.txt" | cut -d' ' -f1 | cut -d. -f1)" -ge "$limit" ] && return 1; }
  tail -n 1 "$work/time.txt" | awk '{ printf "%.1f\n", $4 / 1024 }' >"$work/rss.txt"
  seconds 1
}
# The time of the last measurement in $work/time.txt divided by $1 runs.
seconds() {
  tail -n 1 "$work/time.txt" | awk -v m="${METRIC:-wall}" -v n="$1" '{ printf "%.4f\n", (m == "cpu" ? $2 + $3 : $1) / n }'
}
# Seconds of N runs in a row of the command (standard input from $2) divided by N.
run_batch() {
  local n="$1" in="$2"; shift 2
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" bash -c \
    'n="$1" in="$2"; shift 2; for ((k = 0; k < n; ++k)); do "$@" <"$in" >/dev/null 2>&1; done' _ "$n" "$in" "$@"
  seconds "$n"
}
# The least time of REPS measurements; "" when the first run passed the limit. The first run
# leaves the command's output in $work/out.txt; a run under a quarter of a second is then
# measured in batches long enough for the timer's hundredths.
best() {
  local in="$1"; shift
  local b t n k
  b=$(run_once "$in" "$@") || { echo ""; return; }
  cp "$work/out.txt" "$work/first.txt"
  cp "$work/rss.txt" "$work/first_rss.txt"
  n=$(awk -v t="$b" 'BEGIN { n = t < 0.005 ? 100 : int(0.5 / t) + 1; print (t >= 0.25) ? 1 : (n > 100) ? 100 : n }')
  # A batch's time replaces the first run's, which is as coarse as the timer.
  [ "$n" -gt 1 ] && b=""
  for ((k = $([ "$n" = 1 ] && echo 1 || echo 0); k < reps; ++k)); do
    if [ "$n" = 1 ]; then t=$(run_once "$in" "$@") || t=$b; else t=$(run_batch "$n" "$in" "$@"); fi
    b=$(awk -v a="$b" -v t="$t" 'BEGIN { print (a == "" || t < a) ? t : a }')
  done
  cp "$work/first.txt" "$work/out.txt"
  cp "$work/first_rss.txt" "$work/rss.txt"
  echo "$b"
}

mem="${MEM:-0}"
printf '%-10s %9s %9s %9s %7s  %s\n' model GO glpsol cbc ratio "objective$([ "$mem" = 1 ] && echo '  GO-MB glpsol-MB')"
status=0
logsum=0; count=0
cd "$work"
for name in "${models[@]}"; do
  txt="$root/bench/int/$name.txt"; mod="$root/bench/int/$name.mod"
  { echo "MODEL:"; cat "$txt"; echo "END"; printf '%s\n' "${QUIRN_SET:-}"; printf 'TERSE\nGO\nQUIT\n'; } >go.in
  tg=$(best go.in "$build/quirn")
  og=$(awk '/Objective value:/ { v = $NF } END { print v }' out.txt)
  mg=$(cat rss.txt); ml=""
  tl=""; ol=""; tc=""; oc=""
  if [ "$have_glpsol" = 1 ]; then
    tl=$(best /dev/null glpsol --math "$mod" -o sol.txt)
    [ -n "$tl" ] && ol=$(awk '/^Objective:/ { print $4 }' sol.txt) && ml=$(cat rss.txt)
  fi
  if [ "$have_cbc" = 1 ] && [ "$have_glpsol" = 1 ]; then
    glpsol --math "$mod" --check --wfreemps m.mps >/dev/null 2>&1
    sense=(); grep -q '^ *maximize' "$mod" && sense=(-max)
    tc=$(best /dev/null cbc m.mps "${sense[@]}" -solve -quit)
    [ -n "$tc" ] && oc=$(awk '/^Objective value:/ { print $3 }' out.txt)
  fi
  fast=$(awk -v a="$tl" -v b="$tc" 'BEGIN { if (a == "") print b; else if (b == "" || a < b) print a; else print b }')
  fast=${fast:-$limit}
  ratio=""; exact=""
  [ -n "$tg" ] && exact=$(awk -v g="$tg" -v f="$fast" 'BEGIN { print g / (f > 0 ? f : 0.0001) }') &&
    ratio=$(awk -v r="$exact" 'BEGIN { printf "%.2f", r }')
  same=$(awk -v g="$og" -v l="$ol" -v c="$oc" 'function bad(a) { d = g - a; if (d < 0) d = -d
      m = a < 0 ? -a : a; return d > 1e-6 * (m > 1 ? m : 1) }
    BEGIN { if (g == "" || (l != "" && bad(l)) || (c != "" && bad(c))) print "MISMATCH"; else print "" }')
  [ -n "$same" ] && status=1
  show() { [ -n "$1" ] && printf '%9s' "$1" || printf '%9s' ">$limit"; }
  extra=""; [ "$mem" = 1 ] && extra=$(printf '%7s %9s' "$mg" "${ml:--}")
  printf '%-10s %s %s %s %7s  %s %s%s\n' "$name" "$(show "$tg")" "$(show "$tl")" "$(show "$tc")" \
    "${ratio:--}" "${og:-none}" "$extra" "$same"
  if [ -n "$ratio" ]; then
    logsum=$(awk -v s="$logsum" -v r="$exact" 'BEGIN { print s + log(r > 0.001 ? r : 0.001) }')
    count=$((count + 1))
  fi
done
[ "$count" -gt 0 ] && awk -v s="$logsum" -v n="$count" \
  'BEGIN { printf "geometric mean of GO / faster peer over %d models: %.2f\n", n, exp(s / n) }'
exit $status

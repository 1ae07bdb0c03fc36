#!/usr/bin/env bash
# GO's whole run (generate, load, solve, report with TERSEO 1) beside the clp command on the
# MPS file of the same model, in one run: the production-planning model at the given sizes
# (products x 20 plants x 24 periods) and its infeasible variant, the N x N transportation
# model, and the largest Netlib problems of the tree through RMPS + GO. Each time is the best
# of three runs; each line prints GO's time, clp's with its dual (-dualS), primal (-primalS)
# and barrier (-barrier) methods, glpsol's where it is sensible, the ratio of GO to
# `clp -dualS` and to the best clp method, GO's simplex iterations beside clp's, and the
# program's phase times (QUIRN_PHASES=1). At its end it runs bench/bench_int.sh when present.
#   bash bench/bench_solve.sh [BUILD_DIR] [PLAN_SIZES] [TRANSP_SIZES] [NETLIB_COUNT]
# e.g. bash bench/bench_solve.sh build "250 500 1000" "300 1000" 10; the default is quick.
# METRIC=cpu times processor time (user + system) instead of wall time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/transp_model.sh"
. "$root/bench/plan-gen.sh"
build="$(cd "${1:-$root/build}" && pwd)"
plans="${2:-250}"
transps="${3:-300}"
nnet="${4:-5}"
quirn="$build/quirn"
command -v clp >/dev/null || { echo "the clp command is needed (package coinor-clp)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

best3() {  # the least time of three runs of the command (standard input from $1), in seconds
  local in="$1"; shift
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %U %S" -o t.txt "$@" <"$in" >/dev/null 2>&1 || true
    tail -n 1 t.txt | awk -v m="${METRIC:-wall}" '{ printf "%.2f\n", m == "cpu" ? $2 + $3 : $1 }'
  done | sort -n | head -n 1
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.01; printf "%.2f", a / b }'; }
logsum=0; nlog=0

# one model: go.in drives the program, MPS the file clp and glpsol read; label names the line
compare() {
  local label="$1" mps="$2" glp="${3:-}"
  local go cd cp cb gl best its cits
  go="$(best3 go.in "$quirn")"
  cd="$(best3 /dev/null clp "$mps" -dualS)"
  cp="$(best3 /dev/null clp "$mps" -primalS)"
  cb="$(best3 /dev/null clp "$mps" -barrier)"
  gl="-"
  [ -n "$glp" ] && command -v glpsol >/dev/null && gl="$(best3 /dev/null glpsol $glp)"
  best="$(printf '%s\n%s\n%s\n' "$cd" "$cp" "$cb" | sort -n | head -n 1)"
  its="$("$quirn" <go.in 2>/dev/null | awk '/Total solver iterations:/ { print $4 }' | tail -n 1)"
  cits="$(clp "$mps" -dualS 2>/dev/null | awk '/iterations/ && /objective|nfeasible/ { for (i = 1; i <= NF; ++i) if ($(i + 1) ~ /^iterations/) v = $i } END { print v }')"
  printf '%-22s %7.2f %7.2f %7.2f %7.2f %7s %6s %6s %8s %8s\n' "$label" "$go" "$cd" "$cp" "$cb" "$gl" \
    "$(ratio "$go" "$cd")" "$(ratio "$go" "$best")" "${its:-?}" "${cits:-?}"
  QUIRN_PHASES=1 "$quirn" <go.in 2>&1 >/dev/null | sed 's/^/    /' || true
}
header() {
  printf '%-22s %7s %7s %7s %7s %7s %6s %6s %8s %8s\n' model "GO s" "dualS" "primalS" "barrier" \
    glpsol "x dual" "x best" "GO its" "clp its"
}

header
for np in $plans; do
  for kind in feasible infeasible; do
    write_plan "$np" 20 24 2048
    # the infeasible variant: capacities far below the hours the demand needs
    [ "$kind" = infeasible ] && sed -i 's/CAPH(L, T) = 1000 +/CAPH(L, T) = 100 +/' plan.txt &&
      sed -i 's/CAPH{l in PLANT, t in PER} := 1000 +/CAPH{l in PLANT, t in PER} := 100 +/' plan.mod
    # the MPS file through glpsol from the MathProg twin (fixed-format names every reader takes)
    glpsol --math plan.mod --check --wmps plan.mps >/dev/null 2>&1 || {
      (cat plan.txt; echo "SMPS plan.mps"; echo QUIT) | "$quirn" >/dev/null 2>&1; }
    (cat plan.txt; echo "SET TERSEO 1"; echo GO; echo QUIT) >go.in
    compare "plan $np $kind" plan.mps "--math plan.mod"
  done
done
for n in $transps; do
  write_transp_model "$n"
  write_transp_mod transp.mod "$n"
  glpsol --math transp.mod --check --wmps transp.mps >/dev/null 2>&1
  (cat model.txt; echo "SET TERSEO 1"; echo GO; echo QUIT) >go.in
  compare "transp $n" transp.mps "--math transp.mod"
done
# the largest Netlib problems, largest first, through RMPS + GO; the geometric mean of the
# ratios to clp -dualS
mapfile -t files < <(ls -S "$root"/tests/data/netlib/*.mps | head -n "$nnet")
for f in "${files[@]}"; do
  name="$(basename "$f" .mps)"
  cp "$f" .
  printf 'RMPS %s.mps\nSET TERSEO 1\nGO\nQUIT\n' "$name" >go.in
  go="$(best3 go.in "$quirn")"
  cd="$(best3 /dev/null clp "$name.mps" -dualS)"
  printf '%-22s %7.2f %7.2f %47s\n' "netlib $name" "$go" "$cd" "$(ratio "$go" "$cd")"
  logsum="$(awk -v s="$logsum" -v a="$go" -v b="$cd" 'BEGIN { if (a <= 0) a = 0.005; if (b <= 0) b = 0.005; print s + log(a / b) }')"
  nlog=$((nlog + 1))
done
[ "$nlog" -gt 0 ] && awk -v s="$logsum" -v k="$nlog" \
  'BEGIN { printf "netlib: geometric mean of GO / clp -dualS over %d problems: %.2f\n", k, exp(s / k) }'
[ -f "$root/bench/bench_int.sh" ] && bash "$root/bench/bench_int.sh" "$build"
exit 0

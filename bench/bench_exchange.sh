#!/usr/bin/env bash
# The exchange benchmark in the real program, side by side with the clp command in one run.
# (1) RMPS + GO on the ten largest Netlib problems of tests/data/netlib against `clp FILE
#     -solve` on the same files: the mean wall and user CPU time of each (ROUNDS rounds of
#     REPS runs, the two programs taking turns), the ratio per problem and the geometric mean
#     of the ratios. The program's start-up is part of its time, as clp's is of clp's.
# (2) SMPS of the N x N transportation model after GO (N = 1000: 2,000,000 coefficients): the
#     time from the prompt after GO to the prompt after SMPS, the fastest of three runs.
#   bash bench/bench_exchange.sh [BUILD_DIR] [REPS] [ROUNDS] [N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/transp_model.sh"
build="$(cd "${1:-$root/build}" && pwd)"
reps="${2:-10}"
rounds="${3:-3}"
n="${4:-1000}"
quirn="$build/quirn"
command -v clp >/dev/null || { echo "the clp command is needed (package coinor-clp)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# prints "wall user" in seconds of REPS runs of the shell command, divided by REPS
timed() {
  /usr/bin/time -f "%e %U" -o t.txt bash -c "for ((i = 0; i < $reps; ++i)); do $1 >/dev/null 2>&1; done"
  awk -v r="$reps" '{ printf "%.5f %.5f\n", $1 / r, $2 / r }' t.txt
}

# (1) the ten largest problems, largest first
mapfile -t files < <(ls -S "$root"/tests/data/netlib/*.mps | head -n 10)
printf '%-10s %13s %13s %13s %13s %7s %7s %s\n' problem "ours wall" "clp wall" "ours user" "clp user" \
  "wall x" "user x" objective
lw=0; lu=0; k=0
for f in "${files[@]}"; do
  name="$(basename "$f" .mps)"
  cp "$f" .
  printf 'RMPS %s.mps\nTERSE\nGO\nQUIT\n' "$name" >"$name.in"
  obj="$("$quirn" <"$name.in" 2>/dev/null | awk '/Objective value:/ { print $3 }')"
  ow=0; ou=0; cw=0; cu=0
  for ((r = 0; r < rounds; ++r)); do
    read -r a b < <(timed "'$quirn' <$name.in")
    read -r c d < <(timed "clp $name.mps -solve")
    ow=$(awk -v x="$ow" -v y="$a" 'BEGIN { print x + y }'); ou=$(awk -v x="$ou" -v y="$b" 'BEGIN { print x + y }')
    cw=$(awk -v x="$cw" -v y="$c" 'BEGIN { print x + y }'); cu=$(awk -v x="$cu" -v y="$d" 'BEGIN { print x + y }')
  done
  awk -v n="$name" -v ow="$ow" -v ou="$ou" -v cw="$cw" -v cu="$cu" -v r="$rounds" -v o="$obj" 'BEGIN {
      ow /= r; ou /= r; cw /= r; cu /= r
      if (ou <= 0) ou = 1e-4; if (cu <= 0) cu = 1e-4
      printf "%-10s %12.4fs %12.4fs %12.4fs %12.4fs %7.2f %7.2f %s\n", n, ow, cw, ou, cu, ow / cw, ou / cu, o
      printf "%.6f %.6f\n", log(ow / cw), log(ou / cu) >"logs.txt"
    }'
  read -r lwr lur <logs.txt
  lw=$(awk -v x="$lw" -v y="$lwr" 'BEGIN { print x + y }'); lu=$(awk -v x="$lu" -v y="$lur" 'BEGIN { print x + y }')
  k=$((k + 1))
done
awk -v lw="$lw" -v lu="$lu" -v k="$k" \
  'BEGIN { printf "geometric mean of the ratios: wall %.2f, user CPU %.2f (target at most 2)\n", exp(lw / k), exp(lu / k) }'
printf 'start and quit alone:       ' ; echo QUIT >quit.in; read -r a b < <(timed "'$quirn' <quit.in")
printf '%.4f s wall %.4f s user\n' "$a" "$b"

# (2) SMPS of the transportation model
# the model in the system's language, and a store large enough for it
write_transp_model "$n"
(cat model.txt; echo TERSE; echo GO; echo SMPS transp.mps; echo QUIT) >smps.in
# The program shows its prompt ":" when a command is done: the time between the prompt after
# GO and the one after SMPS is the SMPS command's (the fastest of three runs).
smpstime() {
  "$quirn" <smps.in 2>/dev/null | while IFS= read -r -d ':' _; do echo "$EPOCHREALTIME"; done |
    tail -n 2 | awk 'NR == 1 { a = $1 } NR == 2 { printf "%.3f\n", $1 - a }'
}
st=$(for _ in 1 2 3; do smpstime; done | sort -n | head -n 1)
# the constraint coefficients of the file (the objective row's entries not counted)
coef=$(awk '/^ROWS/ { r = 1; next } /^COLUMNS/ { r = 0; c = 1; next } /^(RHS|RANGES|BOUNDS|ENDATA)/ { c = 0 }
  r && $1 == "N" && obj == "" { obj = $2 }
  c { for (i = 2; i + 1 <= NF; i += 2) if ($i != obj) ++n } END { print n + 0 }' transp.mps)
printf 'transportation %d x %d: SMPS after GO %.2f s for %d constraint coefficients (target under 2 s)\n' \
  "$n" "$n" "$st" "$coef"

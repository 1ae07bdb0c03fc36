#!/usr/bin/env bash
# How GO's whole run (generate, reduce, load, solve; TERSEO 1) grows with the size n of a
# model, on shapes that invite quadratic time: one row over n variables (MAX and MIN forms,
# with bounds), one variable in n rows, a dense row plus n singleton rows, n identical
# columns, pairs of identical columns in one row, n identical rows, a chain
# X(I) <= X(I - 1), and a sum over a set of n inside a loop over n whose condition leaves
# one member. For each shape and size: processor time
# (user + system, best of three), the objective GO printed, and the growth exponent
# log(t2 / t1) / log(n2 / n1) against the previous size (1 is linear, 2 quadratic).
#   bash bench/bench_shapes.sh [BUILD_DIR] [SIZES] [SHAPES]
#   e.g. bash bench/bench_shapes.sh build "100000 200000 400000 1000000" "onerow_max chain"
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sizes="${2:-100000 200000 400000 1000000}"
shapes="${3:-onerow_max onerow_min onecol dense_singletons idcols idpairs idrows chain sum_in_for}"
reps="${REPS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '! QUIRN Custom Configuration Data:\nMXMEMB=      2048\n' >QUIRN.CNF

# the model text of shape $1 at size $2, on standard output
model() {
  local n="$2"
  echo "MODEL:"
  echo "SETS:"
  echo "  S /1..$n/: X, C;"
  echo "ENDSETS"
  case "$1" in
    onerow_max)  # one row over n bounded variables
      echo "MAX = @SUM(S(I): X(I));"
      echo "@SUM(S(I): X(I)) <= 1;"
      echo "@FOR(S(I): @BND(0, X(I), 2));" ;;
    onerow_min)
      echo "MIN = @SUM(S(I): X(I));"
      echo "@SUM(S(I): X(I)) >= 1;"
      echo "@FOR(S(I): @BND(0, X(I), 2));" ;;
    onecol)  # one variable in n rows
      echo "MIN = Y;"
      echo "@FOR(S(I): Y >= I / $n);" ;;
    dense_singletons)  # a dense row and a singleton row on each of its variables
      echo "MAX = @SUM(S(I): (1 + @MOD(I, 7)) * X(I));"
      echo "@SUM(S(I): X(I)) <= $n / 2;"
      echo "@FOR(S(I): X(I) <= 1);" ;;
    idcols)  # n identical columns in three rows
      echo "MAX = @SUM(S(I): 3 * X(I)) + Y + Z;"
      echo "@SUM(S(I): X(I)) + Y <= 10;"
      echo "@SUM(S(I): 2 * X(I)) + Z <= 15;"
      echo "@SUM(S(I): X(I)) - Y - Z >= 1;" ;;
    idpairs)  # one row over n bounded variables, each column the twin of one other
      echo "MAX = @SUM(S(I): (1 + @MOD(@FLOOR((I + 1) / 2) * 7919, 100003) / 100003) * X(I));"
      echo "@SUM(S(I): X(I)) <= $n / 2;"
      echo "@FOR(S(I): @BND(0, X(I), 1));" ;;
    idrows)  # n rows that are all the same
      echo "MAX = 2 * Y + 3 * Z;"
      echo "@FOR(S(I): Y + Z <= 4);"
      echo "@FOR(S(I): Y - Z <= 1);" ;;
    chain)  # each variable below the one before it
      echo "MAX = @SUM(S(I): X(I));"
      echo "X(1) <= 1;"
      echo "@FOR(S(I) | I #GT# 1: X(I) <= X(I - 1));" ;;
    sum_in_for)  # a sum over n inside a loop over n that keeps one member of the sum
      echo "MAX = @SUM(S(I): X(I));"
      echo "@FOR(S(I): @SUM(S(J) | J #EQ# I: X(J)) <= 1);" ;;
    *) echo "unknown shape $1" >&2; exit 2 ;;
  esac
  echo "END"
  echo "SET TERSEO 1"
  echo "GO"
  echo "QUIT"
}
# processor seconds (user + system) of GO on in.txt, best of $reps; the objective line in obj.txt
cpu() {
  local best=""
  for ((r = 0; r < reps; ++r)); do
    /usr/bin/time -f "%U %S" -o t.txt "$build/quirn" <in.txt >out.txt 2>/dev/null || true
    local t
    # the last line holds the times (time adds a line before it when the program fails)
    t="$(tail -n 1 t.txt | awk '{ printf "%.2f", $1 + $2 }')"
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best="$t"; fi
  done
  grep -m 1 -i 'objective value' out.txt | sed 's/^ *//' >obj.txt || echo '?' >obj.txt
  echo "$best"
}

printf '%-18s %9s %9s %7s  %s\n' shape n cpu_s growth answer
for s in $shapes; do
  pn="" pt=""
  for n in $sizes; do
    model "$s" "$n" >in.txt
    t="$(cpu)"
    g="-"
    if [ -n "$pn" ]; then
      g="$(awk -v a="$pt" -v b="$t" -v m="$pn" -v k="$n" \
        'BEGIN { if (a < 0.02 || b < 0.02) print "-"; else printf "%.2f", log(b / a) / log(k / m) }')"
    fi
    printf '%-18s %9d %9s %7s  %s\n' "$s" "$n" "$t" "$g" "$(cat obj.txt)"
    pn="$n" pt="$t"
  done
done

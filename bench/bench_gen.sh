#!/usr/bin/env bash
# Generation and load (STATS) beside GNU MathProg checking the same model (glpsol --check,
# package glpk-utils): the N x N transportation model (N = 1000 unless given), a model with
# a 1,000,000-member set and a dense 1,000 x 1,000 derived set with DATA over both, and the
# production-planning model of plan-gen.sh (500 products, 20 plants, 24 periods), whose
# demand rows sum over a derived set with its leading index bound. Best of three runs each
# (by wall time), with user and system CPU time; the ratios are ours / glpsol.
#   bash bench/bench_gen.sh [BUILD_DIR] [N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/transp_model.sh"
. "$root/bench/plan-gen.sh"
build="$(cd "${1:-$root/build}" && pwd)"
n="${2:-1000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

measure() {  # prints "wall user sys peak_kb" of the command, standard input from $1
  local in="$1"; shift
  /usr/bin/time -f "%e %U %S %M" -o t.txt "$@" <"$in" >/dev/null 2>&1 || true
  tail -n 1 t.txt
}
best3() {  # the run with the least wall time of three
  local in="$1"; shift
  for _ in 1 2 3; do measure "$in" "$@"; done | sort -n | head -n 1
}
# one model: ours on $1.in (in directory $1, with its QUIRN.CNF), glpsol on $1/$1.mod
row() {
  local name="$1" qw qu qs qm gw gu gs gm
  read -r qw qu qs qm < <(cd "$name" && best3 stats.in "$build/quirn")
  printf '%-10s ours:   %6.2f s wall %6.2f s user %6.2f s sys %8d KB\n' "$name" "$qw" "$qu" "$qs" "$qm"
  if command -v glpsol >/dev/null; then
    read -r gw gu gs gm < <(cd "$name" && best3 /dev/null glpsol --math model.mod --check)
    printf '%-10s glpsol: %6.2f s wall %6.2f s user %6.2f s sys %8d KB\n' "" "$gw" "$gu" "$gs" "$gm"
    awk -v a="$qw" -v b="$gw" -v c="$qu" -v d="$qs" -v e="$gu" -v f="$gs" -v g="$qm" -v h="$gm" \
      'BEGIN { printf "%-10s ratio:  %6.3f x wall %6.3f x CPU (user + sys) %6.3f x memory\n", "", a / b, (c + d) / (e + f), g / h }'
  fi
}

mkdir transp && (cd transp && write_transp_model "$n" && (cat model.txt; echo STATS; echo QUIT) >stats.in &&
  write_transp_mod model.mod "$n")
mkdir bigset && (cd bigset &&
printf '! QUIRN Custom Configuration Data:\nMXMEMB=      1024\n' >QUIRN.CNF &&
cat >stats.in <<MOD
MODEL:
SETS:
  P /1..1000000/: U, X;
  A /1..1000/;
  B /1..1000/;
  D(A, B): V, Y;
ENDSETS
DATA:
  U = 2;
  V = 5;
ENDDATA
MAX = @SUM(P(I): U(I) * X(I)) + @SUM(D(I, J): V(I, J) * Y(I, J));
@FOR(D(I, J): Y(I, J) <= 1);
END
STATS
QUIT
MOD
cat >model.mod <<MOD
set P := 1..1000000;
set A := 1..1000;
set B := 1..1000;
param U{P} := 2;
param V{A, B} := 5;
var X{P} >= 0;
var Y{A, B} >= 0;
maximize OBJ: sum{i in P} U[i] * X[i] + sum{i in A, j in B} V[i, j] * Y[i, j];
s.t. C{i in A, j in B}: Y[i, j] <= 1;
end;
MOD
)
mkdir plan && (cd plan && write_plan 500 20 24 1024 && mv plan.mod model.mod && (cat plan.txt; echo STATS; echo QUIT) >stats.in)

row transp
row bigset
row plan

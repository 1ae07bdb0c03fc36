#!/usr/bin/env bash
# GO on the N x N transportation model (N = 1000 unless given): the time and peak memory
# of generating and loading it (STATS), side by side with GNU MathProg checking the same
# model, and the solve of GO against the clp command on the model's MPS file.
#   bash bench/bench_go.sh [BUILD_DIR] [N]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/bench/transp_model.sh"
build="$(cd "${1:-$root/build}" && pwd)"
n="${2:-1000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# the model in the system's language, and a store large enough for it
write_transp_model "$n"
# its MathProg twin, written from the same formulas
write_transp_mod transp.mod "$n"

measure() {  # prints "seconds peak_kb user_cpu_seconds" of the command
  /usr/bin/time -f "%e %M %U" -o t.txt "$@" >/dev/null 2>&1 || true
  tail -n 1 t.txt
}
best3() {  # the run with the least wall time of three (its standard input read from $1 each time)
  local in="$1"; shift
  for _ in 1 2 3; do measure "$@" <"$in"; done | sort -n | head -n 1
}
# generate and load: the best of three runs (glpsol too), since a single run on a shared
# machine varies
(cat model.txt; echo STATS; echo QUIT) >stats.in
read -r qt qm qu < <(best3 stats.in "$build/quirn")
# the store alone: start and quit with the same configuration
read -r st sm su < <( echo QUIT >quit.in; measure "$build/quirn" <quit.in )
printf 'generate and load (STATS):   %7.2f s %8d KB peak\n' "$qt" "$qm"
# the same with LOWMEM 1: the scalar lists go once the library holds the model (GEN then
# generates again instead of reading them)
(echo SET LOWMEM 1; cat model.txt; echo STATS; echo QUIT) >lowmem.in
read -r lt lm lu < <(best3 lowmem.in "$build/quirn")
printf '  the same with LOWMEM 1:    %7.2f s %8d KB peak\n' "$lt" "$lm"
printf '  of which start and quit:   %7.2f s %8d KB peak\n' "$st" "$sm"
# where the time and memory go: the program's phase times (seconds from the start of
# generation, resident and peak memory when the phase ended)
echo 'phases of generate and load:'
QUIRN_PHASES=1 "$build/quirn" <stats.in 2>&1 >/dev/null | sed 's/^/  /' || true
if command -v glpsol >/dev/null; then
  read -r gt gm gu < <(best3 /dev/null glpsol --math transp.mod --check)
  printf 'glpsol --check:              %7.2f s %8d KB peak\n' "$gt" "$gm"
  awk -v a="$qt" -v b="$gt" -v c="$qm" -v d="$gm" \
    'BEGIN { printf "ratio (glpsol / ours):       %7.2f x time %8.2f x memory\n", b / a, d / c }'
fi
# GO's solve against clp on the same model's MPS file (fixed format: glpsol then names the
# rows and columns R0000001 and C0000001, which every MPS reader takes; clp misreads the
# free-format file's long bracketed names and stops with "Current model not valid").
# clp is timed with its own default (-solve) and with its dual simplex (-dualS), the
# method GO uses for a linear model unless SOLVEL says otherwise.
if command -v glpsol >/dev/null && command -v clp >/dev/null; then
  glpsol --math transp.mod --check --wmps transp.mps >/dev/null 2>&1 || true
  clp transp.mps -dualS 2>/dev/null | grep -q "^Optimal objective" ||
    echo "clp did not solve the MPS file"
  read -r ct cm cu < <(measure clp transp.mps -solve)
  read -r dt dm du < <(measure clp transp.mps -dualS)
  read -r ot om ou < <( (cat model.txt; echo TERSE; echo GO; echo QUIT) >go.in; measure "$build/quirn" <go.in )
  # the peak of GO up to the solve: the peak when the model stood loaded
  gp="$(QUIRN_PHASES=1 "$build/quirn" <go.in 2>&1 >/dev/null | awk '$1 == "loaded" { print $(NF - 1) }')" || true
  "$build/quirn" <go.in 2>/dev/null | grep "Objective value" || true
  printf 'GO (generate, load, solve):  %7.2f s %8d KB peak\n' "$ot" "$om"
  printf '  of which up to the solve:  %8s MB peak\n' "${gp:-?}"
  printf 'clp -solve on the MPS file:  %7.2f s %8d KB peak\n' "$ct" "$cm"
  printf 'clp -dualS on the MPS file:  %7.2f s %8d KB peak\n' "$dt" "$dm"
  awk -v a="$ot" -v b="$qt" -v c="$ct" -v d="$dt" \
    'BEGIN { printf "GO solve part %.2f s against clp %.2f s (-solve), %.2f s (-dualS)\n", a - b, c, d }'
  # user CPU time is steadier than wall time on a shared machine
  awk -v a="$ou" -v b="$qu" -v c="$cu" -v d="$du" \
    'BEGIN { printf "  in user CPU: %.2f s against clp %.2f s (-solve), %.2f s (-dualS)\n", a - b, c, d }'
fi

#!/usr/bin/env bash
# Checks that the MPS file SMPS writes states the model for other readers: each model under
# MODELS-DIR (NAME.txt, model text without MODEL: and END, or NAME.mps, read with RMPS) is
# solved with GO and written with SMPS; the file is then solved by clp (continuous models only: clp solves no integer
# model), cbc and glpsol, whichever of them is installed, and read back with FRMPS and solved
# with GO. Every optimum must be GO's, to 1e-6 relative. clp and cbc skip the OBJSENSE
# section and glpsol refuses it: the comment line the file starts with for a maximisation
# gives them the sense (the section is removed for glpsol). Exit 77 (skipped) when none of
# the three is installed.
# Usage: smps_peer.sh QUIRN-BINARY MODELS-DIR
set -u
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; dir="$(cd "$2" && pwd)"
peers=()
for p in clp cbc glpsol; do
  if command -v "$p" >/dev/null 2>&1; then peers+=("$p"); else echo "note: $p is not installed"; fi
done
[ ${#peers[@]} -eq 0 ] && { echo "none of clp, cbc, glpsol is installed (coinor-clp, coinor-cbc, glpk-utils)"; exit 77; }
status=0
# GO's outcome in the output file: "optimal VALUE", "infeasible", "unbounded" or "none".
goresult() {
  awk '/Global optimal solution found/ { s = "optimal" }
       /No feasible solution found/ { s = "infeasible" }
       /Model is unbounded/ { s = "unbounded" }
       /Objective value:/ { v = $NF }
       END { print (s == "" ? "none" : s), v }' "$1"
}
# True when both outcomes are the same status and, when optimal, the same objective.
same() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    if (x[1] != y[1]) exit 1
    if (x[1] != "optimal") exit 0
    d = x[2] - y[2]; if (d < 0) d = -d
    m = y[2] < 0 ? -y[2] : y[2]
    exit !(d <= 1e-6 * (m > 1 ? m : 1)) }'
}
for model in "$dir"/*.txt "$dir"/*.mps; do
  [ -f "$model" ] || continue
  name="$(basename "$model")"
  scratch="$(mktemp -d)"
  if [ "${name%.mps}" != "$name" ]; then
    cp "$model" "$scratch/model.mps"
    printf 'RMPS model.mps\nTERSE\nGO\nSMPS m.mps\nQUIT\n' >"$scratch/in.txt"
  else
    { echo "MODEL:"; cat "$model"; echo "END"; printf 'TERSE\nGO\nSMPS m.mps\nQUIT\n'; } >"$scratch/in.txt"
  fi
  (cd "$scratch" && timeout 60 "$bin" <in.txt >out.txt 2>&1)
  ours="$(goresult "$scratch/out.txt")"
  if [ ! -s "$scratch/m.mps" ] || [ "${ours%% *}" != "optimal" ]; then
    echo "FAIL $name: GO gives '$ours' or SMPS wrote nothing"; cat "$scratch/out.txt"; status=1; rm -rf "$scratch"; continue
  fi
  # the file read back as model text
  printf 'FRMPS m.mps\nTERSE\nGO\nQUIT\n' >"$scratch/back.txt"
  (cd "$scratch" && timeout 60 "$bin" <back.txt >back.out 2>&1)
  back="$(goresult "$scratch/back.out")"
  if grep -q "Sanitizer\|runtime error:" "$scratch/out.txt" "$scratch/back.out"; then
    echo "FAIL $name: sanitizer report"; cat "$scratch/out.txt" "$scratch/back.out"; status=1
  fi
  same "$back" "$ours" || { echo "FAIL $name: FRMPS and GO give '$back', GO '$ours'"; cat "$scratch/back.out"; status=1; }
  max=0; grep -q '^\* The objective is maximised' "$scratch/m.mps" && max=1
  integer=0; grep -q "'MARKER'\|^ *\(BV\|UI\|LI\) " "$scratch/m.mps" && integer=1
  for p in "${peers[@]}"; do
    case "$p" in
      clp)
        [ "$integer" = 1 ] && continue
        flag=(); [ "$max" = 1 ] && flag=(-max)
        (cd "$scratch" && timeout 60 clp m.mps "${flag[@]}" -solve >clp.log 2>&1)
        peer="$(awk '/^Optimal - objective value/ { print "optimal", $NF; f = 1 }
                     /infeasible - objective value/ && !f { print "infeasible"; f = 1 }
                     /errors on input|Bad image|No match/ { e = 1 }
                     END { if (!f || e) print "unread" }' "$scratch/clp.log" | tail -1)" ;;
      cbc)
        flag=(); [ "$max" = 1 ] && flag=(-max)
        (cd "$scratch" && timeout 60 cbc m.mps "${flag[@]}" -solve -quit >cbc.log 2>&1)
        peer="$(awk '/^Result - Optimal solution found/ { s = "optimal" }
                     /^Optimal - objective value/ { s = "optimal"; v = $NF }
                     /^Result - .*[Ii]nfeasible|^Problem is infeasible/ { s = "infeasible" }
                     /^Objective value:/ { v = $NF }
                     /errors on input|Bad image|No match/ { e = 1 }
                     END { print (e ? "unread" : (s == "" ? "none" : s)), v }' "$scratch/cbc.log")" ;;
      glpsol)
        flag=(--min); [ "$max" = 1 ] && flag=(--max)
        sed '/^OBJSENSE/,/^ROWS/{/^ROWS/!d}' "$scratch/m.mps" >"$scratch/g.mps"
        (cd "$scratch" && timeout 60 glpsol --freemps g.mps "${flag[@]}" -o sol.txt >glpsol.log 2>&1)
        peer="$(awk '/^Status:/ { s = $0 }
                     /^Objective:/ { v = $4 }
                     END { if (s ~ /OPTIMAL/) print "optimal", v
                           else if (s ~ /INFEAS|EMPTY/) print "infeasible"
                           else print "none" }' "$scratch/sol.txt" 2>/dev/null)"
        grep -q "PRIMAL INFEASIBLE\|NO PRIMAL FEASIBLE\|NO INTEGER FEASIBLE" "$scratch/glpsol.log" && peer="infeasible"
        grep -q "warning\|error" "$scratch/glpsol.log" && peer="unread: $(grep 'warning\|error' "$scratch/glpsol.log" | head -1)" ;;
    esac
    if same "$peer" "$ours"; then
      echo "ok $name $p: $peer"
    else
      echo "FAIL $name: $p gives '$peer', GO '$ours'"; cat "$scratch/m.mps"; cat "$scratch/$p.log"; status=1
    fi
  done
  rm -rf "$scratch"
done
exit $status

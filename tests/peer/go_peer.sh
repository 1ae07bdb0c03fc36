#!/usr/bin/env bash
# Checks GO against an independent solver: each model NAME.txt under MODELS-DIR (model text
# without MODEL: and END) is solved with GO, and its outcome compared with the same model
# written in GNU MathProg (NAME.mod, solved by glpsol) or, for nonlinear models, with the
# optimum worked out by hand (NAME.expect: "optimal VALUE", "infeasible" or "unbounded").
# Objective values must agree to 1e-6 relative, with the solved rows substituted out as by
# default and with every row kept (SUBOUT 0). Exit 77 (skipped) without glpsol.
# A model in the row syntax is entered at the prompt (declarations after its END).
# Usage: go_peer.sh QUIRN-BINARY MODELS-DIR
set -u
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; dir="$(cd "$2" && pwd)"
command -v glpsol >/dev/null 2>&1 || { echo "glpsol is not installed (package glpk-utils)"; exit 77; }
status=0
for model in "$dir"/*.txt; do
  name="$(basename "$model" .txt)"
  scratch="$(mktemp -d)"
  # GO's outcome under the given SET commands: the status line of the result summary and
  # the objective value. A model in the row syntax (MAX or MIN then a blank) is typed at the
  # prompt as it stands.
  outcome() {
    if head -1 "$model" | grep -qiE '^ *(MAX|MIN) '; then
      { cat "$model"; printf '%s\nTERSE\nGO\nQUIT\n' "$1"; } >"$scratch/in.txt"
    else
      { echo "MODEL:"; cat "$model"; echo "END"; printf '%s\nTERSE\nGO\nQUIT\n' "$1"; } >"$scratch/in.txt"
    fi
    (cd "$scratch" && timeout 60 "$bin" <in.txt >out.txt 2>&1)
    awk '/Global optimal solution found|Local optimal solution found|Feasible solution found/ { s = "optimal" }
         /No feasible solution found/ { s = "infeasible" }
         /Model is unbounded/ { s = "unbounded" }
         /Objective value:/ { v = $NF }
         END { print (s == "" ? "none" : s), v }' "$scratch/out.txt"
  }
  if [ -f "$dir/$name.mod" ]; then
    if ! (cd "$scratch" && timeout 60 glpsol --math "$dir/$name.mod" -o sol.txt >glpsol.log 2>&1); then
      echo "FAIL $name: glpsol failed"; cat "$scratch/glpsol.log"; status=1; rm -rf "$scratch"; continue
    fi
    peer="$(awk '/^Status:/ { s = $2 " " $3 }
                 /^Objective:/ { v = $4 }
                 END { if (s ~ /OPTIMAL/) print "optimal", v
                       else if (s ~ /INFEAS|EMPTY/ || s == "UNDEFINED ") print "infeasible"
                       else if (s ~ /UNBND|UNBOUNDED/) print "unbounded"
                       else print "unknown", s }' "$scratch/sol.txt")"
    # glpsol says only "no feasible solution" or "unbounded" on its log for an LP it could not solve.
    grep -q "HAS NO PRIMAL FEASIBLE\|NO FEASIBLE\|INTEGER INFEASIBLE" "$scratch/glpsol.log" && peer="infeasible"
    grep -q "HAS UNBOUNDED" "$scratch/glpsol.log" && peer="unbounded"
  else
    peer="$(cat "$dir/$name.expect")"
  fi
  # The same model with every row kept for the solver (no substitution of solved rows).
  for settings in "" "SET SUBOUT 0"; do
    ours="$(outcome "$settings")"
    if grep -q "Sanitizer\|runtime error:" "$scratch/out.txt"; then
      echo "FAIL $name ($settings): sanitizer report"; cat "$scratch/out.txt"; status=1; break
    elif awk -v a="$ours" -v b="$peer" 'BEGIN {
          split(a, x, " "); split(b, y, " ")
          if (x[1] != y[1]) exit 1
          if (x[1] != "optimal") exit 0
          d = x[2] - y[2]; if (d < 0) d = -d
          m = y[2] < 0 ? -y[2] : y[2]
          exit !(d <= 1e-6 * (m > 1 ? m : 1)) }'; then
      [ -z "$settings" ] && echo "ok $name: $ours"
    else
      echo "FAIL $name ($settings): GO gives '$ours', the peer '$peer'"; cat "$scratch/out.txt"; status=1; break
    fi
  done
  # Where the .mod twin says that its duals are unique, the dual prices and reduced costs that
  # SOLUTION prints must be those glpsol gives for the MPS file that SMPS writes with every row
  # kept (SUBOUT 0); SOLUTION runs with the default substitution, so that the prices of the
  # rows that the analysis solved are checked too.
  if [ -f "$dir/$name.mod" ] && grep -q "^# duals are unique" "$dir/$name.mod"; then
    { echo "MODEL:"; cat "$model"; echo "END"
      printf 'SET SUBOUT 0\nTERSE\nGO\nSMPS m.mps\nSET SUBOUT 2\nGO\nSOLUTION\nQUIT\n'; } >"$scratch/in.txt"
    (cd "$scratch" && timeout 60 "$bin" <in.txt >out.txt 2>&1)
    sense="--min"
    awk '/^OBJSENSE/ { getline; if ($1 == "MAX") found = 1 } END { exit !found }' "$scratch/m.mps" && sense="--max"
    sed '/^OBJSENSE/,/^ROWS/{/^ROWS/!d}' "$scratch/m.mps" >"$scratch/g.mps"
    (cd "$scratch" && glpsol --freemps g.mps "$sense" -w w.txt >glpsol.log 2>&1)
    awk -v model="$name" -v sense="$sense" '
      function same(a, b) { d = a - b; if (d < 0) d = -d; return d <= 1e-6 * (1 + (b < 0 ? -b : b)) }
      # the MPS file: row names in order (the objective row first) and column names in order
      FILENAME ~ /m.mps$/ { if ($1 == "ROWS") part = "R"; else if ($1 == "COLUMNS") part = "C"
                            else if ($1 == "RHS" || $1 == "BOUNDS" || $1 == "RANGES") part = ""
                            else if (part == "R" && $1 != "N") row[++nr] = $2
                            else if (part == "C" && $1 != "MARKER" && $2 != "\x27MARKER\x27" && !($1 in seen)) { seen[$1] = 1; col[++nc] = $1 }
                            next }
      FILENAME ~ /w.txt$/ { if ($1 == "i") pd["R", row[$2]] = $5; else if ($1 == "j") pd["C", col[$2]] = $5; next }
      # SOLUTION: name (blanks and a closing ")" dropped, as in the MPS file), value, price
      /Reduced Cost/ { part = "C"; next } /Dual Price/ { part = "R"; next }
      part != "" && NF >= 3 { nm = ""; for (i = 1; i <= NF - 2; i++) nm = nm $i; sub(/\)$/, "", nm)
                             if ((part, nm) in pd) { want = pd[part, nm]
                               if ((part == "R") == (sense == "--min")) want = -want
                               if (!same($NF, want)) { printf "FAIL %s: %s %s is %s, glpsol gives %s\n", model, part == "R" ? "dual price of" : "reduced cost of", nm, $NF, want; bad = 1 }
                               n++ } }
      END { if (n == 0) { printf "FAIL %s: no prices compared\n", model; bad = 1 } exit bad }
    ' "$scratch/m.mps" "$scratch/w.txt" "$scratch/out.txt" || status=1
  fi
  rm -rf "$scratch"
done
exit $status

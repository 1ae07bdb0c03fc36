#!/usr/bin/env bash
# Checks the range report against an independent solver: each model under MODELS-DIR
# (model text without MODEL: and END) is solved, written with SMPS and ranged with RANGE;
# GLPK's glpsol then ranges the written MPS file, and every allowable increase and
# decrease of a cost or a right-hand side must agree. Exit 77 (skipped) without glpsol.
# Usage: range_peer.sh QUIRN-BINARY MODELS-DIR
set -u
bin="$1"; dir="$2"
command -v glpsol >/dev/null 2>&1 || { echo "glpsol is not installed (package glpk-utils)"; exit 77; }
status=0
for model in "$dir"/*.txt; do
  case_name="$(basename "$model" .txt)"
  scratch="$(mktemp -d)"
  { echo "MODEL:"; cat "$model"; echo "END"
    printf 'SET DUALCO 2\nTERSE\nGO\nSMPS m.mps\nRANGE\nQUIT\n'; } >"$scratch/in.txt"
  (cd "$scratch" && timeout 60 "$bin" <in.txt >out.txt 2>&1)
  if [ ! -s "$scratch/m.mps" ] || ! grep -q "Ranges in which the basis is unchanged" "$scratch/out.txt"; then
    echo "FAIL $case_name: no MPS file or no range report"; cat "$scratch/out.txt"; status=1
    rm -rf "$scratch"; continue
  fi
  # glpsol reads no OBJSENSE section: the sense goes on its command line instead.
  sense="--min"
  awk '/^OBJSENSE/ { getline; if ($1 == "MAX") found = 1 } END { exit !found }' "$scratch/m.mps" && sense="--max"
  sed '/^OBJSENSE/,/^ROWS/{/^ROWS/!d}' "$scratch/m.mps" >"$scratch/g.mps"
  if ! (cd "$scratch" && glpsol --freemps g.mps "$sense" --ranges r.txt >glpsol.log 2>&1); then
    echo "FAIL $case_name: glpsol failed"; cat "$scratch/glpsol.log"; status=1
    rm -rf "$scratch"; continue
  fi
  awk -v model="$case_name" '
    function num(s) { if (s == ".") return 0; if (s == "+Inf" || s == "INFINITY") return INF
                      if (s == "-Inf") return -INF; return s + 0 }
    function same(a, b) { if (a >= INF || b >= INF) return a >= INF && b >= INF
                          d = a - b; if (d < 0) d = -d; return d <= 1e-5 * (1 + (b < 0 ? -b : b)) }
    function check(kind, name, what, ours, peer) {
      if (!same(ours, peer)) { printf "FAIL %s: %s %s %s is %s, glpsol gives %s\n", model, kind, name, what, ours, peer; bad = 1 }
    }
    BEGIN { INF = 1e30 }
    # The range report (first file): names lose blanks and a closing ")", as in the MPS file.
    FNR == NR {
      if ($0 ~ /Objective Coefficient Ranges/) { part = "V"; skip = 2; next }
      if ($0 ~ /Righthand Side Ranges/) { part = "R"; skip = 2; next }
      if (skip > 0) { skip--; next }
      if (part == "" || NF < 4) { part = ""; next }
      name = ""; for (i = 1; i <= NF - 3; i++) name = name $i
      sub(/\)$/, "", name); name = toupper(name)
      ours[part, name] = 1; inc[part, name] = num($(NF - 1)); dec[part, name] = num($NF); n[part]++
      next
    }
    # glpsol: pages of rows, then of columns; two lines per item.
    /Row name/ { page = "R" } /Column name/ { page = "V" }
    $1 ~ /^[0-9]+$/ && NF >= 9 { nm = toupper($2); st = $3; act = num($4); c = num($5); lo = num($6)
                                 arlo = num($7); crlo = num($8); getline
                                 up = num($2); arhi = num($3); crhi = num($4)
                                 if (page == "V") {
                                   pinc["V", nm] = crhi >= INF ? INF : crhi - c
                                   pdec["V", nm] = crlo <= -INF ? INF : c - crlo
                                 } else if (st != "BS") {
                                   pinc["R", nm] = arhi >= INF ? INF : arhi - act
                                   pdec["R", nm] = arlo <= -INF ? INF : act - arlo
                                 } else if (lo <= -INF) { pinc["R", nm] = INF; pdec["R", nm] = up - act }
                                 else { pinc["R", nm] = act - lo; pdec["R", nm] = INF }
                                 peer[page, nm] = 1; m[page]++ }
    END {
      for (k in ours) {
        split(k, p, SUBSEP)
        if (!(k in peer)) { printf "FAIL %s: %s not in the glpsol report\n", model, p[2]; bad = 1; continue }
        check(p[1] == "V" ? "cost of" : "rhs of", p[2], "increase", inc[k], pinc[k])
        check(p[1] == "V" ? "cost of" : "rhs of", p[2], "decrease", dec[k], pdec[k])
      }
      if (n["V"] != m["V"] || n["R"] != m["R"]) {
        printf "FAIL %s: %d columns and %d rows ranged, glpsol %d and %d\n", model, n["V"], n["R"], m["V"], m["R"]; bad = 1
      }
      if (!bad) printf "ok %s: %d columns, %d rows\n", model, n["V"], n["R"]
      exit bad
    }' "$scratch/out.txt" "$scratch/r.txt" || { status=1; cat "$scratch/out.txt" "$scratch/r.txt"; }
  rm -rf "$scratch"
done
exit $status

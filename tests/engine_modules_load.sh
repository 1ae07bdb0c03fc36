#!/usr/bin/env bash
# The solver library's engine modules are mapped only when a model needs them: a linear
# session maps Clp and no other engine, a pure-integer model that GLPK settles (duals
# included) maps GLPK but neither Clp nor Cbc, one with a hurdle goes to Cbc (and the Clp it
# is built on), and nonlinear models map Ipopt and Bonmin (and the Cbc and Clp that Bonmin is
# built on); each still solves to its optimum. With the library alone, without its modules,
# a linear, integer or nonlinear solve ends with the library's "not available" error.
# Usage: engine_modules_load.sh QUIRN-BINARY
set -u
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
status=0
lp='MODEL:\nMAX = 3*X + 2*Y;\nX + Y <= 4;\nX + 3*Y <= 6;\nEND\nTERSE\nGO\nQUIT\n'
ip='MODEL:\nMAX = 3*X + 2*Y;\nX + Y <= 4.5;\nX + 3*Y <= 6;\n@GIN(X); @GIN(Y);\nEND\n'
nlp='MODEL:\nMIN = (X-1)^2 + (Y-2)^2;\nX + Y <= 2;\nEND\nTERSE\nGO\nQUIT\n'
minlp='MODEL:\nMIN = (X-1.4)^2 + (Y-2)^2;\nX + Y <= 2;\n@GIN(X);\nEND\nTERSE\nGO\nQUIT\n'
# Runs the session $1 with the loader's trace of the files it maps in trace.txt, the
# output in out.txt.
run() {
  printf '%b' "$1" >in.txt
  rm -f ld.*
  LD_DEBUG=files LD_DEBUG_OUTPUT="$scratch/ld" timeout 60 "$bin" <in.txt >out.txt 2>&1
  cat ld.* >trace.txt
}
# case: name, session, the engines mapped (of clp glpk cbc nl), the objective value expected
check() {
  run "$2"
  mapped=""
  grep -q 'libClp\.' trace.txt && mapped="$mapped clp"
  grep -q 'libglpk' trace.txt && mapped="$mapped glpk"
  grep -q 'libCbc\.' trace.txt && mapped="$mapped cbc"
  grep -q 'libipopt\|libbonmin' trace.txt && mapped="$mapped nl"
  if [ "${mapped# }" != "$3" ]; then
    echo "$1: engines mapped '${mapped# }', expected '$3'"; status=1
  fi
  if ! grep -q "Objective value: *$4\$" out.txt; then
    echo "$1: objective not $4"; cat out.txt; status=1
  fi
}
check linear "$lp" "clp" 12.00000
check integer "${ip}TERSE\nGO\nQUIT\n" "glpk" 12.00000
check integer_hurdle "${ip}SET HURDLE 10\nTERSE\nGO\nQUIT\n" "clp cbc" 12.00000
check nonlinear "$nlp" "clp cbc nl" 0.5000000
check nonlinear_integer "$minlp" "clp cbc nl" 1.160000

# The library without its modules, found first on the library path.
mkdir lib && cp "$(dirname "$(grep -o '/[^ ]*/libbresk\.so' trace.txt | head -n 1)")/libbresk.so" lib/ || exit 1
for session in "$lp" "${ip}TERSE\nGO\nQUIT\n" "${ip}SET HURDLE 10\nTERSE\nGO\nQUIT\n" "$nlp" "$minlp"; do
  printf '%b' "$session" >in.txt
  LD_LIBRARY_PATH="$scratch/lib" timeout 60 "$bin" <in.txt >out.txt 2>&1
  rc=$?
  if [ $rc -ne 0 ] || ! grep -q 'error code: *2012' out.txt; then
    echo "without modules: exit $rc, no 'not available' error for"; cat in.txt; cat out.txt; status=1
  fi
done
exit $status

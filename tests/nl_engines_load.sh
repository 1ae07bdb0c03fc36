#!/usr/bin/env bash
# The nonlinear engines (Ipopt, Bonmin and their numerical libraries) are mapped only when a
# model needs them: a session that solves a linear and an integer model never loads them,
# and a nonlinear and a nonlinear integer model still solve to their optima.
# Usage: nl_engines_load.sh QUIRN-BINARY
set -u
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
status=0
# Runs the session $1 with the loader's trace of the files it maps in trace.txt, the
# output in out.txt.
run() {
  printf '%b' "$1" >in.txt
  rm -f ld.*
  LD_DEBUG=files LD_DEBUG_OUTPUT="$scratch/ld" timeout 60 "$bin" <in.txt >out.txt 2>&1
  cat ld.* >trace.txt
}
# case: name, session, whether the engines are loaded (0/1), the objective value expected
check() {
  run "$2"
  loaded=0
  grep -q 'libipopt\|libbonmin' trace.txt && loaded=1
  if [ "$loaded" != "$3" ]; then
    echo "$1: nonlinear engines loaded $loaded, expected $3"; status=1
  fi
  if ! grep -q "Objective value: *$4\$" out.txt; then
    echo "$1: objective not $4"; cat out.txt; status=1
  fi
}
check linear 'MODEL:\nMAX = 3*X + 2*Y;\nX + Y <= 4;\nX + 3*Y <= 6;\nEND\nTERSE\nGO\nQUIT\n' 0 12.00000
check integer 'MODEL:\nMAX = 3*X + 2*Y;\nX + Y <= 4.5;\nX + 3*Y <= 6;\n@GIN(X); @GIN(Y);\nEND\nTERSE\nGO\nQUIT\n' 0 12.00000
check nonlinear 'MODEL:\nMIN = (X-1)^2 + (Y-2)^2;\nX + Y <= 2;\nEND\nTERSE\nGO\nQUIT\n' 1 0.5000000
check nonlinear_integer 'MODEL:\nMIN = (X-1.4)^2 + (Y-2)^2;\nX + Y <= 2;\n@GIN(X);\nEND\nTERSE\nGO\nQUIT\n' 1 1.160000
exit $status

#!/usr/bin/env bash
# Signals sent to the real program. Ctrl-C (SIGINT) during a long integer solve stops the
# solve with its interrupt message and the session goes on: the commands that follow run,
# a divert file open meanwhile is closed whole; Ctrl-C while the program waits for input
# ends nothing either. A command script whose output pipe is closed early runs to its end:
# its file commands still write. Usage: session_signals.sh QUIRN-BINARY
set -u
bin="$(realpath "$1")"
scratch="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
fail() { echo "FAIL: $*"; echo "--- stdout tail"; tail -20 out.txt 2>/dev/null; exit 1; }

# A market-split model: equality rows of random weights over binary variables, each with
# half its weights' sum on the right; the branch and bound search runs for minutes.
awk -v m=6 -v n=40 'BEGIN {
  seed = 12345
  print "MODEL:"
  printf "MIN = X1"; for (j = 2; j <= n; j++) printf " + X%d%s", j, (j % 10 == 0 ? "\n" : ""); print ";"
  for (i = 1; i <= m; i++) {
    s = 0; line = ""
    for (j = 1; j <= n; j++) { seed = (seed * 1103515245 + 12345) % 2147483648; a = int(seed / 65536) % 100; s += a
      line = line (j > 1 ? " + " : "") a "*X" j; if (j % 8 == 0) { print line; line = "" } }
    print " = " int(s / 2) ";"
  }
  for (j = 1; j <= n; j++) printf "@BIN(X%d);%s", j, (j % 10 == 0 ? "\n" : " ")
  print "END"
}' > model.txt

# --- Ctrl-C during the solve, then at the prompt
printf 'old\n' > div.txt
mkfifo in
"$bin" < in > out.txt 2> err.txt &
pid=$!
exec 3> in
printf 'TAKE model.txt\nTERSE\nDIV div.txt\nLOOK 1\nGO\n' >&3
# wait until the search is under way: four seconds of processor time (a sanitizer build generates slowly)
cpu() { ps -o times= -p "$pid" 2>/dev/null | tr -d ' '; }
for _ in $(seq 1 600); do
  [ "$(cpu)" -ge 4 ] 2>/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended before the interrupt: $(cat err.txt)"
  sleep 0.1
done
[ "$(cpu)" -ge 4 ] 2>/dev/null || fail "the solve never got under way"
start=$SECONDS
kill -INT "$pid"
printf 'RVRT\n' >&3
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "Ctrl-C during the solve ended the program"
kill -INT "$pid"  # while the program waits for its next command
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "Ctrl-C at the prompt ended the program"
printf 'LOOK 2\nQUIT\n' >&3
exec 3>&-
wait "$pid"
rc=$?
pid=""
[ "$rc" -eq 0 ] || fail "exit status $rc"
[ $((SECONDS - start)) -lt 60 ] || fail "the solve went on for $((SECONDS - start)) s after Ctrl-C"
cat out.txt div.txt | grep -q "The solver was interrupted prior to completion." || fail "no interrupt message"
grep -q "MIN = X1 + X2" div.txt || fail "the divert file lost its output: $(head -3 div.txt)"
grep -q "X11 + X12" out.txt || fail "the command after the interrupt did not run"

# --- output pipe closed early: the script still runs to its end
{
  echo 'TAKE model.txt'
  for _ in $(seq 1 300); do echo 'LOOK ALL'; done
  echo 'SAVE saved.txt'
  echo 'QUIT'
} > script.txt
"$bin" < script.txt 2> err2.txt | head -1 > /dev/null
rc=${PIPESTATUS[0]}
[ "$rc" -eq 0 ] || fail "with its output pipe closed the program ended with status $rc"
grep -q "MIN = X1" saved.txt 2>/dev/null || fail "SAVE after the pipe closed did not write"
echo "ok"

#!/usr/bin/env bash
# Runs one end-to-end session: CASE/input.txt on standard input of a fresh program in a
# scratch directory (CASE/files/* copied there first), standard output compared exactly
# with CASE/expected.txt; each file under CASE/after/ must then match the scratch file of
# the same name. CASE/stdin-closed makes standard input empty after the script (the default),
# CASE/setup.sh, when present, runs in the scratch directory before the session.
# CASE/no-input runs with no input file at all (standard input from /dev/null).
# CASE/fsize limits the size of each file the session writes (ulimit -f, in kilobytes), its
# standard output included; CASE/check.sh, when present, runs in the scratch directory after
# the session and fails the case with a non-zero exit.
# TIME reads the real clock: on both sides of each comparison a well-formed reading of its
# " Cumulative HR:MIN:SEC =" line is replaced by "(elapsed)", so that only its shape counts.
set -u
elapsed() {
  sed -E 's/^( Cumulative HR:MIN:SEC =) *[0-9]+: ?[0-9]+: ?[0-9]?[0-9]\.[0-9]{2}$/\1 (elapsed)/' "$1"
}
bin="$1"; case_dir="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
[ -d "$case_dir/files" ] && cp -r "$case_dir/files/." "$scratch/"
[ -f "$case_dir/setup.sh" ] && (cd "$scratch" && bash "$case_dir/setup.sh")
input=/dev/null
[ -f "$case_dir/input.txt" ] && input="$case_dir/input.txt"
fsize=unlimited
[ -f "$case_dir/fsize" ] && fsize="$(cat "$case_dir/fsize")"
(cd "$scratch" && ulimit -f "$fsize" && timeout 60 "$bin" <"$input" >"$scratch/.stdout" 2>"$scratch/.stderr")
rc=$?
status=0
if [ -f "$case_dir/exit-status" ]; then
  want="$(cat "$case_dir/exit-status")"
  if [ "$rc" != "$want" ]; then echo "exit status $rc, expected $want"; status=1; fi
elif [ "$rc" -ne 0 ]; then
  echo "exit status $rc"; status=1
fi
if ! diff -u --label expected --label actual <(elapsed "$case_dir/expected.txt") <(elapsed "$scratch/.stdout") \
    >"$scratch/.diff"; then
  echo "standard output differs (--- expected, +++ actual):"; cat "$scratch/.diff"; status=1
fi
if [ -f "$case_dir/expected-stderr.txt" ] && ! diff -u "$case_dir/expected-stderr.txt" "$scratch/.stderr"; then
  echo "standard error differs"; status=1
fi
if [ -d "$case_dir/after" ]; then
  while IFS= read -r -d '' f; do
    rel="${f#$case_dir/after/}"
    if [ ! -f "$scratch/$rel" ]; then echo "file $rel is missing"; status=1; continue; fi
    if ! diff -u --label "after/$rel" --label "$rel" <(elapsed "$f") <(elapsed "$scratch/$rel"); then
      echo "file $rel differs"; status=1
    fi
  done < <(find "$case_dir/after" -type f -print0)
fi
if [ -f "$case_dir/check.sh" ] && ! (cd "$scratch" && bash "$case_dir/check.sh"); then
  echo "check.sh failed"; status=1
fi
[ "$status" -ne 0 ] && { echo "stderr was:"; head -c 2000 "$scratch/.stderr"; }
exit $status

# Every refused target is as it was; links still link and their targets were replaced.
fail() { echo "$*"; exit 1; }
[ "$(cat ro.txt)" = old ] && [ "$(stat -c %a ro.txt)" = 444 ] || fail "ro.txt changed"
[ "$(stat -c %a QUIRN.CNF)" = 444 ] && grep -q 'LINLEN= 76' QUIRN.CNF || fail "QUIRN.CNF changed"
[ -d sub ] && [ -z "$(ls -A sub)" ] || fail "sub changed"
[ -c full ] || [ -p full ] || fail "full replaced"
[ -p pipe ] || fail "pipe replaced"
for t in save mps mpi div text; do
  [ -L "$t.link" ] || fail "$t.link replaced"
  [ "$(cat "$t.real")" != old ] || fail "$t.real not written"
done
grep -q 'X < 4' save.real || fail "save.real"
grep -q '^ROWS' mps.real || fail "mps.real"
grep -q 'X < 4' div.real || fail "div.real"
grep -q '^old' text.real && [ "$(wc -l < text.real)" = 2 ] || fail "text.real not appended"
[ -L dangling.link ] && [ ! -e nowhere ] || fail "dangling.link"
for f in RO.TXT SUB FULL PIPE; do [ ! -e "$f" ] || fail "$f created"; done
left="$(ls -A | grep -v -x -e .stdout -e .stderr -e .diff | grep '^\.')"
[ -z "$left" ] || fail "scratch files left: $left"

# Each file the session failed to write whole keeps its old contents.
for f in saved.txt div.txt model.mps table.txt; do
  [ "$(cat "$f")" = old ] || { echo "$f changed"; exit 1; }
done
left="$(ls -A | grep -v -x -e .stdout -e .stderr -e .diff | grep '^\.')"
[ -z "$left" ] || { echo "scratch files left: $left"; exit 1; }

# A model whose text, listing, MPS file and @TEXT table each pass the 16 KB file-size limit
# of the session; the old versions of the files must survive the failed writes.
{
  echo 'MODEL:'
  echo 'SETS: S /1..2000/: X; ENDSETS'
  echo 'MAX = @SUM(S(I): X(I));'
  echo '@FOR(S(I): X(I) <= I);'
  echo 'DATA:'
  echo "@TEXT('table.txt') = X;"
  echo 'ENDDATA'
  for i in $(seq 1 400); do echo "! padding line $i of the model text, long enough to fill the file"; done
  echo 'END'
} > model.txt
for f in saved.txt div.txt model.mps table.txt; do printf 'old\n' > "$f"; done

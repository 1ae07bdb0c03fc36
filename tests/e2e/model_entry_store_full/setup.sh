# A store of 1 MB and a script whose model does not fit in it; the lines after the
# failure include commands that must not run.
printf 'MXMEMB=  1\n' > QUIRN.CNF
{
  echo MODEL
  for i in $(seq 1 20000); do echo "X$i + YYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY < 1;"; done
  echo TIME
  echo "DIV leak.txt"
  echo END
  echo TIME
} > big.txt

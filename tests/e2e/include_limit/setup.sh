# 257 include files, each with a section left suspended
for i in $(seq 1 257); do printf "5~6\n" > g$i.txt; done

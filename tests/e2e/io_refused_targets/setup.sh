# Targets no writer may replace: a read-only file, a directory, a device node (a FIFO where
# mknod is not allowed), a FIFO; and symbolic links that are written through.
printf 'old\n' > ro.txt && chmod 444 ro.txt
chmod 444 QUIRN.CNF
mkdir sub
mknod full c 1 7 2>/dev/null || mkfifo full
mkfifo pipe
for t in save mps mpi div text; do printf 'old\n' > "$t.real"; ln -s "$t.real" "$t.link"; done
ln -s nowhere/missing.txt dangling.link

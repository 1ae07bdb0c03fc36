#!/usr/bin/env bash
# The folders are layers, each above the ones before it: store, session, language, generate,
# solver, reports. No file of a folder (tests and their fixtures aside) includes a header of
# a higher folder; the master record in store/ alone joins the field declarations of each.
# A lower layer reaches a higher one only through the routines entered in store/upcalls.h.
set -u
root="$1"
layers=(store session language generate solver reports)
status=0
for ((i = 0; i < ${#layers[@]} - 1; ++i)); do
  here="${layers[$i]}"
  higher="$(IFS='|'; echo "${layers[*]:$((i + 1))}")"
  bad="$(ls "$root/$here"/*.cpp "$root/$here"/*.h | grep -v '_test\.cpp$\|fixture\.h$' |
         xargs grep -nE "#include \"($higher)/" | grep -v '_fields\.h"' || true)"
  if [ -n "$bad" ]; then echo "$here/ includes from higher folders:"; echo "$bad"; status=1; fi
done
[ "$status" -eq 0 ] && echo "no folder includes from a higher one"
exit "$status"

#!/usr/bin/env bash
# The store sits below every other folder: none of its files includes a header of a higher
# folder, except the master record joining the field declarations of each subsystem.
set -u
root="$1"
bad="$(grep -n '#include "\(session\|language\|generate\|solver\|reports\)/' "$root"/store/*.cpp "$root"/store/*.h \
       | grep -v '_fields\.h"' || true)"
if [ -n "$bad" ]; then echo "store/ includes from higher folders:"; echo "$bad"; exit 1; fi
echo "store/ includes nothing from higher folders"

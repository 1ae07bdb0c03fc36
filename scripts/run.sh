#!/usr/bin/env bash
# Sets up, builds and starts QUIRN; standard input passes through (bash scripts/run.sh < script.txt).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" </dev/null >&2
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo </dev/null >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target quirn </dev/null >/dev/null
exec "$root/build/quirn" "$@"

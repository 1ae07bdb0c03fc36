#!/usr/bin/env bash
# Installs what building and testing QUIRN needs on a Debian 12 machine (missing packages only).
set -euo pipefail
PKGS="g++ cmake make pkg-config git libgtest-dev
      coinor-libclp-dev coinor-libcbc-dev coinor-libipopt-dev coinor-libcoinutils-dev coinor-libbonmin-dev
      coinor-clp coinor-cbc glpk-utils libglpk-dev"
if [ "${1:-}" = "--test" ]; then
  PKGS="$PKGS clang-14 libclang-rt-14-dev"
fi
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing:$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing >/dev/null
fi

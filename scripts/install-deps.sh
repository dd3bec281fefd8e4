#!/usr/bin/env bash
# Installs the Debian packages a task needs, only when some are missing.
# Usage: scripts/install-deps.sh PACKAGE...
set -euo pipefail
missing=()
for pkg in "$@"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# A machine that has just booted may still be updating its packages: wait for
# the package lock (up to 10 minutes) instead of failing.
lock=(-o DPkg::Lock::Timeout=600)
$SUDO apt-get "${lock[@]}" update -q
$SUDO apt-get "${lock[@]}" install -y -q --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs what the Windows module needs on Debian: the MinGW-w64 cross
# compilers, Wine with Xvfb to run it, and wixl, msitools, osslsigncode and
# openssl to build, inspect and sign its installer packages. The 32-bit module
# runs in Wine's 32-bit half, which needs the i386 architecture.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO dpkg --add-architecture i386
  # The new architecture's package lists must be fetched before installing
  # (waiting for the package lock, as scripts/install-deps.sh does).
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
fi
scripts/install-deps.sh $(cat scripts/windows-packages.txt)

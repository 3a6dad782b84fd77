#!/usr/bin/env bash
# Installs what the build needs (Debian), configures, builds, and runs the
# installer from the sample medium into a prefix inside the build tree
# (build/demo-prefix). With a display the installer opens in an SDL window;
# without one it runs unattended with the default answers of
# tools/default-install.script.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qm_install_packages
cmake -S . -B build -G Ninja
cmake --build build

export QUELLMOOR_PREFIX="$PWD/build/demo-prefix"
if [ -z "${QUELLMOOR_SCRIPT:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QUELLMOOR_SCRIPT="$PWD/tools/default-install.script"
  echo "No display: running the installer unattended with $QUELLMOOR_SCRIPT"
fi
build/sample-medium/setup

installed="$QUELLMOOR_PREFIX/drive_c/Games/Quellmoor"
if [ -d "$installed" ]; then
  echo "Quellmoor was installed to C:\\Games\\Quellmoor, on this machine $installed"
else
  echo "Nothing was installed to C:\\Games\\Quellmoor ($installed); drive C: is $QUELLMOOR_PREFIX/drive_c"
fi

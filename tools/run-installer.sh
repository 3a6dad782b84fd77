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

drive_c="$QUELLMOOR_PREFIX/drive_c"
# The registry record says where the game went; the store is REGEDIT4 text.
record="$QUELLMOOR_PREFIX/user.reg"
destination=""
if [ -f "$record" ]; then
  destination=$(sed -n 's/^"destinationPath"="\(.*\)"\r\?$/\1/p' "$record" | sed 's/\\\\/\\/g' | head -n 1)
fi
host_path() {  # X:\a\b -> the drive's folder/a/b: C: is drive_c, Z: the host root, others from the drive map
  local letter="${1:0:1}" folder=""
  case "$letter" in [Cc]) folder="$drive_c" ;; esac
  local mapped
  mapped=$(tr -d '\r' 2>/dev/null <"$QUELLMOOR_PREFIX/drives" | sed -n "s|^[${letter^^}${letter,,}]=\(/.*\)$|\1|p" | tail -n 1)
  [ -n "$mapped" ] && folder="${mapped%/}"
  printf '%s%s\n' "$folder" "$(printf '%s' "${1:2}" | tr '\\' '/')"
}
if [ -n "$destination" ]; then
  echo "Quellmoor was installed to $destination, on this machine $(host_path "$destination")"
  echo "The installation is recorded under HKEY_CURRENT_USER\\Software\\ryk in $record:"
  grep -E '^"(destinationPath|sourcePath|installationType)"' "$record" | tr -d '\r' | sed 's/^/    /'
elif [ -d "$drive_c/Games/Quellmoor" ]; then
  echo "Quellmoor was copied to C:\\Games\\Quellmoor, on this machine $drive_c/Games/Quellmoor (not recorded: setup did not reach the links page)"
else
  echo "Nothing was installed; drive C: is $drive_c"
fi
links=$(find "$drive_c/Windows/Start Menu/Programs/Quellmoor" "$drive_c/Windows/Desktop" -name '*.lnk' 2>/dev/null | sort)
if [ -n "$links" ]; then
  echo "Links:"
  printf '%s\n' "$links" | sed 's/^/    /'
fi

#!/usr/bin/env bash
# Installs what the build needs (Debian), configures, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
qm_install_packages
cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 300

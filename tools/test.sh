#!/usr/bin/env bash
# Installs what the build needs (Debian), configures, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
Usage: bash tools/test.sh [--sanitize]

Installs the Debian packages the build needs, configures and builds in
build/ and runs every test.

  --sanitize  instead: build in build-sanitize/ with AddressSanitizer and
              UndefinedBehaviorSanitizer and run every test there
              (tools/sanitize.sh); any memory error, undefined behaviour
              or leak fails the run
  --help      show this text
EOF
}

sanitize=0
for argument in "$@"; do
  case "$argument" in
    --sanitize) sanitize=1 ;;
    --help | -h) usage; exit 0 ;;
    *) echo "tools/test.sh: unknown argument: $argument" >&2; usage >&2; exit 2 ;;
  esac
done
if [ "$sanitize" -eq 1 ]; then
  exec bash tools/sanitize.sh
fi

source tools/packages.sh
qm_install_packages
cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 300

#!/usr/bin/env bash
# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer
# (with LeakSanitizer at every process exit), built in build-sanitize/ so the
# normal build in build/ keeps its own flags. Any memory error, undefined
# behaviour or leak fails its test. Leaks inside system libraries are
# suppressed by tools/sanitizers/lsan.supp, each entry with its reason; our
# own are never suppressed.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
Usage: bash tools/sanitize.sh

Builds in build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer
(gcc, -O1 with line tables) and runs every test there. Also reached as
`bash tools/test.sh --sanitize`.

  --help  show this text
EOF
}

for argument in "$@"; do
  case "$argument" in
    --help | -h) usage; exit 0 ;;
    *) echo "tools/sanitize.sh: unknown argument: $argument" >&2; usage >&2; exit 2 ;;
  esac
done

source tools/packages.sh
qm_install_packages

# -O1, line tables only (-g1) and leaving out the benchmarks keep the build
# and the run affordable; frame pointers and the line tables give reports
# with whole stacks and source lines. A finding stops its process at once
# instead of scrolling past. The standard library's own checks catch an
# index past a container's size that stays inside its allocation, where
# AddressSanitizer sees nothing.
sanitizers="address,undefined,float-cast-overflow"
flags="-O1 -g1 -fno-omit-frame-pointer -fsanitize=$sanitizers -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS"
link_flags="-fsanitize=$sanitizers"

# Options also reach the programs the tests start (the installer, the SDL
# test's run under xvfb-run) and the test listing the build runs.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Under xvfb, SDL's accelerated renderer (and its accelerated window
# framebuffer) load Mesa's software GL driver, which leaks and is unloaded
# before the leak check: its leaks then name no library a suppression could
# match. SDL's software renderer draws the same screen without GL; our
# backend's code is the same either way.
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DQM_BENCHMARKS=OFF \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
  "-DCMAKE_C_FLAGS_SANITIZE=$flags" "-DCMAKE_CXX_FLAGS_SANITIZE=$flags" \
  "-DCMAKE_EXE_LINKER_FLAGS_SANITIZE=$link_flags" "-DCMAKE_SHARED_LINKER_FLAGS_SANITIZE=$link_flags"
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)" --timeout 600

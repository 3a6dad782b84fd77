#!/usr/bin/env bash
# Whole installation runs side by side with `cp -r` of the same four trees.
#
# Makes the media below in a temporary folder, then for each medium runs the
# real `setup` headless through the whole installation with a response
# script (welcome to Finish, a prefix of its own per run) and `cp -r` of db,
# bin, doc and uninstall into the same file system, alternating, and prints
# the median and the minimum of each side, the ratio of the medians, the
# peak resident memory of each side's runs, the median processor time of
# each side in its own code and in the kernel, and the system calls per copied
# file (strace -c of one more run of each side, less the calls of a run
# over the few program files alone). Then the measurement of a
# medium without install.cfg (start to the first wizard page) against
# `du -sb` of the trees it measures.
#
#   bench/whole-run.sh [--repeats N] [--media "NAME..."] [--no-strace] [--keep]
#
# Media: nested20k (20,000 small files, 100 per folder), flat5k, flat20k,
# flat50k (that many small files in one folder), large1g (one 1 GiB file and
# 10 small ones). Default: all, 3 rounds each.
#
# Fresh space: every run writes into a folder of its own that no run has
# used, and nothing is deleted until every medium is done (a large delete
# slows the next allocations on ext4, cp's more than the installer's); the
# runs take about 1 GiB a round plus 2 GiB a round for large1g. Each run
# starts with no dirty data of the one before (sync, untimed), and one
# untimed run of each side warms the caches first. Within a round the order
# alternates, installer first in odd rounds, cp first in even ones.
set -euo pipefail
cd "$(dirname "$0")/.."
here="$PWD"

repeats=3
media="nested20k flat5k flat20k flat50k large1g"
strace=1
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --repeats) repeats="$2"; shift 2 ;;
    --media) media="$2"; shift 2 ;;
    --no-strace) strace=0; shift ;;
    --keep) keep=1; shift ;;
    *) sed -n '2,28p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done

need() {  # tools the benchmark alone needs, installed on first use
  command -v "$1" >/dev/null && return
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$2" >/dev/null
}
need python3 python3-minimal
[ "$strace" -eq 0 ] || need strace strace

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target setup >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/quellmoor-whole-run-XXXXXX")"
cleanup() {
  if [ "$keep" -eq 1 ]; then echo "kept $work"; return; fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
echo "work folder: $work ($(df -T "$work" | awk 'NR == 2 { print $2 " on " $1 }'))"
echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"

cat > "$work/install.script" <<'EOF'
wait "Install"
click 0x3024
click 0x3024
click 0x3024
click 0x3024
wait-idle
click 0x3024
click 0x3024
click 0x3025
EOF
cat > "$work/first-page.script" <<'EOF'
wait "Install"
expect-enabled 0x3024
end
EOF

make_medium() {  # NAME -> folder of the medium, made once
  local name="$1" dir="$work/media/$1"
  case "$name" in
    nested20k) set -- --files 20000 --per-folder 100 --large-count 0 ;;
    flat5k) set -- --files 5000 --per-folder 5000 --large-count 0 ;;
    flat20k) set -- --files 20000 --per-folder 20000 --large-count 0 ;;
    flat50k) set -- --files 50000 --per-folder 50000 --large-count 0 ;;
    large1g) set -- --files 10 --per-folder 10 --large-count 1 --large-size 1G --dense ;;
    *) echo "unknown medium $name" >&2; exit 2 ;;
  esac
  tools/make-medium.sh "$@" "$dir" >&2
  cp build/setup/setup "$dir/setup"
  echo "$dir"
}

timed() { python3 "$here/bench/timed.py" "$@"; }

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
minimum() { sort -g | head -n 1; }
maximum() { sort -g | tail -n 1; }

run_installer() {  # MEDIUM TARGET_PREFIX -> "seconds peakKiB status user system"
  timed --env QUELLMOOR_PREFIX="$2" --env QUELLMOOR_SCRIPT="$work/install.script" \
    --env QUELLMOOR_DISPLAY=headless -- "$1/setup"
}
run_cp() {  # MEDIUM TARGET_FOLDER
  mkdir -p "$2"
  timed --cwd "$1" -- cp -r db bin doc uninstall "$2/"
}

# System calls per copied file: one more run of each side under strace -c,
# less what the same run costs on a medium of only the few program files
# (start-up, the registry record, the links), over the files beyond those.
syscalls() {  # COMMAND... -> the calls strace counted
  local out="$work/strace.txt"
  strace -f -c -o "$out" "$@" >/dev/null 2>&1 || true
  awk '$NF == "total" { print $4 }' "$out"
}
count_files() { find "$1/db" "$1/bin" "$1/doc" "$1/uninstall" -type f | wc -l; }
strace_installer() {  # MEDIUM PREFIX
  syscalls env QUELLMOOR_PREFIX="$2" QUELLMOOR_SCRIPT="$work/install.script" QUELLMOOR_DISPLAY=headless "$1/setup"
}
strace_cp() {  # MEDIUM TARGET
  mkdir -p "$2"
  (cd "$1" && syscalls cp -r db bin doc uninstall "$2/")
}
if [ "$strace" -eq 1 ]; then
  base="$work/media/base"
  tools/make-medium.sh --files 0 --large-count 0 "$base" >/dev/null
  cp build/setup/setup "$base/setup"
  baseFiles=$(count_files "$base")
  baseInstaller=$(strace_installer "$base" "$work/base-installer")
  baseCp=$(strace_cp "$base" "$work/base-cp")
  rm -rf "$base" "$work/base-installer" "$work/base-cp"
fi
per_file() { echo "$1 $2 $3 $baseFiles" | awk '{ printf "%.1f", ($1 - $2) / ($3 - $4) }'; }

declare -a table
for name in $media; do
  echo "== $name: making the medium" >&2
  medium="$(make_medium "$name")"
  files=$(count_files "$medium")
  runs="$work/runs/$name"
  mkdir -p "$runs"
  sync
  # Warm-up, untimed.
  run_installer "$medium" "$runs/warm-installer" >/dev/null
  run_cp "$medium" "$runs/warm-cp" >/dev/null
  sync
  : > "$runs/installer.txt"
  : > "$runs/cp.txt"
  for ((round = 1; round <= repeats; round++)); do
    for side in installer cp; do
      [ $((round % 2)) -eq 1 ] || side=$([ "$side" = installer ] && echo cp || echo installer)
      if [ "$side" = installer ]; then
        result=$(run_installer "$medium" "$runs/installer-$round")
      else
        result=$(run_cp "$medium" "$runs/cp-$round")
      fi
      set -- $result
      [ "$3" -eq 0 ] || { echo "$side run $round of $name failed (status $3)" >&2; exit 1; }
      echo "$1 $2 $4 $5" >> "$runs/$side.txt"
      echo "  $name round $round $side: $1 s, peak $(( $2 / 1024 )) MiB" >&2
      sync
    done
  done
  # The installer's copy is the same as cp's.
  if ! diff -r "$runs/cp-1" "$runs/installer-1/drive_c/Games/Quellmoor" >/dev/null; then
    echo "the installer's copy of $name differs from cp's" >&2
    exit 1
  fi
  sysInstaller="-" sysCp="-"
  if [ "$strace" -eq 1 ]; then
    sysInstaller=$(per_file "$(strace_installer "$medium" "$runs/strace-installer")" "$baseInstaller" "$files")
    sysCp=$(per_file "$(strace_cp "$medium" "$runs/strace-cp")" "$baseCp" "$files")
  fi
  iMed=$(cut -d' ' -f1 "$runs/installer.txt" | median)
  iMin=$(cut -d' ' -f1 "$runs/installer.txt" | minimum)
  iRss=$(cut -d' ' -f2 "$runs/installer.txt" | maximum)
  cMed=$(cut -d' ' -f1 "$runs/cp.txt" | median)
  cMin=$(cut -d' ' -f1 "$runs/cp.txt" | minimum)
  cRss=$(cut -d' ' -f2 "$runs/cp.txt" | maximum)
  cpu() { echo "$(cut -d' ' -f3 "$1" | median) $(cut -d' ' -f4 "$1" | median)" | awk '{ printf "%.2f/%.2f", $1, $2 }'; }
  iCpu=$(cpu "$runs/installer.txt")
  cCpu=$(cpu "$runs/cp.txt")
  table+=("$(printf '| %-9s | %6d | %8.3f | %8.3f | %8.3f | %8.3f | %5.2f | %5.1f | %6.1f | %9s | %10s | %7s | %8s |' \
    "$name" "$files" "$iMed" "$iMin" "$cMed" "$cMin" "$(echo "$iMed $cMed" | awk '{ print $1 / $2 }')" \
    "$(echo "$iRss" | awk '{ print $1 / 1024 }')" "$(echo "$cRss" | awk '{ print $1 / 1024 }')" "$iCpu" "$cCpu" \
    "$sysInstaller" "$sysCp")")

  if [ "$name" = flat50k ]; then
    # The measurement: the same medium without install.cfg, to the first page.
    mv "$medium/install.cfg" "$medium/install.cfg.off"
    : > "$runs/measure.txt"
    : > "$runs/du.txt"
    measure() {
      timed --env QUELLMOOR_PREFIX="$runs/measure-$1" --env QUELLMOOR_SCRIPT="$work/first-page.script" \
        --env QUELLMOOR_DISPLAY=headless -- "$medium/setup"
    }
    du_side() { timed --cwd "$medium" -- du -sb db bin doc; }
    measure warm >/dev/null
    du_side >/dev/null
    for ((round = 1; round <= repeats; round++)); do
      if [ $((round % 2)) -eq 1 ]; then set -- measure du_side; else set -- du_side measure; fi
      for side in "$@"; do
        result=$($side "$round")
        set -- $result
        [ "$3" -eq 0 ] || { echo "$side run $round failed (status $3)" >&2; exit 1; }
        echo "$1 $2 $4 $5" >> "$runs/$([ "$side" = measure ] && echo measure || echo du).txt"
      done
    done
    mv "$medium/install.cfg.off" "$medium/install.cfg"
    mMed=$(cut -d' ' -f1 "$runs/measure.txt" | median)
    mMin=$(cut -d' ' -f1 "$runs/measure.txt" | minimum)
    mRss=$(cut -d' ' -f2 "$runs/measure.txt" | maximum)
    dMed=$(cut -d' ' -f1 "$runs/du.txt" | median)
    dMin=$(cut -d' ' -f1 "$runs/du.txt" | minimum)
    measureLine="$(printf '| measure   | %6d | %8.3f | %8.3f | %8.3f | %8.3f | %5.2f | %5.1f |      - | %9s | %10s |   du -sb, start to the first page' \
      "$files" "$mMed" "$mMin" "$dMed" "$dMin" "$(echo "$mMed $dMed" | awk '{ print $1 / $2 }')" \
      "$(echo "$mRss" | awk '{ print $1 / 1024 }')" "$(cpu "$runs/measure.txt")" "$(cpu "$runs/du.txt")")"
  fi

  # Nothing is deleted before the last medium is done: on this file system
  # a large delete slows the allocations that follow it for longer than a
  # warm-up run lasts, on both sides but not by the same amount.
  sync
done

echo
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "rounds: $repeats per side; times in seconds, peak resident memory in MiB, median processor time"
echo "in the program's own code and in the kernel (usr/sys, seconds), system calls per copied file"
[ "$strace" -eq 0 ] || echo "(system calls beyond those of a run over the $baseFiles program files alone: installer $baseInstaller, cp $baseCp)"
echo "| medium    |  files | inst med | inst min |   cp med |   cp min | ratio | i MiB | cp MiB | i usr/sys | cp usr/sys | i calls | cp calls |"
echo "|-----------|--------|----------|----------|----------|----------|-------|-------|--------|-----------|------------|---------|----------|"
printf '%s\n' "${table[@]}"
[ -z "${measureLine:-}" ] || echo "$measureLine"

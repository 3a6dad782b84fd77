#!/usr/bin/env bash
# Makes a distribution medium for tests and benchmarks: the trees db, bin,
# doc and uninstall with many small files, a few large ones, nested folders,
# read-only files and names with blanks and non-ASCII letters, and an
# install.cfg whose sizes match the trees.
#
#   tools/make-medium.sh [options] FOLDER
#     --files N          small files in db (default 2000)
#     --per-folder N     small files in each folder of db (default 100); as
#                        many as --files puts them all in one folder
#     --large-size SIZE  size of each large file, as truncate/dd take it:
#                        4096, 64M, 1G (default 16M)
#     --large-count N    large files in db (default 2)
#     --dense            write the large files' data (random bytes) instead of
#                        leaving them sparse
#     --no-config        leave install.cfg out (the installer then measures)
set -euo pipefail

files=2000
largeSize=16M
largeCount=2
dense=0
config=1
folder=""
perFolder=100

usage() {
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit "${1:-2}"
}

while [ $# -gt 0 ]; do
  case "$1" in
    --files) files="$2"; shift 2 ;;
    --per-folder) perFolder="$2"; shift 2 ;;
    --large-size) largeSize="$2"; shift 2 ;;
    --large-count) largeCount="$2"; shift 2 ;;
    --dense) dense=1; shift ;;
    --no-config) config=0; shift ;;
    -h|--help) usage 0 ;;
    -*) echo "unknown option: $1" >&2; usage ;;
    *) [ -z "$folder" ] || usage; folder="$1"; shift ;;
  esac
done
[ -n "$folder" ] || usage
[[ "$files" =~ ^[0-9]+$ && "$largeCount" =~ ^[0-9]+$ && "$perFolder" =~ ^[1-9][0-9]*$ ]] ||
  { echo "counts must be numbers" >&2; exit 2; }

here="$(cd "$(dirname "$0")/.." && pwd)"
sample="$here/medium"

mkdir -p "$folder"/{db,bin,doc,uninstall}
cd "$folder"

# Program files and documentation come from the sample medium when it is at
# hand, so a generated medium installs like the real one.
for f in bin/start.exe bin/setup.exe bin/ryk.ico doc/readme.txt uninstall/uninstall.exe; do
  if [ -f "$sample/$f" ]; then cp "$sample/$f" "$f"; else printf 'Quellmoor %s\r\n' "$f" > "$f"; fi
done
# The DirectX runtime package too, so the whole wizard can run from it.
if [ -d "$sample/directx" ]; then cp -r "$sample/directx" directx; fi

# Small files: contents of 64 lengths between 0 and about 6 KB, written with
# shell built-ins only, so that tens of thousands of files take seconds.
contents=()
block="Quellmoor data. The mist lies low over the fens and the causeway stones. "
for ((i = 0; i < 64; i++)); do
  length=$(( (i * i * 37 + i * 11) % 6000 ))
  text=""
  while [ ${#text} -lt "$length" ]; do text+="$block"; done
  contents+=("${text:0:length}")
done

# Folder names rotate through plain, blank-holding and non-ASCII ones.
regionNames=("region" "Moor Maps" "Überreste" "Тропы" "fens")
perRegion=10
readOnly=()
for ((n = 0; n < files; n++)); do
  folderIndex=$(( n / perFolder ))
  region=$(( folderIndex / perRegion ))
  regionDir="db/${regionNames[region % ${#regionNames[@]}]} $region"
  dir="$regionDir/area $(( folderIndex % perRegion ))"
  if (( n % perFolder == 0 )); then mkdir -p "$dir"; fi
  case $(( n % 7 )) in
    0) name="map $n.dat" ;;
    1) name="öde-$n.bin" ;;
    2) name="Камень_$n.txt" ;;
    *) name="item$n.dat" ;;
  esac
  printf '%s' "${contents[n % 64]}" > "$dir/$name"
  if (( n % 97 == 5 )); then readOnly+=("$dir/$name"); fi
done

mkdir -p "db/large files"
for ((n = 0; n < largeCount; n++)); do
  target="db/large files/chunk $n.pak"
  if [ "$dense" -eq 1 ]; then
    bytes=$(numfmt --from=iec "$largeSize")
    mib=$(( bytes / 1048576 ))
    rest=$(( bytes % 1048576 ))
    : > "$target"
    if [ "$mib" -gt 0 ]; then dd if=/dev/urandom of="$target" bs=1M count="$mib" status=none; fi
    if [ "$rest" -gt 0 ]; then head -c "$rest" /dev/urandom >> "$target"; fi
  else
    truncate -s "$largeSize" "$target"
  fi
done

printf 'Quellmoor read-only note\r\n' > "doc/read only.txt"
readOnly+=("doc/read only.txt" "bin/ryk.ico")
chmod a-w "${readOnly[@]}"

treeKb() {
  find "$1" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "%d\n", (s + 1023) / 1024 }'
}

if [ "$config" -eq 1 ]; then
  printf '%s db\r\n%s bin\r\n%s doc\r\n' "$(treeKb db)" "$(treeKb bin)" "$(treeKb doc)" > install.cfg
fi

# Debian packages the build, the tests and the demo need. Sourced by the
# README's commands; installs only what is missing.
QM_PACKAGES=(build-essential cmake ninja-build pkg-config git googletest libgtest-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core
  liblnk-utils xvfb xauth)

# What tools/fuzz.sh needs besides: clang with libFuzzer and the sanitizer
# runtimes.
QM_FUZZ_PACKAGES=(clang libclang-rt-dev)

# Installs the packages of the list named (QM_PACKAGES when none is).
qm_install_packages() {
  local -n wanted="${1:-QM_PACKAGES}"
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Debian packages the build, the tests and the demo need. Sourced by the
# README's commands; installs only what is missing.
QM_PACKAGES=(build-essential cmake ninja-build pkg-config git googletest libgtest-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core
  liblnk-utils xvfb xauth)

qm_install_packages() {
  local missing=()
  for p in "${QM_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

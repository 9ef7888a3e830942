# Sourced by scripts/run and scripts/test: makes sure the Debian packages that
# KORVO needs to build, test and run are installed.
KORVO_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-charts-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
  fonts-liberation fonts-dejavu-core fontconfig xvfb xauth poppler-utils
  python3 python3-xlrd python3-olefile
)

korvo_missing_packages() {
  local missing=() p
  for p in "${KORVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]}"
}

korvo_ensure_packages() {
  local missing
  missing=$(korvo_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
  else
    echo "KORVO needs these Debian packages. Run as root:"
    echo "  apt-get install -y $missing"
    return 1
  fi
}

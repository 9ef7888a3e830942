# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/run and scripts/test: makes sure the Debian packages that
# KORVO needs to build, test and run are installed, and checks that the build
# used nothing that this list does not bring.
#
# Packages are installed without their Recommends, as on a minimal Debian
# machine, so everything the build finds must come from this list or from what
# it pulls in through Depends. libqt6opengl6-dev, for one, is only recommended
# by qt6-base-dev, yet Qt Charts' CMake package needs it.
# The test of what a screen reader hears reads the desktop's accessibility bus:
# pyatspi, the bus launcher of at-spi2-core, and a private session bus
# (dbus-run-session, from dbus-daemon); none of these is a Depends of Qt.
KORVO_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
  fonts-liberation fonts-dejavu-core fontconfig xvfb xauth poppler-utils qpdf
  python3 python3-xlrd python3-olefile
  python3-pyatspi at-spi2-core dbus-daemon
  desktop-file-utils help2man locales
  dpkg-dev lintian appstream git gzip
)

# The locales that the tests run KORVO under, as its users do: Spanish, with a
# decimal comma, and French, whose thousands separator is a blank.
KORVO_TEST_LOCALES=(es_ES.UTF-8 fr_FR.UTF-8)

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

# Generates the test locales that the C library does not have yet (as root;
# otherwise it says what to run).
korvo_ensure_locales() {
  local missing=() l
  for l in "${KORVO_TEST_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l%%.*}.utf8" || missing+=("$l")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Generating the locales: ${missing[*]}"
    for l in "${missing[@]}"; do
      sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
      grep -qx "${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" >>/etc/locale.gen
    done
    locale-gen >/dev/null
  else
    echo "The tests need these locales. Run as root: add '${missing[*]}' (each followed by ' UTF-8') to /etc/locale.gen, then locale-gen"
    return 1
  fi
}

# The packages that the list brings: its own and what they pull in through
# Depends (and Pre-Depends) alone, one name a line.
korvo_listed_closure() {
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${KORVO_PACKAGES[@]}" 2>/dev/null | grep -v '^ ' | tr -d '<>' | sort -u
}

# The files that a build and its tests use from the system: the config file of
# every CMake package that a configure found (the *_DIR entries of its cache),
# the libraries that KORVO's own build files look for by path (the
# libraries that CMake's find modules may look for on their own are optional
# to them), and the programs and modules the tests run.
# Arguments: build folders whose CMakeCache.txt to read.
korvo_used_files() {
  local build dir f
  for build in "$@"; do
    [ -f "$build/CMakeCache.txt" ] || continue
    sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=\(\/usr\/.*\)$/\1/p' "$build/CMakeCache.txt" | while read -r dir; do
      for f in "$dir"/*Config.cmake "$dir"/*-config.cmake; do
        [ -f "$f" ] && echo "$f" && break
      done
    done
    sed -n 's/^KORVO_[A-Za-z0-9_]*_LIBRARY:FILEPATH=\(\/usr\/.*\)$/\1/p' "$build/CMakeCache.txt"
  done
  echo /usr/bin/python3
  command -v Xvfb xvfb-run xauth dbus-run-session clang-format desktop-file-validate dpkg-buildflags lintian appstreamcli git readelf gzip
  /usr/bin/python3 -c 'import xlrd, olefile; print(xlrd.__file__); print(olefile.__file__)' 2>/dev/null
  /usr/bin/python3 -c 'import pyatspi; print(pyatspi.__file__)' 2>/dev/null
  echo /usr/libexec/at-spi-bus-launcher
  if [ -n "${KORVO_CHECK_FUZZ:-}" ]; then
    command -v clang clang++
    clang -print-file-name=libclang_rt.fuzzer-x86_64.a
  fi
}

# Fails, with one line naming each package, when the build used a file whose
# Debian package the list does not bring.
korvo_check_used_packages() {
  local closure file owner status=0
  closure=$(korvo_listed_closure)
  while read -r file; do
    [ -n "$file" ] || continue
    # On a merged /usr, dpkg knows what /bin holds under its old name.
    owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "$(readlink -f "$file")" 2>/dev/null ||
      dpkg -S "${file#/usr}" 2>/dev/null)
    owner=${owner%%:*}
    owner=${owner%%,*}
    if [ -z "$owner" ]; then
      echo "The build used $file, which no Debian package installed; add its package to scripts/packages.sh."
      status=1
    elif ! grep -qx "$owner" <<<"$closure"; then
      echo "The build used $owner ($file), which scripts/packages.sh does not install; add it to the list."
      status=1
    fi
  done < <(korvo_used_files "$@" | sort -u)
  return $status
}

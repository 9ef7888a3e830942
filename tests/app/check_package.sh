#!/usr/bin/env bash
# Builds the Debian package from the build folder given as the first argument
# and checks it as a user's machine meets it: the program, its manual page, its desktop entry and
# its icons in the standard places, a desktop entry that validates, and declared
# dependencies that are run-time packages only yet bring every library the
# program loads.
set -euo pipefail
build=$1
cd "$build"
fail() { echo "check_package: $*" >&2; exit 1; }

rm -f korvo_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; fail "cpack -G DEB failed"; }
deb=$(ls korvo_*.deb)

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/KORVO ./usr/share/applications/korvo.desktop \
  ./usr/share/icons/hicolor/scalable/apps/korvo.svg ./usr/share/icons/hicolor/48x48/apps/korvo.png \
  ./usr/share/icons/hicolor/128x128/apps/korvo.png ./usr/share/icons/hicolor/256x256/apps/korvo.png \
  ./usr/share/man/man1/KORVO.1; do
  grep -q " ${file}\$" <<<"$contents" || fail "$deb lacks $file"
done
if grep -E ' \./usr/(include|lib)/' <<<"$contents"; then fail "$deb holds build files"; fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate --no-hints "$unpacked/usr/share/applications/korvo.desktop"
for side in 48 128 256; do
  size=$(/usr/bin/python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
assert d[:8] == b"\x89PNG\r\n\x1a\n"
print("%dx%d" % struct.unpack(">II", d[16:24]))' "$unpacked/usr/share/icons/hicolor/${side}x${side}/apps/korvo.png")
  [ "$size" = "${side}x${side}" ] || fail "the ${side} pixel icon is $size"
done

depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/ //g' | grep -v '^$')
if grep -E -- '-dev$' <<<"$names"; then fail "$deb depends on development packages: $depends"; fi
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
  --no-replaces --no-enhances $names 2>/dev/null | grep -v '^ ' | tr -d '<>' | sort -u)
for lib in $(objdump -p "$unpacked/usr/bin/KORVO" | awk '/NEEDED/ {print $2}'); do
  path=$(ldconfig -p | awk -v l="$lib" '$1 == l && /x86-64/ && !found {print $NF; found = 1}')
  [ -n "$path" ] || fail "KORVO needs $lib, which is not on this machine"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")")
  owner=${owner%%:*}
  grep -qx "$owner" <<<"$closure" || fail "KORVO needs $lib from $owner, which the package does not depend on"
done
echo "check_package: $deb is complete; it depends on: $depends"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder given as the first argument
# and checks it as a user's machine meets it: the program, its manual page, its desktop entry and
# its icons in the standard places, a desktop entry that validates, and declared
# dependencies that are run-time packages only yet bring every library the
# program loads. Debian's checker, lintian, must find no error and no warning;
# the version (the second argument) is the one the program, the man page, the
# metainfo and the package all carry; the program is hardened.
set -euo pipefail
build=$1
version=$2
cd "$build"
fail() { echo "check_package: $*" >&2; exit 1; }

rm -f korvo_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; fail "cpack -G DEB failed"; }
deb=$(ls korvo_*.deb)

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/KORVO ./usr/share/applications/korvo.desktop \
  ./usr/share/icons/hicolor/scalable/apps/korvo.svg ./usr/share/icons/hicolor/48x48/apps/korvo.png \
  ./usr/share/icons/hicolor/128x128/apps/korvo.png ./usr/share/icons/hicolor/256x256/apps/korvo.png \
  ./usr/share/man/man1/KORVO.1.gz ./usr/share/doc/korvo/copyright ./usr/share/doc/korvo/changelog.gz \
  ./usr/share/metainfo/com.korvatek.korvo.metainfo.xml; do
  grep -q " ${file}\$" <<<"$contents" || fail "$deb lacks $file"
done
if grep -E ' \./usr/(include|lib)/' <<<"$contents"; then fail "$deb holds build files"; fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate --no-hints "$unpacked/usr/share/applications/korvo.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/com.korvatek.korvo.metainfo.xml" >/dev/null ||
  fail "the metainfo does not validate: $(appstreamcli validate --no-net "$unpacked/usr/share/metainfo/com.korvatek.korvo.metainfo.xml")"

# One version everywhere, and a man page whose accented letters survive.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
man=$(gzip -dc "$unpacked/usr/share/man/man1/KORVO.1.gz")
for word in balística Órdenes "KORVO $version (commit" "Licencia GPL"; do
  grep -qF -- "$word" <<<"$man" || fail "the man page lacks \"$word\""
done
grep -qF "<release version=\"$version\"" "$unpacked/usr/share/metainfo/com.korvatek.korvo.metainfo.xml" ||
  fail "the metainfo's release is not $version"
gzip -dc "$unpacked/usr/share/doc/korvo/changelog.gz" | head -n 1 | grep -qF "korvo ($version)" ||
  fail "the changelog's first entry is not $version"

# Debian's hardening, which lintian only notes: read-only relocations bound at
# start, the stack protector, and every object compiled with fortified calls
# (the binary cannot show that last one: where the compiler proves a copy's
# size in bounds it calls no checking variant); and no compiler identification.
program=$unpacked/usr/bin/KORVO
grep -q GNU_RELRO <<<"$(readelf -lW "$program")" || fail "KORVO has no read-only relocations"
grep -qE 'BIND_NOW|FLAGS.*\bNOW\b' <<<"$(readelf -dW "$program")" || fail "KORVO does not bind at load time"
grep -q '__stack_chk_fail@' <<<"$(readelf --dyn-syms -W "$program")" || fail "KORVO has no stack protector"
unhardened=$(/usr/bin/python3 -c 'import json, sys
for c in json.load(open(sys.argv[1])):
    if "/tests/" not in c["file"] and "/bench/" not in c["file"] and not all(
            f in c["command"] for f in ("-D_FORTIFY_SOURCE=2", "-fstack-protector-strong")):
        print(c["file"])' "$build/compile_commands.json")
[ -z "$unhardened" ] || fail "compiled without fortified calls or stack protector: $unhardened"
if grep -qF .comment <<<"$(readelf -SW "$program")"; then fail "KORVO keeps a .comment section"; fi
# No file names the folders it was built in.
if grep -rlaF -e "$build" -e "$(cd "$(dirname "$0")/../.." && pwd)" "$unpacked"; then
  fail "these files name the build or source folder"
fi

# Debian's checker: any error or warning fails. Informational tags that stay:
#  hardening-no-fortify-functions: every object is compiled with
#    -D_FORTIFY_SOURCE=2 (checked above), but the compiler proved the sizes of
#    the program's memcpy, memmove and memset calls and so called no checking
#    variant, which is what this tag looks for;
#  spelling-error-in-binary: Spanish words of the interface ("autor",
#    "interpolar") that the checker's English word list takes for misspellings.
lintian_out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) ||
  fail "lintian finds errors or warnings: $lintian_out"
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

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package a second time, from a copy of the sources in
# another folder and at another time, and compares it byte for byte with the
# package of the build folder given as the second argument. The copy is told
# the same commit and date that the first build recorded (korvo-source.env),
# which is what an expert does who rebuilds a release. Only what the package
# holds is built (no tests, no benchmarks).
# Arguments: the source folder, the build folder.
set -euo pipefail
source=$1
build=$2
fail() { echo "check_reproducible: $*" >&2; exit 1; }

work=$(mktemp -d /tmp/korvo-again.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/first" "$work/korvo-copy"

(cd "$build" && cpack -G DEB -B "$work/first" >"$work/first.log" 2>&1) || { cat "$work/first.log" >&2; fail "cpack failed"; }

# The copy holds what the checkout holds (committed or not), never a build.
if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source" && git ls-files -z --cached --others --exclude-standard) |
    (cd "$source" && while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done) |
    (cd "$source" && xargs -0 cp --parents -t "$work/korvo-copy")
else
  (cd "$source" && tar --exclude='./build*' -cf - .) | (cd "$work/korvo-copy" && tar -xf -)
fi

# shellcheck disable=SC1091
. "$build/korvo-source.env"
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
again=$work/build-again
SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH cmake -S "$work/korvo-copy" -B "$again" -G Ninja \
  -DCMAKE_BUILD_TYPE="$build_type" -DKORVO_BENCH=OFF -DKORVO_COMMIT="$KORVO_COMMIT" \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$work/again.log" 2>&1 || { cat "$work/again.log" >&2; fail "configure failed"; }
cmake --build "$again" --target KORVO korvo_man korvo_icons korvo_changelog >>"$work/again.log" 2>&1 ||
  { tail -n 50 "$work/again.log" >&2; fail "the second build failed"; }
(cd "$again" && cpack -G DEB -B "$work/second" >>"$work/again.log" 2>&1) || { cat "$work/again.log" >&2; fail "cpack failed"; }

first=$(ls "$work"/first/korvo_*.deb)
second=$(ls "$work"/second/korvo_*.deb)
if cmp -s "$first" "$second"; then
  echo "check_reproducible: both builds give $(basename "$first"), sha256 $(sha256sum <"$first" | cut -d' ' -f1)"
  exit 0
fi
# Name what differs: the members' listings and each file's digest.
for side in first second; do
  deb=$(ls "$work/$side"/korvo_*.deb)
  mkdir "$work/$side/x"
  dpkg-deb -R "$deb" "$work/$side/x"
  dpkg-deb -c "$deb" >"$work/$side/listing"
  (cd "$work/$side/x" && find . -type f -exec sha256sum {} + | sort -k2) >"$work/$side/sums"
done
diff "$work/first/listing" "$work/second/listing" >&2 || true
diff "$work/first/sums" "$work/second/sums" >&2 || true
fail "the two builds of the same sources give different packages"

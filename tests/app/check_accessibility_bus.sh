#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs accessibility_bus.py (the second argument) against KORVO (the first) as a
# screen reader meets it: under a private session bus, whose accessibility bus
# the desktop's launcher starts on demand, on a virtual display (the toolkit
# speaks to the bus only on a real window system, not on its offscreen one).
# Exit status 77 (skipped) when a piece of that desktop is not installed,
# except on CI, where scripts/packages.sh installs it and its lack is a fault.
set -euo pipefail
program=$1
script=$2

missing=()
command -v dbus-run-session >/dev/null || missing+=("dbus-run-session (dbus-daemon)")
command -v xvfb-run >/dev/null || missing+=("xvfb-run (xvfb)")
command -v xauth >/dev/null || missing+=("xauth")
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=("at-spi-bus-launcher (at-spi2-core)")
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=("pyatspi (python3-pyatspi)")
if [ ${#missing[@]} -gt 0 ]; then
  if [ "${CI:-}" = "true" ]; then
    echo "check_accessibility_bus: missing on CI: ${missing[*]}" >&2
    exit 1
  fi
  echo "SKIP: the accessibility bus cannot be started here; missing: ${missing[*]}"
  exit 77
fi

# A runtime folder of its own, for the buses' sockets; removed on the way out.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR TMPDIR=$XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
unset QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS DISPLAY
status=0
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 "$script" "$program" || status=$?
if [ "$status" = 77 ] && [ "${CI:-}" = "true" ]; then
  echo "check_accessibility_bus: the accessibility bus did not start on CI" >&2
  exit 1
fi
exit "$status"

#!/usr/bin/env bash
# Runs a test program on an X server of its own (Xvfb picks a free display and reports it when ready),
# in a session bus of its own with the accessibility bus that screen readers listen on.
set -euo pipefail
if [ "${1:-}" != "--in-session" ]; then
  scratch="$(mktemp -d)"
  mkfifo "$scratch/display"
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
  if ! read -r -t 30 display <"$scratch/display"; then
    echo "Xvfb did not start:" >&2
    cat "$scratch/xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
  dbus-run-session -- "$0" --in-session "$@" 2> >(grep -v "Failed to set fd limit" >&2)
  exit
fi
shift
# Qt reports to the accessibility bus once it appears, as it would for a running screen reader.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true' EXIT
"$@"

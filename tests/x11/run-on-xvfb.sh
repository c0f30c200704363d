#!/usr/bin/env bash
# Runs a test program on an X server of its own: Xvfb picks a free display and reports it when ready.
set -euo pipefail
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
"$@"

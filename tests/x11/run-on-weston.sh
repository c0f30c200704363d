#!/usr/bin/env bash
# Runs a test program on a Wayland compositor of its own: Debian's weston with its headless back end, in a
# runtime folder of its own, and Qt's wayland platform.
set -euo pipefail
runtime="$(mktemp -d)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket=panel-wayland --idle-time=0 --log="$runtime/weston.log" &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do
  [ -S "$runtime/panel-wayland" ] && break
  kill -0 "$weston" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/panel-wayland" ]; then
  echo "weston did not start:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
unset DISPLAY
export WAYLAND_DISPLAY=panel-wayland QT_QPA_PLATFORM=wayland
"$@"

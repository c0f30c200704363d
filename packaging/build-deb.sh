#!/usr/bin/env bash
# Builds the Debian package: sets up and builds build/ (tools/setup.sh), then runs CPack on it.
# Usage: packaging/build-deb.sh [OUTPUT_DIR]   (default build/package); prints the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/package}"
"$root/tools/setup.sh"
# A build tree configured before packaging/ existed has no CPack configuration yet.
if [ ! -f "$root/build/CPackConfig.cmake" ]; then
  cmake "$root/build" >/dev/null && cmake --build "$root/build" >/dev/null
fi
mkdir -p "$out"
out="$(cd "$out" && pwd)"
log="$(cpack --config "$root/build/CPackConfig.cmake" -G DEB -B "$out" 2>&1)" || { echo "$log" >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
echo "$log" | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p'

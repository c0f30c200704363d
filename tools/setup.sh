#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) when it is missing, then configures and builds
# into build/. Sourced by ./run and ./test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# The package build and its checks (debhelper, lintian, hardening-check), the fonts the window is laid out in
# and the one it must still fit in (DejaVu Sans), and a Wayland compositor with Qt's Wayland platform.
package_tools=(debhelper lintian devscripts fonts-liberation2 fonts-dejavu-core weston qt6-wayland)

# Build: compilers and Qt. Tests: clang for the fuzzer, clang-tidy and cppcheck, an X server with xprop and xdotool and an
# accessibility bus for the real-display suite, the Debian packaging tools that build and check the package,
# the fault injectors (fiu-run, strace) for the fault tests, GNU time for the benchmark's peak memory, and
# poppler-utils (pdftotext, pdftoppm) with which the legend and report tests read their PDFs back.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev fonts-liberation
          clang libclang-rt-14-dev clang-tidy cppcheck
          xvfb xauth x11-utils xdotool dbus-daemon at-spi2-core
          dpkg-dev file desktop-file-utils appstream fiu-utils strace time
          poppler-utils)
missing=()
for p in "${packages[@]}" "${package_tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Cannot install these packages: run tools/setup.sh as root, or install sudo." >&2
      exit 1
    fi
    sudo="sudo"
  fi
  $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ ! -f "$root/build/build.ninja" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPANEL_WARNINGS_AS_ERRORS="${PANEL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
fi
cmake --build "$root/build" -- -j"$(nproc)" | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; }

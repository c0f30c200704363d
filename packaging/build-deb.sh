#!/usr/bin/env bash
# Builds the Debian package with dpkg-buildpackage, as a Debian build machine would: installs the
# Build-Depends of debian/control (and nothing else), copies the source tree into a scratch folder, builds
# the source package and the .deb there (a Release build of the program, and its unit tests unless
# DEB_BUILD_OPTIONS has nocheck), and moves the results to OUTPUT_DIR.
# Usage: packaging/build-deb.sh [OUTPUT_DIR]   (default build/package); prints the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build/package}"
step() { echo "build-deb: $*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "Cannot install the build dependencies: run packaging/build-deb.sh as root, or install sudo." >&2
    exit 1
  fi
}

# dpkg-checkbuilddeps (dpkg-dev) tells whether every Build-Depends is installed.
if ! command -v dpkg-checkbuilddeps >/dev/null || ! (cd "$root" && dpkg-checkbuilddeps >/dev/null 2>&1); then
  step "installing the build dependencies of debian/control"
  as_root apt-get -o DPkg::Lock::Timeout=900 update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
    --no-install-recommends build-essential dpkg-dev >/dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 build-dep -y -qq \
    --no-install-recommends "$root" >/dev/null
fi

version="$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-deb.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
source="$scratch/panelconfig-$version"
mkdir "$source"

# The sources only: the files git knows of (committed or not, less what .gitignore leaves out), so that no
# build folder or editor file ends up in the source package.
step "copying the source tree into $scratch"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
     while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
     tar --null -T - -cf -) | tar -xf - -C "$source"
else
  tar -C "$root" --exclude='./build' --exclude='./build-*' --exclude='./obj-*' -cf - . | tar -xf - -C "$source"
fi

DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-}"
[[ $DEB_BUILD_OPTIONS == *parallel=* ]] || DEB_BUILD_OPTIONS="$DEB_BUILD_OPTIONS parallel=$(nproc)"
export DEB_BUILD_OPTIONS
step "dpkg-buildpackage -us -uc (DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS# })"
log="$scratch/build.log"
: >"$log"
# The steps of debhelper and the compiler's progress as they come; the end of the log if the build fails.
(cd "$source" && exec dpkg-buildpackage -us -uc) >"$log" 2>&1 &
build=$!
tail --pid="$build" -n +1 -f "$log" |
  grep --line-buffered -E '^   (dh_|debian/rules )|^\[ *[0-9]+%\] (Built target|Linking)|tests passed|tests failed' >&2 || true
if ! wait "$build"; then
  tail -n 60 "$log" >&2
  echo "build-deb: dpkg-buildpackage failed (the end of its log is above)" >&2
  exit 1
fi

mkdir -p "$out"
out="$(cd "$out" && pwd)"
arch="$(dpkg --print-architecture)"
for f in "$scratch"/panelconfig*_"$version"*; do
  [ -f "$f" ] && mv -f "$f" "$out/"
done
echo "$out/panelconfig_${version}_${arch}.deb"

#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs
# every suite there. Every process, the simulated panel included (whose stderr the tests discard),
# writes its reports to build-asan/sanitizer-logs/; any report fails the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" >/dev/null
out="$root/build-asan"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_SANITIZE=ON \
        -DPANEL_WARNINGS_AS_ERRORS="${PANEL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
fi
cmake --build "$out" | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; }

logs="$out/sanitizer-logs"
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
# libglvnd unloads Mesa's EGL driver at exit, and what the driver keeps can then no longer be named
# for a suppression: the window draws without EGL (shared-memory buffers) on Wayland too.
export __EGL_VENDOR_LIBRARY_DIRS="$out/no-egl-vendors"
mkdir -p "$__EGL_VENDOR_LIBRARY_DIRS"
export QT_QPA_PLATFORM=offscreen
export PANEL_SCENES_AT_ONCE=2 # the production line's programs, slower here, on the line's real tick
unset QT_QPA_PLATFORMTHEME
cd "$out"
# The fuzzers have a sanitized build of their own; the package, the static analysis and the fault injector
# (whose preloaded library cannot come before the sanitizer's) use the plain build.
status=0
ctest --output-on-failure -j2 -E '^(fuzz_|package_|clang_tidy|cppcheck|fault_injection)' "$@" || status=1
if compgen -G "$logs/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  cat "$logs"/* >&2
  status=1
fi
exit "$status"

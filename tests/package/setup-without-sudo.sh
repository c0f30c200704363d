#!/usr/bin/env bash
# tools/setup.sh run by a user who is not root, on a Debian without sudo, with packages missing: it stops
# before apt-get with a sentence that says what to do. Usage: setup-without-sudo.sh SOURCE_DIR
set -uo pipefail
source=$1
bin=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-nosudo.XXXXXX")
trap 'rm -rf "$bin"' EXIT
# A PATH with only what the script needs, no sudo, a user id other than root's and nothing installed.
for tool in bash dirname grep; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
printf '#!/bin/sh\necho 1000\n' >"$bin/id"
printf '#!/bin/sh\nexit 1\n' >"$bin/dpkg-query"
printf '#!/bin/sh\necho "apt-get was run" >&2\nexit 99\n' >"$bin/apt-get"
chmod +x "$bin/id" "$bin/dpkg-query" "$bin/apt-get"
out=$(PATH=$bin "$bin/bash" "$source/tools/setup.sh" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 1 ] || { echo "FAIL: exit status $status, not 1"; exit 1; }
grep -qx 'Cannot install these packages: run tools/setup.sh as root, or install sudo.' <<<"$out" ||
  { echo "FAIL: no sentence saying to run it as root or install sudo"; exit 1; }
echo "setup without root and sudo stops with its sentence"

#!/usr/bin/env bash
# Runs a command with every fsync of one fresh folder failing (EIO), the folder's name in
# PANEL_UNSYNCED_FOLDER: a save into it puts its new file in place and then cannot confirm it on disk.
# strace injects the failure into that folder's fsync alone, whatever else the command syncs.
# Usage: unsynced-folder.sh COMMAND [ARGUMENT...]
set -euo pipefail
command -v strace >/dev/null || { echo "strace is missing"; exit 1; }
folder=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-unsynced.XXXXXX")
trap 'rm -rf "$folder"' EXIT
PANEL_UNSYNCED_FOLDER=$(realpath "$folder")
export PANEL_UNSYNCED_FOLDER
# A leak check cannot run under a tracer: the suites run untraced check for leaks.
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"; fi
strace -f -qq -o /dev/null -P "$PANEL_UNSYNCED_FOLDER" -e trace=fsync -e inject=fsync:error=EIO "$@"

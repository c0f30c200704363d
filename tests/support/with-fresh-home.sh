#!/usr/bin/env bash
# Runs a test with settings, data and cache folders of its own, made for this run and removed after
# it, so that no test passes on what an earlier run left behind.
set -euo pipefail
home=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-test.XXXXXX")
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache XDG_STATE_HOME=$home/state
"$@"

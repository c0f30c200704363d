#!/usr/bin/env bash
# The long fault soak: OPERATIONS whole reads and writes (default 1000) through the window against
# panelsim --random-faults SEED (default 1), numbered from FROM (default 1). One line per
# operation, the figures at the end; the exit status is 0 only when every check held.
#
#   tests/soak/run-soak.sh 1000 7
#   tests/soak/run-soak.sh 5 7 926     # operations 926 to 930 of seed 7: the same faults and
#                                      # choices, the panel's registers afresh
#
# PANEL_SOAK_SIM_LOG=FILE keeps panelsim's log of every command.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
operations="${1:-1000}"
seed="${2:-1}"
from="${3:-1}"
[ -f "$root/build/build.ninja" ] || "$root/tools/setup.sh"
cmake --build "$root/build" --target tst_soak panelsim >/dev/null

export QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= QT_STYLE_OVERRIDE=Fusion
export XDG_CONFIG_HOME="$root/build/test-config" XDG_DATA_HOME="$root/build/test-data"
export PANEL_SOAK_OPERATIONS="$operations" PANEL_SOAK_SEED="$seed" PANEL_SOAK_FROM="$from" PANEL_SOAK_VERBOSE=1
# Qt Test ends a test function after 5 minutes unless told otherwise; an operation takes about a second.
export QTEST_FUNCTION_TIMEOUT=$(( operations * 15000 + 60000 ))
exec "$root/build/tests/soak/tst_soak"

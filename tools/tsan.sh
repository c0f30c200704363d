#!/usr/bin/env bash
# Builds the program, the simulated panel and the production line's suites with ThreadSanitizer into
# build-tsan/, runs those suites, then a 16-port --write against 16 simulated panels and a --repeat run
# stopped by SIGINT. Every process writes its reports to build-tsan/tsan-logs/; any report fails the
# run. Qt is not built with ThreadSanitizer, so what it synchronises inside itself is invisible: the
# reports that lie wholly inside Qt are suppressed in tools/tsan.supp, each with its reason.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" >/dev/null
out="$root/build-tsan"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_SANITIZE_THREAD=ON \
        -DPANEL_TEST_PARTS="" -DPANEL_WARNINGS_AS_ERRORS="${PANEL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
fi
cmake --build "$out" --target panelconfig panelsim tst_headless tst_production_line \
  | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; }

logs="$out/tsan-logs"
rm -rf "$logs"
mkdir -p "$logs"
export TSAN_OPTIONS="suppressions=$root/tools/tsan.supp:log_path=$logs/tsan:second_deadlock_stack=1:history_size=4"
export QT_QPA_PLATFORM=offscreen
unset QT_QPA_PLATFORMTHEME
status=0
(cd "$out" && ctest --output-on-failure -R '^tst_(headless|production_line)$') || status=1

# Sixteen panels at once, then a --repeat run on four of them stopped with Ctrl+C.
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" # the history of these runs stays here
sims=()
trap 'kill "${sims[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
printf '"00-04412-MDL","LOBBY","ENTRY",0,"HALL",12,"STAIRS",159,"DESIGNATION ",160,"DESIGNATION ",160,"DESIGNATION ",160,159,"feature",1,"ind%%",10,"bl%%",3\r\n' >"$work/LOBBY.pnl"
ports=()
for n in $(seq 1 16); do
  "$out/panelsim" --state "$work/state$n.txt" >"$work/sim$n.out" 2>/dev/null &
  sims+=($!)
done
for n in $(seq 1 16); do
  for _ in $(seq 50); do [ -s "$work/sim$n.out" ] && break; sleep 0.1; done
  ports+=(--port "$(head -1 "$work/sim$n.out")")
done
"$out/panelconfig" --write "$work/LOBBY.pnl" "${ports[@]}" --log "$work/log.jsonl" >"$work/write.out" || status=1
[ "$(grep -c 'SWITCH PANEL HAS BEEN PROGRAMMED' "$work/write.out")" -eq 16 ] || { cat "$work/write.out"; status=1; }
"$out/panelconfig" --write "$work/LOBBY.pnl" "${ports[@]:0:8}" --repeat >"$work/repeat.out" &
line=$!
for _ in $(seq 200); do [ "$(grep -c PROGRAMMED "$work/repeat.out")" -ge 4 ] && break; sleep 0.1; done
kill -INT "$line"
wait "$line" || status=1
grep -q "^tally: 4 panels, 4 done" "$work/repeat.out" || { cat "$work/repeat.out"; status=1; }

if compgen -G "$logs/*" >/dev/null; then
  echo "ThreadSanitizer reports:" >&2
  cat "$logs"/* >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "tsan: no report from the production line's suites, 16 panels at once and a --repeat run"
exit "$status"

#!/usr/bin/env bash
# Builds the program, the simulated panel, the window's suites and the production line's suites with
# ThreadSanitizer into build-tsan/, runs those suites, then a 16-port --write against 16 simulated panels
# and a --repeat run stopped by SIGINT. Every process writes its reports to build-tsan/tsan-logs/. Qt is
# not built with ThreadSanitizer, so what it synchronises inside itself is invisible: tools/tsan-reports.sh
# lets through only the reports that lie wholly inside Qt and are named in tools/tsan.supp, each with its
# reason; any other report, and any whose racing access is made by our own code, fails the run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" >/dev/null
out="$root/build-tsan"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_SANITIZE_THREAD=ON \
        -DPANEL_TEST_PARTS="ui;link" -DPANEL_WARNINGS_AS_ERRORS="${PANEL_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
fi
# The production line itself runs below on sixteen ports; its suite's own scaffolding threads are not ours to judge.
suites=(tst_form1 tst_text_fit tst_panel_protocol tst_panel_e2e tst_headless)
cmake --build "$out" --target panelconfig panelsim "${suites[@]}" \
  | { grep -vE '^\[[0-9]+/[0-9]+\] ' || true; }

logs="$out/tsan-logs"
rm -rf "$logs"
mkdir -p "$logs"
# Reports are judged below, not by the exit code. The window's suites start the simulated panel from a
# process that already runs threads (the pictures' decoding): its child only calls exec.
export TSAN_OPTIONS="log_path=$logs/tsan:second_deadlock_stack=1:history_size=4:exitcode=0:die_after_fork=0"
export QT_QPA_PLATFORM=offscreen
export PANEL_SCENES_AT_ONCE=1 # its programs run on the line's real tick, several times slower
unset QT_QPA_PLATFORMTHEME
status=0
(cd "$out" && ctest --output-on-failure -j2 -R "^($(IFS='|'; echo "${suites[*]}"))\$") || status=1

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

shopt -s nullglob
"$root/tools/tsan-reports.sh" "$root/tools/tsan.supp" "$logs"/* || status=1
[ "$status" -eq 0 ] && echo "tsan: no report of ours from the window's and the production line's suites, 16 panels at once and a --repeat run"
exit "$status"

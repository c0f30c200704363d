#!/usr/bin/env bash
# The production line under injected I/O faults. First a few deterministic ones (fiu-run and strace): a
# save's own fsync failing, and a folder's fsync failing after the rename. Then Debian's fault injector
# (fiu-run) makes opens, reads, writes (short ones too), fsyncs, closes and renames fail at random, around
# --read over an old file, --read into a new one and --write with a log, many times, on one simulated panel
# per worker.
# Every run must end with the --read file as it was, absent, or complete and correct (never partial,
# no temporary file left), and with a non-zero exit for every result it could not save, print or log.
# Usage: run-fiu.sh PANELCONFIG PANELSIM [RUNS] [WORKERS] [PROBABILITY]
set -uo pipefail
panelconfig=$1 panelsim=$2 runs=${3:-320} workers=${4:-16} probability=${5:-0.03}
command -v fiu-run >/dev/null || { echo "fiu-run is missing (fiu-utils)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/panelconfig-fiu.XXXXXX")
sims=()
trap 'kill "${sims[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
printf '"00-04412-MDL","LOBBY","ENTRY",0,"HALL",12,"STAIRS",159,"DESIGNATION ",160,"DESIGNATION ",160,"DESIGNATION ",160,159,"feature",1,"ind%%",10,"bl%%",3\r\n' >"$work/LOBBY.pnl"
printf '"00-04412-MDL","OLD","",160,"",160,"",160,"",160,"",160,"",160,159,"feature",0,"ind%%",10,"bl%%",10\r\n' >"$work/OLD.pnl"

# Every open, close, read, write (short ones too), fsync and rename may fail. Not unlink: a temporary file
# whose removal fails stays whatever the program does.
faults=()
for point in 'posix/io/oc/*' 'posix/io/rw/*' 'posix/io/sync/*' 'posix/io/dir/rename'; do
  faults+=(-c "enable_random name=$point,probability=$probability")
done

for w in $(seq 0 $((workers - 1))); do
  mkdir "$work/w$w"
  "$panelsim" --state "$work/w$w/state.txt" >"$work/w$w/sim.out" 2>/dev/null &
  sims+=($!)
done
# Qt's serial port locks a device with a file in /run/lock; one whose writing the injector cut short tells
# nothing of its owner and holds the device for half a minute. Pseudo-terminals' lock files whose owner is
# gone are removed, before and after.
clear_stale_locks() {
  local lock pid
  for lock in /run/lock/LCK..pts_* /var/lock/LCK..pts_*; do
    [ -f "$lock" ] || continue
    pid=$(head -1 "$lock" 2>/dev/null)
    if ! [[ $pid =~ ^[0-9]+$ ]] || [ ! -e "/proc/$pid" ]; then rm -f "$lock"; fi
  done
}
trap 'kill "${sims[@]}" 2>/dev/null; wait 2>/dev/null; clear_stale_locks; rm -rf "$work"' EXIT
clear_stale_locks

ports=()
for w in $(seq 0 $((workers - 1))); do
  for _ in $(seq 50); do [ -s "$work/w$w/sim.out" ] && break; sleep 0.1; done
  head -1 "$work/w$w/sim.out" >"$work/w$w/device"
  ports+=(--port "$(cat "$work/w$w/device")")
done
"$panelconfig" --write "$work/LOBBY.pnl" "${ports[@]}" >/dev/null || { echo "the set-up write failed"; exit 1; }
"$panelconfig" --read "$work/NEW.pnl" --name NAME --port "$(cat "$work/w0/device")" >/dev/null || { echo "reference read failed"; exit 1; }

# Deterministic faults first, one run each on the first panel: a save's own fsync failing (which must come
# before the rename), the folder's failing after it (the new file is in place: said, but not a failure), and
# a history snapshot's folder failing the same way (kept and named in the journal, with a warning).
command -v strace >/dev/null || { echo "strace is missing"; exit 1; }
device0=$(cat "$work/w0/device") one=$work/one
mkdir -p "$one/data/panelconfig/history" && chmod 700 "$one/data/panelconfig/history"
one=$(realpath "$one")
deterministic=()
expect() { eval "$2" || deterministic+=("$1: $2"); }
cp "$work/OLD.pnl" "$one/OUT.pnl"
fiu-run -x -c 'enable name=posix/io/sync/fsync' "$panelconfig" --read "$one/OUT.pnl" --force --name NAME \
  --port "$device0" --no-history >"$one/out" 2>"$one/err"
code=$?
expect "the file's fsync fails" '[ "$code" -eq 4 ] && cmp -s "$one/OUT.pnl" "$work/OLD.pnl" && ! compgen -G "$one/.*.tmp" >/dev/null'
unsynced() { local folder=$1; shift; strace -f -qq -o /dev/null -P "$folder" -e trace=fsync -e inject=fsync:error=EIO "$@"; }
unsynced "$one" "$panelconfig" --read "$one/OUT.pnl" --force --name NAME --port "$device0" --no-history >"$one/out" 2>"$one/err"
code=$?
expect "the folder's fsync fails" '[ "$code" -eq 0 ] && cmp -s "$one/OUT.pnl" "$work/NEW.pnl" && grep -q "SWITCH PANEL DATA READ SUCCESSFUL" "$one/out"'
expect "the folder's fsync fails" 'grep -qF "warning: $one/OUT.pnl saved, but its durability could not be confirmed: fsync folder: Input/output error" "$one/err"'
XDG_DATA_HOME=$one/data unsynced "$one/data/panelconfig/history" "$panelconfig" --read "$one/HISTORY.pnl" --name NAME \
  --port "$device0" >"$one/out" 2>"$one/err"
code=$?
expect "the history folder's fsync fails" '[ "$code" -eq 0 ] && grep -q "\"snapshot\":\"[^\"]*-read-unnamed-[^\"]*\.pnl\"" "$one/data/panelconfig/history/journal.jsonl"'
expect "the history folder's fsync fails" 'grep -q "warning: history: the snapshot .* was kept, but its durability could not be confirmed: fsync folder" "$one/err"'
for violation in "${deterministic[@]}"; do echo "VIOLATION $violation"; done

# One worker: runs w, w+workers, ... on its own panel. Each run prints "kind exit outcome" or "VIOLATION ...".
worker() {
  local w=$1 dir=$work/w$1 device run kind code outcome
  device=$(cat "$dir/device")
  for ((run = w; run < runs; run += workers)); do
    kind=$((run % 3))
    rm -f "$dir"/*.pnl "$dir"/.*.tmp
    case $kind in
      0) cp "$work/OLD.pnl" "$dir/OUT.pnl"
         fiu-run -x "${faults[@]}" "$panelconfig" --read "$dir/OUT.pnl" --force --name NAME --port "$device" >/dev/null 2>&1
         code=$?
         if cmp -s "$dir/OUT.pnl" "$work/NEW.pnl"; then outcome=new
         elif cmp -s "$dir/OUT.pnl" "$work/OLD.pnl"; then outcome=old
         else outcome=PARTIAL; fi
         [ "$outcome" = new ] || [ "$code" -ne 0 ] || outcome="$outcome-but-exit-0" ;;
      1) fiu-run -x "${faults[@]}" "$panelconfig" --read "$dir/OUT.pnl" --name NAME --port "$device" >/dev/null 2>&1
         code=$?
         if [ ! -e "$dir/OUT.pnl" ]; then outcome=absent
         elif cmp -s "$dir/OUT.pnl" "$work/NEW.pnl"; then outcome=new
         else outcome=PARTIAL; fi
         [ "$outcome" = new ] || [ "$code" -ne 0 ] || outcome="$outcome-but-exit-0" ;;
      2) : >"$dir/log.jsonl"
         fiu-run -x "${faults[@]}" "$panelconfig" --write "$work/LOBBY.pnl" --port "$device" --log "$dir/log.jsonl" \
           >"$dir/out.txt" 2>/dev/null
         code=$?
         outcome=unlogged
         if grep -q '"exit_code":0.*"time"' "$dir/log.jsonl" && [ "$(tail -c1 "$dir/log.jsonl" | od -An -c | tr -d ' ')" = '\n' ]; then
           outcome=logged
         fi
         if [ "$code" -eq 0 ] && { [ "$outcome" != logged ] || ! grep -q PROGRAMMED "$dir/out.txt"; }; then
           outcome="$outcome-but-exit-0"
         fi ;;
    esac
    if [ "$code" -lt 128 ] && compgen -G "$dir/.*.tmp" >/dev/null; then outcome="$outcome-TEMPORARY-LEFT"; fi
    case $outcome in
      new|old|absent|logged|unlogged) echo "$kind $code $outcome" ;;
      *) echo "VIOLATION run $run kind $kind exit $code $outcome" ;;
    esac
  done
}

start=$SECONDS
for w in $(seq 0 $((workers - 1))); do worker "$w" >"$work/w$w/results" & done
wait $(jobs -p | grep -vxF -f <(printf '%s\n' "${sims[@]}")) 2>/dev/null
cat "$work"/w*/results >"$work/all"
total=$(wc -l <"$work/all")
violations=$(grep -c VIOLATION "$work/all")
grep VIOLATION "$work/all"
failed=$(awk '$1 != "VIOLATION" && $2 != 0' "$work/all" | wc -l)
echo "fault injection: $total runs in $((SECONDS - start)) s at probability $probability; $failed failed, $((total - failed)) exited 0;" \
     "--read over a file: $(grep -c '^0 .* new$' "$work/all") new, $(grep -c '^0 .* old$' "$work/all") old;" \
     "--read a new file: $(grep -c '^1 .* new$' "$work/all") new, $(grep -c '^1 .* absent$' "$work/all") absent;" \
     "--write --log: $(grep -c '^2 .* logged$' "$work/all") logged, $(grep -c '^2 .* unlogged$' "$work/all") unlogged;" \
     "crashes: $(awk '$1 != "VIOLATION" && $2 >= 128' "$work/all" | wc -l); violations: $violations"
echo "deterministic faults: 3 runs, ${#deterministic[@]} violations"
[ "$total" -eq "$runs" ] && [ "$violations" -eq 0 ] && [ ${#deterministic[@]} -eq 0 ]

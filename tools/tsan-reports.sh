#!/usr/bin/env bash
# Sorts ThreadSanitizer's reports in the given log files:
#   tools/tsan-reports.sh SUPPRESSIONS LOG...
# A report whose racing access is made by our own code (the first frame past the sanitizer's own is in one
# of our programs, not in a shared library) fails, whatever the suppressions say. Every other report must
# be covered by a line of SUPPRESSIONS (kind:pattern, the pattern found in one of the report's frames or
# thread names),
# each of which names the Qt code it covers and why it is not ours. Prints what each line covered; exits
# non-zero, printing the report, for any report of ours or one that no line covers.
set -euo pipefail
suppressions="$1"
shift
[ "$#" -gt 0 ] || { echo "tsan: no reports"; exit 0; }
awk -v supp="$suppressions" '
function flush(   i, kind, covered, why) {
  if (report == "") return
  kind = (title ~ /data race/) ? "race" : (title ~ /lock-order-inversion|deadlock/) ? "deadlock" : (title ~ /thread leak/) ? "thread" : (title ~ /signal/) ? "signal" : "race"
  if (ours) {
    why = "a racing access is made by our own code"
  } else {
    covered = 0
    for (i = 1; i <= n; i++) {
      if (kinds[i] == kind && index(frames, patterns[i])) { count[i]++; covered = 1; break }
    }
    if (!covered) why = "no suppression covers it"
  }
  if (why != "") { failed++; printf "tsan: %s:\n%s\n", why, report > "/dev/stderr" }
  total++
  report = ""; frames = ""; ours = 0; title = ""
}
BEGIN {
  while ((getline line < supp) > 0) {
    if (line ~ /^[a-z_]+:/) { n++; kinds[n] = substr(line, 1, index(line, ":") - 1); patterns[n] = substr(line, index(line, ":") + 1) }
  }
}
/^WARNING: ThreadSanitizer:/ { flush(); title = $0; report = $0 "\n"; next }
/^SUMMARY: ThreadSanitizer/ { report = report $0 "\n"; flush(); next }
report == "" { next }
{ report = report $0 "\n" }
/^  (Previous )?(atomic )?(Atomic )?(Write|Read|write|read) of size/ { inAccess = 1; first = 1; next }
/^  [A-Z]/ { inAccess = 0 }
/^  Thread T[0-9]+ / { frames = frames $0 "\n" }
/^    #[0-9]+ / {
  frames = frames $0 "\n"
  if (inAccess && first && $0 !~ /\(libtsan\.so/) {
    first = 0
    # A frame in a shared library ends in "(libX.so.N+0x...)"; one of ours in "(program+0x...)".
    if ($0 !~ /\([^()]*\.so[.0-9]*\+0x[0-9a-f]+\)$/) ours = 1
  }
}
END {
  flush()
  for (i = 1; i <= n; i++) if (count[i]) printf "tsan: %d report(s) inside Qt covered by %s:%s\n", count[i], kinds[i], patterns[i]
  printf "tsan: %d report(s), %d failing\n", total, failed
  exit failed > 0
}' "$@"

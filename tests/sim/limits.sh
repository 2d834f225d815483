#!/usr/bin/env bash
# Levels at the limits the loader accepts (docs/level-text.md, "Limits") play their first 600
# frames no slower than real time (10.2 s of processor time) and in less than 256 MiB.
set -u
build="${1:?usage: $0 BUILD_DIR}"
source "$(dirname "$0")/../lib/check.bash"

# 100,000 records: an avatar and tiles piled cell after cell over the screen.
awk 'BEGIN { print "av 1 1"; for (i = 1; i < 100000; i++) print "tl", i % 40, int(i / 40) % 30, 0 }' > "$WORK/records.txt"
# A message of 100,000 characters, shown from the first frame: the avatar stands at the sign.
{ echo "av 5 4"; echo "ms 5 5 \"$(head -c 100000 /dev/zero | tr '\0' x)\""; } > "$WORK/message.txt"
# Every cell a baddie: feral ones below a row of tame ones around the avatar.
awk 'BEGIN { print "grid"; print "A" sprintf("%39s", ""); for (r = 1; r < 30; r++) print sprintf("%40s", "");
             print "end" }' | sed '2s/ /t/g; 3,31s/ /f/g' > "$WORK/baddies.txt"
# Objects out to column and row 255, every fifth one a feral baddie.
awk 'BEGIN { print "av 1 1"; for (c = 0; c < 256; c += 5) for (r = 0; r < 256; r += 5) print "bd", c, r, "feral";
             print "gb 255 255"; print "tl 255 255 3"; print "ct 255 0 1"; print "lg 0 255" }' > "$WORK/far.txt"
# A thousand fireworks, each bursting into particles.
awk 'BEGIN { print "av 1 1"; for (i = 0; i < 1000; i++) print "fw", i % 40, int(i / 40) % 30 }' > "$WORK/fireworks.txt"

TIMEFORMAT='%U %S'
for level in records message baddies far fireworks; do
  "$build/binhopper-level" compile "$WORK/$level.txt" "$WORK/$level.lv" || { fail "$level: compile"; continue; }
  seconds=$( { time "$build/binhopper-sim" "$WORK/$level.lv" --frames 600 --stats 600 > "$WORK/$level.out"; } 2>&1)
  peak=$(sed -n 's/^STATS frame=600 .*peak_kib=//p' "$WORK/$level.out")
  echo "$level: $(wc -c < "$WORK/$level.lv") bytes, processor time $seconds s, peak $peak KiB"
  [ -n "$peak" ] && [ "$peak" -lt 262144 ] || fail "$level: peak memory '$peak' KiB"
  awk -v t="$seconds" 'BEGIN { split(t, p, " "); exit !(p[1] + p[2] <= 10.2) }' || fail "$level: slower than real time"
done
finish "every level within its limits"

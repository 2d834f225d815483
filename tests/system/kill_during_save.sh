#!/usr/bin/env bash
# Saving survives SIGKILL: a writer saves in a loop and is killed at a random moment, again and
# again. After every kill a level, settings or replay file is one of the two contents the writer
# alternates, whole; a progress file, which each save merges into, loads as sound with no fewer
# deaths than after the kill before. The temporary files of killed writers are removed by the
# next writer that saves: after one last save that is not interrupted, none is left.
set -u
loop="$1/save-loop"
source "$(dirname "$0")/../lib/check.bash"
kills=${KILL_ROUNDS:-300}  # every kill lands among the saves: the writer says when it starts them

# The two files a writer can leave: learnt from the writer itself after one save of each.
contents_of() {  # KIND -> writes $WORK/KIND.first and $WORK/KIND.second
  local kind=$1 file="$WORK/$1.file" candidate="$WORK/$1.candidate"
  rm -f "$file" "$WORK/$kind.first" "$WORK/$kind.second"
  "$loop" "$kind" "$file" > /dev/null & local pid=$!
  # Copy first, then compare the copy: the file may change between two looks at it.
  until [ -f "$WORK/$kind.second" ]; do
    cp "$file" "$candidate" 2>/dev/null || continue
    if [ ! -f "$WORK/$kind.first" ]; then
      mv "$candidate" "$WORK/$kind.first"
    elif ! cmp -s "$candidate" "$WORK/$kind.first"; then
      mv "$candidate" "$WORK/$kind.second"
    fi
  done
  kill -9 $pid
  wait $pid 2>/dev/null
}

kill_writer() {  # KIND FILE: starts a writer and kills it a few milliseconds into its saving;
  # sets FIRST_LINE to what the writer said first
  coproc writer { exec "$loop" "$1" "$2"; }
  local pid=$writer_PID
  read -r -t $PATIENCE FIRST_LINE <&"${writer[0]}"
  local pause
  printf -v pause '0.%03d' $((RANDOM % 40))         # up to a few saves on a loaded machine
  read -r -t "$pause" _ <&"${writer[0]}"  # a pause without starting a process
  kill -9 $pid
  wait $pid 2>/dev/null
}

leftovers_after_one_save() {  # KIND FILE -> how many temporary files of FILE are left
  "$loop" once "$1" "$2" > /dev/null || fail "$1: one last save failed"
  find "$WORK" -name "$(basename "$2").*.tmp" | wc -l
}

for kind in level settings replay; do
  contents_of "$kind"
  file="$WORK/$kind.file"
  bad=0
  for ((round = 0; round < kills; round++)); do
    kill_writer "$kind" "$file"
    if ! cmp -s "$file" "$WORK/$kind.first" && ! cmp -s "$file" "$WORK/$kind.second"; then
      bad=$((bad + 1))
      fail "$kind file after kill $round: $(stat -c %s "$file" 2>&1) bytes"
    fi
  done
  left=$(leftovers_after_one_save "$kind" "$file")
  [ "$left" = 0 ] || fail "$kind: $left temporary files left"
  echo "$kind: $kills kills, $bad damaged files, $left temporary files left"
done

# Each progress writer loads the file the last one left, as a game does: it says what it found
# before it saves (the damage note, or "saving" and the deaths), so it is its own check.
file="$WORK/progress.file"
bad=0
deaths=0
for ((round = 0; round <= kills; round++)); do
  if [ $round = $kills ]; then
    FIRST_LINE=$("$loop" check "$file") && FIRST_LINE="saving $FIRST_LINE"
  else
    kill_writer progress "$file"
  fi
  now=${FIRST_LINE#saving }
  if [ "$now" = "$FIRST_LINE" ]; then
    bad=$((bad + 1))
    fail "progress file damaged after kill $((round - 1)): $FIRST_LINE"
  elif [ "$now" -lt "$deaths" ]; then
    bad=$((bad + 1))
    fail "progress file went back from $deaths to $now deaths after kill $((round - 1))"
  else
    deaths=$now
  fi
done
left=$(leftovers_after_one_save progress "$file")
[ "$left" = 0 ] || fail "progress: $left temporary files left"
[ "$deaths" -gt 0 ] || fail "no writer ever saved the progress"
echo "progress: $kills kills, $bad damaged or lost, $deaths deaths saved, $left temporary files left"
finish "every kill left a whole file"

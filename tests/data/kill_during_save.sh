#!/usr/bin/env bash
# Saving survives SIGKILL: a writer saves in a loop and is killed at a random moment, again and
# again; after every kill the file is one of the two contents the writer alternates, whole.
set -u
loop="$1/save-loop"
source "$(dirname "$0")/../lib/check.bash"
kills=${KILL_ROUNDS:-1000}

# The two files a writer can leave: learnt from the writer itself after one save of each.
contents_of() {  # KIND -> writes $WORK/KIND.first and $WORK/KIND.second
  local kind=$1 file="$WORK/$1.file" candidate="$WORK/$1.candidate"
  rm -f "$file" "$WORK/$kind.first" "$WORK/$kind.second"
  "$loop" "$kind" "$file" & local pid=$!
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

for kind in progress level settings; do
  contents_of "$kind"
  file="$WORK/$kind.file"
  bad=0
  for ((round = 0; round < kills; round++)); do
    "$loop" "$kind" "$file" & pid=$!
    sleep "0.00$((RANDOM % 10))"
    kill -9 $pid
    wait $pid 2>/dev/null
    if ! cmp -s "$file" "$WORK/$kind.first" && ! cmp -s "$file" "$WORK/$kind.second"; then
      bad=$((bad + 1))
      fail "$kind file after kill $round: $(stat -c %s "$file" 2>&1) bytes"
    fi
  done
  leftovers=$(find "$WORK" -name "$kind.file.tmp" | wc -l)
  echo "$kind: $kills kills, $bad damaged files, $leftovers temporary files left"
done
finish "every kill left a whole file"

#!/usr/bin/env bash
# Saving survives SIGKILL: a writer saves in a loop and is killed at a random moment, again and
# again; after every kill the file is one of the two contents the writer alternates, whole.
set -u
loop="$1/save-loop"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kills=${KILL_ROUNDS:-1000}
failures=0

# The two files a writer can leave: learnt from the writer itself after one save of each.
contents_of() {  # KIND -> writes $work/KIND.first and $work/KIND.second
  local kind=$1 file="$work/$1.file" candidate="$work/$1.candidate"
  rm -f "$file" "$work/$kind.first" "$work/$kind.second"
  "$loop" "$kind" "$file" & local pid=$!
  # Copy first, then compare the copy: the file may change between two looks at it.
  until [ -f "$work/$kind.second" ]; do
    cp "$file" "$candidate" 2>/dev/null || continue
    if [ ! -f "$work/$kind.first" ]; then
      mv "$candidate" "$work/$kind.first"
    elif ! cmp -s "$candidate" "$work/$kind.first"; then
      mv "$candidate" "$work/$kind.second"
    fi
  done
  kill -9 $pid
  wait $pid 2>/dev/null
}

for kind in progress level; do
  contents_of "$kind"
  file="$work/$kind.file"
  bad=0
  for ((round = 0; round < kills; round++)); do
    "$loop" "$kind" "$file" & pid=$!
    sleep "0.00$((RANDOM % 10))"
    kill -9 $pid
    wait $pid 2>/dev/null
    if ! cmp -s "$file" "$work/$kind.first" && ! cmp -s "$file" "$work/$kind.second"; then
      bad=$((bad + 1))
      echo "FAIL: $kind file after kill $round: $(stat -c %s "$file" 2>&1) bytes"
    fi
  done
  leftovers=$(find "$work" -name "$kind.file.tmp" | wc -l)
  echo "$kind: $kills kills, $bad damaged files, $leftovers temporary files left"
  failures=$((failures + bad))
done
[ $failures -eq 0 ]

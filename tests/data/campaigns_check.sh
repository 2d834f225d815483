#!/usr/bin/env bash
# Every shipped campaign (levels/ and each packs/*/) passes `binhopper-level pack check`, run
# from a folder without the game's pictures (BINHOPPER_DATA names the data only for the names of
# the game's own campaigns): its pack.txt reads cleanly, every level loads and
# passes the level check, every level has a solution that wins it with both crowns, and every
# level is proven by the best run the campaign ships. Each solution time the check prints is
# the elapsed time binhopper-sim gives for the same replay, so the check plays levels as the
# game does.
set -u
BUILD=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
source "$(dirname "$0")/../lib/check.bash"

field() {  # field NAME LINE -> the value of NAME=... in a key=value line
  sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<"$2"
}

campaigns=0
for folder in levels packs/*/; do
  folder=${folder%/}
  [ -f "$folder/pack.txt" ] || continue
  campaigns=$((campaigns + 1))
  if ! (cd "$WORK" && BINHOPPER_DATA=$OLDPWD "$BUILD/binhopper-level" pack check "$OLDPWD/$folder") > "$WORK/check.txt" 2>&1; then
    fail "$folder does not pass its check:"
    cat "$WORK/check.txt"
    continue
  fi
  while read -r line; do
    n=$(field n "$line")
    solution=$(field solution "$line")
    crowns=$(field crowns "$line")
    [ "$crowns" = gold,silver ] || fail "$folder level $n: crowns=$crowns with solution=$solution"
    [ "$solution" = none ] && continue
    end=$("$BUILD/binhopper-sim" "$folder/$n.lv" --inputs "$folder/solutions/$n.txt" --index $((n - 1)) | tail -n 1)
    elapsed=$(printf '%.2f' "$(field elapsed "$end")")
    [ "$elapsed" = "$solution" ] || fail "$folder level $n: the check says $solution s, binhopper-sim $elapsed s"
  done < <(grep '^LEVEL ' "$WORK/check.txt")
  summary=$(tail -n 1 "$WORK/check.txt")
  [ "$(field proven "$summary")" = "$(field levels "$summary")" ] || fail "$folder: not every level is proven: $summary"
  echo "$folder: $summary"
done
[ "$campaigns" -gt 0 ] || fail "no shipped campaign found"
finish "all $campaigns shipped campaigns pass their check"

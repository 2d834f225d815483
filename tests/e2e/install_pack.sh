#!/usr/bin/env bash
# binhopper --install-pack, as a player of the installed game runs it (data from
# BINHOPPER_DATA, player files under $XDG_DATA_HOME/binhopper, started from elsewhere), with no
# window: a zipped pack goes into packs/ whole; a second install is refused until --force; a
# pack that fails its check and an archive holding a path out of the pack are refused with
# their reasons, leaving the player directory as it was; wrong command lines exit 2.
set -u
BUILD=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
source "$(dirname "$0")/../lib/check.bash"
export BINHOPPER_DATA=$PWD XDG_DATA_HOME=$WORK/data
repo=$PWD
game=$BUILD/binhopper
player=$XDG_DATA_HOME/binhopper
cd "$WORK" || exit 1

# tree FOLDER: every path with its content's checksum, to see that nothing changed.
tree() { (cd "$1" && find . -printf '%p %y\n' | sort && find . -type f -exec sha256sum {} + | sort); }

expect() {  # STATUS LABEL ERROR-PATTERN COMMAND...
  "${@:4}" > out 2> err
  local status=$?
  [ "$status" = "$1" ] && grep -q -- "$3" err || fail "$2: status $status, '$(cat out err)'"
}

mkdir -p first/solutions
cp "$repo/levels/1.lv" first/
cp "$repo/levels/solutions/1.txt" first/solutions/
printf 'name = First\nlevel 1 = 15.0 First Steps\n' > first/pack.txt
"$BUILD/binhopper-level" pack zip first first.zip > /dev/null || fail "pack zip failed"

"$game" --install-pack first.zip > out 2> err || fail "install: $(cat out err)"
grep -qx 'LEVEL n=1 target=15.00 solution=[0-9.]* crowns=gold,silver name="First Steps"' out ||
  fail "install printed: $(cat out)"
for file in pack.txt 1.lv solutions/1.txt; do
  cmp -s "first/$file" "$player/packs/first/$file" || fail "installed $file differs"
done
[ ! -e "$player/levels" ] && [ ! -e "$player/binhopper.dat" ] || fail "the install wrote more than the pack"

printf 'name = First again\nlevel 1 = 15.0 First Steps\n' > first/pack.txt
"$BUILD/binhopper-level" pack zip first first.zip > /dev/null || fail "pack zip failed"
expect 1 "a second install" "binhopper: cannot install first.zip: a pack 'first' is already installed in $player/packs/first (--force replaces it)" \
  "$game" --install-pack first.zip
cmp -s "$player/packs/first/pack.txt" <(printf 'name = First\nlevel 1 = 15.0 First Steps\n') ||
  fail "a refused install changed the pack"
"$game" --force --install-pack first.zip > out 2> err || fail "install --force: $(cat out err)"
cmp -s first/pack.txt "$player/packs/first/pack.txt" || fail "--force did not replace the pack"

before=$(tree "$player")
mkdir -p broken/solutions
printf 'name = Broken\nlevel 1 = 5\n' > broken/pack.txt
printf 'av\001\001' > broken/1.lv
printf '5 -\n' > broken/solutions/1.txt
expect 1 "a pack that fails its check" "binhopper: cannot install broken: the pack does not pass its check (2 problems)" \
  "$game" --install-pack broken
grep -qx "$WORK/broken/1.lv: no container, so the level can never be completed" out || fail "check lines: $(cat out)"
mkdir -p evil && printf 'x' > evil/x.lv
tar -czPf evil.tar.gz --transform 's,^evil/x.lv$,../x.lv,' evil/x.lv
expect 1 "a path out of the pack" "binhopper: cannot install evil.tar.gz: entry '../x.lv': a path that leaves the pack ('..')" \
  "$game" --install-pack evil.tar.gz
expect 1 "a missing pack" "binhopper: cannot install nothing.zip: cannot read: No such file or directory" \
  "$game" --install-pack nothing.zip
[ "$(tree "$player")" = "$before" ] || fail "a refused install changed the player directory"
[ ! -e ../x.lv ] && [ ! -e "$player/x.lv" ] || fail "an entry was written outside the pack"

# The check's copy goes only into a temporary folder that is there (with $TMPDIR missing, /tmp),
# never into the working or the data directory; a signal that ends the install removes it.
pack=slow-install-check
mkdir -p $pack/solutions
printf 'name = Slow\n' > $pack/pack.txt
for n in $(seq 24); do  # every level's solution plays its longest without completing it
  cp "$repo/levels/1.lv" "$pack/$n.lv" && printf '60000 -\n' > "$pack/solutions/$n.txt"
  printf 'level %d = 5\n' "$n" >> $pack/pack.txt
done
TMPDIR=$WORK/nowhere "$game" --install-pack $pack > /dev/null 2>&1 &
installer=$!
wait_until $PATIENCE compgen -G "/tmp/binhopper-check-*/$pack/24.lv" > /dev/null || fail "no check copy appeared in /tmp"
copy=$(compgen -G "/tmp/binhopper-check-*/$pack" | head -n 1)
compgen -G "binhopper-check-*" > /dev/null || compgen -G "$repo/binhopper-check-*" > /dev/null &&
  fail "the check's copy went into the working or data directory"
kill -TERM "$installer"
wait "$installer"
status=$?
[ "$status" = 143 ] || fail "the install ended by SIGTERM exited with $status"
[ -n "$copy" ] && [ ! -e "$(dirname "$copy")" ] || fail "a signal left the check's copy $copy"

expect 2 "no path" "'--install-pack' needs a pack folder or archive" "$game" --install-pack
expect 2 "--force alone" "'--install-pack' needs a pack folder or archive" "$game" --force
expect 2 "with the editor" "'--install-pack PATH' takes only '--force' besides" "$game" --install-pack first.zip --editor
"$game" --help | grep -q -- "--install-pack PATH \[--force\]" || fail "--help does not tell of --install-pack"

finish "pack install: all checks passed"

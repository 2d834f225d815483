#!/usr/bin/env bash
# Saving into a full and into a read-only player directory: each save reports the system's
# reason and leaves the files already there as they were, with no temporary file behind. The
# directory is a small tmpfs, so this needs root (or mount rights); without them it is skipped.
set -u
loop="$1/save-loop"
source "$(dirname "$0")/../lib/check.bash"

player="$WORK/player"
mkdir -p "$player"
if ! mount -t tmpfs -o size=256k tmpfs "$player" 2>/dev/null; then
  echo "SKIPPED: cannot mount a small tmpfs here (needs root)"
  exit 0
fi
trap 'umount "$player"; rm -rf "$WORK"' EXIT

"$loop" once progress "$player/binhopper.dat" > /dev/null || fail "the first progress save failed"
"$loop" once settings "$player/binhopper.cfg" > /dev/null || fail "the first settings save failed"
cp "$player/binhopper.dat" "$player/binhopper.cfg" "$WORK/"

expect_refused() {  # SITUATION REASON
  local kind file
  for kind in progress settings; do
    file=binhopper.dat
    [ $kind = settings ] && file=binhopper.cfg
    if "$loop" once $kind "$player/$file" > "$WORK/out"; then
      fail "$1: the $kind save reported success"
    fi
    grep -q "^Unable to save $kind to '$player/$file': .*$2" "$WORK/out" ||
      fail "$1: the $kind save said '$(cat "$WORK/out")', not '$2'"
    cmp -s "$player/$file" "$WORK/$file" || fail "$1: $file changed"
  done
  [ -z "$(find "$player" -name '*.tmp')" ] || fail "$1: temporary files left: $(ls "$player")"
}

# Filling to the last byte: the filler stops at the first write the disk refuses.
dd if=/dev/zero of="$player/filler" bs=4k 2>/dev/null
expect_refused "a full directory" "No space left on device"

rm "$player/filler"
mount -o remount,ro "$player" || fail "cannot make the tmpfs read-only"
expect_refused "a read-only directory" "Read-only file system"

finish "saves into a full and a read-only directory failed cleanly"

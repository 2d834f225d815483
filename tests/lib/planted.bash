# Small campaigns under tests/data/planted/, each holding a fault a level check must find (and a
# level without it): `planted NAME` copies one into $WORK/NAME and compiles its level texts.
# Needs $BUILD and tests/lib/check.bash.

planted() {
  local source
  cp -r "tests/data/planted/$1" "$WORK/$1"
  for source in "$WORK/$1"/src/*.txt; do
    "$BUILD/binhopper-level" compile "$source" "$WORK/$1/$(basename "$source" .txt).lv" ||
      fail "planted level $source does not compile"
  done
}

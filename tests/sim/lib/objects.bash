# Helpers for the level-object simulator tests. A test sources this file with the build folder
# as $1, writes small levels in the level text form, plays them with binhopper-sim and checks
# single trace lines against values worked out by hand from the rules.
#
#   level NAME LINE...               compile the level text of these lines into $WORK/NAME.lv
#   floor FROM TO                    a grid block with tiles of channel 0 in row 20, columns
#                                    FROM to TO (for use inside the level text)
#   play NAME RUN DT LINE...         play it with the input script of these lines, trace into
#                                    $WORK/RUN.out
#   expect RUN FRAME KIND N "LINE"   the Nth (from 1) KIND line after frame FRAME is LINE
#   expect_count RUN FRAME KIND N    frame FRAME lists N lines of KIND
#   expect_channels RUN FRAME DIGITS the F line of FRAME shows these channel states
#   expect_end RUN "field=value"...  the END line holds each field=value
#   finish                           (tests/lib/check.bash) exit 1 if any expectation failed

BUILD=${1:?usage: $0 BUILD_DIR}
source "$(dirname "${BASH_SOURCE[0]}")/../../lib/check.bash"

floor() {
  local col row
  echo grid
  for row in $(seq 0 19); do echo; done
  for col in $(seq 0 39); do
    if [ "$col" -ge "$1" ] && [ "$col" -le "$2" ]; then printf 0; else printf .; fi
  done
  printf '\nend\n'
}

level() {
  printf '%s\n' "${@:2}" > "$WORK/$1.txt"
  "$BUILD/binhopper-level" compile "$WORK/$1.txt" "$WORK/$1.lv" || fail "level $1 does not compile"
}

play() {
  printf '%s\n' "${@:4}" > "$WORK/$2.script"
  "$BUILD/binhopper-sim" "$WORK/$1.lv" --inputs "$WORK/$2.script" --dt "$3" --trace > "$WORK/$2.out" ||
    fail "run $2 exited with $?"
}

trace_lines() {  # RUN FRAME KIND: the KIND lines of that frame
  awk -v frame="$2" -v kind="$3" '
    $1 == "F" { inside = ($2 == frame) ; next }
    $1 == "END" { inside = 0 }
    inside && $1 == kind { print }' "$WORK/$1.out"
}

expect() {
  local got
  got=$(trace_lines "$1" "$2" "$3" | sed -n "${4}p")
  [ "$got" = "$5" ] || fail "$1 frame $2 $3 #$4: expected '$5', got '$got'"
}

expect_count() {
  local got
  got=$(trace_lines "$1" "$2" "$3" | wc -l)
  [ "$got" -eq "$4" ] || fail "$1 frame $2: expected $4 '$3' lines, got $got"
}

expect_channels() {
  local got
  got=$(awk -v frame="$2" '$1 == "F" && $2 == frame { print $3 }' "$WORK/$1.out")
  [ "$got" = "$3" ] || fail "$1 frame $2: expected channels $3, got '$got'"
}

expect_end() {
  local run=$1 field end
  shift
  end=$(grep '^END ' "$WORK/$run.out")
  for field in "$@"; do
    case " $end " in
      *" $field "*) ;;
      *) fail "$run: END line lacks $field: $end" ;;
    esac
  done
}

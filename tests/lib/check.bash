# Shared by the test scripts: checks that count their failures instead of stopping at the
# first, a scratch folder, and polling for a condition instead of sleeping a fixed time.
#
#   fail MESSAGE...              report one failed check
#   finish [MESSAGE]             exit 1 if a check failed, else print MESSAGE and exit 0
#   wait_until SECONDS CMD...    run CMD every 0.1 s until it succeeds; status 1 on time-out
#   PATIENCE                     seconds to wait for what should come at once; a busy machine
#                                may take many times longer, and a passing wait ends early
#   WORK                         a fresh folder, removed when the script exits

FAILURES=0
PATIENCE=120
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

finish() {
  if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
  fi
  echo "${1:-all checks passed}"
  exit 0
}

wait_until() {
  local deadline=$((SECONDS + $1))
  until "${@:2}"; do
    [ $SECONDS -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

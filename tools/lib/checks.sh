# Sourced by every script that checks something and counts: `check` prints one line a check,
# `report` the last line with the counts, and fails when any check did.

passed=0
failed=0

check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
    passed=$((passed + 1))
  else
    echo "FAILED: $1: expected \"$2\", got \"$3\""
    failed=$((failed + 1))
  fi
}

report() {
  echo "$(basename "$0" .sh): $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# Sourced by the shell tests. `check WHAT STATUS` records a failure when STATUS is not 0;
# `finish` prints the count and ends with the suite's verdict.
failures=0
check() {
  if [ "$2" -ne 0 ]; then echo "FAIL: $1"; failures=$((failures + 1)); else echo "ok: $1"; fi
}
finish() {
  echo "$failures failed"
  [ "$failures" -eq 0 ]
}

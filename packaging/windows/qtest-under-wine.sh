#!/bin/sh
# Runs a Qt Test program of the Windows build under Wine and prints what it reported:
# qtest-under-wine.sh PROGRAM EMULATOR... A Windows program without a console writes its
# report to the debugger, and Wine passes on no variable named QT_*, so the platform and
# the report's file are given on the command line. The platform is offscreen, or
# $MORVEL_QTEST_PLATFORM (windows: real windows on Wine's display); $MORVEL_QTEST_FUNCTIONS
# names the test functions to run, all by default.
program=$1
shift
report=$(mktemp)
# shellcheck disable=SC2086 # the functions are words
"$@" "$program" -platform "${MORVEL_QTEST_PLATFORM:-offscreen}" -o "Z:$report,txt" \
  ${MORVEL_QTEST_FUNCTIONS:-}
status=$?
cat "$report"
rm -f "$report"
exit $status

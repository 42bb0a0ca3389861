#!/bin/sh
# Runs a Qt Test program of the Windows build under Wine, offscreen, and prints what it
# reported: qtest-under-wine.sh PROGRAM EMULATOR... A Windows program without a console
# writes its report to the debugger, and Wine passes on no variable named QT_*, so the
# platform and the report's file are given on the command line.
program=$1
shift
report=$(mktemp)
"$@" "$program" -platform offscreen -o "Z:$report,txt"
status=$?
cat "$report"
rm -f "$report"
exit $status

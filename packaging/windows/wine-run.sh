#!/bin/sh
# Runs a Windows program of the build under Wine: wine-run.sh FOLDERS PROGRAM [ARGS...].
# FOLDERS (separated by ":") hold the DLLs it loads: the MinGW runtime, and Qt's. Wine's
# own chatter is off; the Wine prefix is $WINEPREFIX, or Wine's default. Wine names
# files through the locale's character set, so a Czech file name needs a UTF-8 locale,
# whatever the caller chose: $MORVEL_WINE_LOCALE, or C.UTF-8.
path=$(printf '%s' "$1" | sed 's|\([^:]*\)|Z:\1|g; s|:Z:|;Z:|g; s|/|\\|g')
shift
LC_ALL=${MORVEL_WINE_LOCALE:-C.UTF-8} WINEPATH="$path${WINEPATH:+;$WINEPATH}" WINEDEBUG=${WINEDEBUG:--all} \
  exec wine "$@"

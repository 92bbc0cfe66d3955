#!/bin/sh
# Runs a Windows program under wine, for ctest and by hand:
#   tools/wine-run.sh build-windows/bin/fenmarq-cli.exe --help
#   tools/wine-run.sh --stop      ends wine's server of the prefix
#
# wine's server and its helper processes outlive the program and inherit its
# standard streams; started from inside ctest they would hold ctest's output
# pipe open and stall every test. So the server is started here first, on the
# null device, kept for a minute after its last client, and the prefix booted
# once, under a lock so that parallel tests start one server between them.
# WINEPREFIX defaults to a cached prefix of Fenmarq's own; wine64 is looked for
# in Debian's wine folder, then on PATH.
set -eu
: "${WINEPREFIX:=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/fenmarq/wine-prefix}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDEBUG
# Japanese arguments reach the program intact only under a UTF-8 locale.
case "${LC_ALL:-${LANG:-}}" in *UTF-8* | *utf8*) ;; *) export LC_ALL=C.UTF-8 ;; esac

wine_dir=/usr/lib/wine
if [ -x "$wine_dir/wine64" ]; then
  wine64="$wine_dir/wine64" wineserver="$wine_dir/wineserver"
else
  wine64=wine64 wineserver=wineserver
fi

if [ "${1:-}" = --stop ]; then
  # -w waits until the server is gone, so that the next program starts a new one.
  [ -d "$WINEPREFIX" ] && "$wineserver" -k 2>/dev/null && "$wineserver" -w
  exit 0
fi

mkdir -p "$WINEPREFIX"
(
  flock 9
  # Exit status 0: no server was running and this one is new. What starts
  # here must not keep the lock's descriptor, or it would hold the lock.
  if "$wineserver" -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine64" wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$WINEPREFIX/.fenmarq-start.lock"

# From a terminal the program is the terminal's. Elsewhere (ctest) its output
# goes through a file: now and then under wine a program fails at its start,
# with a failing status and no output at all, and such a start is tried
# once more, saying so. A program that ran always prints something first
# (the tests their banner, the command line its texts or its error).
[ -t 1 ] && exec "$wine64" "$@"
output=$(mktemp)
trap 'cat "$output"; rm -f "$output"' EXIT
for attempt in 1 2; do
  status=0
  "$wine64" "$@" >"$output" 2>&1 || status=$?
  if [ "$status" -eq 0 ] || [ -s "$output" ] || [ "$attempt" -eq 2 ]; then break; fi
  echo "[ RETRIED  ] wine ended the program with status $status before it printed anything"
done
exit "$status"

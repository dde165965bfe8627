#!/bin/sh
# with-own-display.sh PROGRAM [ARGS...]: runs PROGRAM (a Windows test under Wine) on an X
# display of its own, so that its windows and message boxes can exist without a desktop
# and never appear on the user's. Xvfb picks a free display number itself (-displayfd),
# since other test runs may have displays of their own on the same machine. Wine's desktop
# keeps the display of the Wine server it started under, so the test waits for a server
# that may still run from earlier programs to end, and starts a new one on this display.
# (bounded: a server that some other program keeps alive is left to it)
timeout 60 wineserver -w
dir=$(mktemp -d "${TMPDIR:-/tmp}/plotgate-display.XXXXXX") || exit 1
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$dir/display" 2>/dev/null &
xvfb=$!
number=""
for _ in $(seq 200); do
  number=$(cat "$dir/display" 2>/dev/null)
  [ -n "$number" ] && break
  sleep 0.05
done
if [ -z "$number" ]; then
  echo "with-own-display.sh: Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  rm -rf "$dir"
  exit 1
fi
DISPLAY=:$number "$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
rm -rf "$dir"
exit $status

# Shared by the end-to-end scripts (sourced, not run on its own): counting checks and
# starting the cutter simulator.

passed=0
failed=0

# The Windows build a wine-*.sh script runs: PLOTGATE_WIN_PRESET, win64 when unset. The
# test script runs each of them once for win64 and once for win32, the release.
preset=${PLOTGATE_WIN_PRESET:-win64}

# check NAME COMMAND...: counts COMMAND's success or failure under NAME; its status is
# COMMAND's, so that a caller can show more about a failure.
check() {
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    return 1
  fi
}

# start_cutter SIM RECORD-FILE OUTPUT-FILE [SIMULATOR OPTIONS...]: starts the simulator
# in the background; sets $sim_pid and $device (its serial end). Both limits are generous
# bounds, not delays: on a loaded machine the simulator may take seconds to start, and a
# 9600-baud job tens of seconds to arrive.
start_cutter() {
  # The last simulator's device name must not be read for this one's: its pseudo-terminal
  # may since have gone to another program.
  rm -f "$3"
  "$1" --record "$2" --timeout 120 "${@:4}" >"$3" &
  sim_pid=$!
  device=""
  for _ in $(seq 600); do
    device=$(head -n 1 "$3" 2>/dev/null)
    [ -n "$device" ] && break
    sleep 0.05
  done
}

# The summary line and the exit status.
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# start_display / stop_display: an Xvfb of our own when DISPLAY is unset.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.bash"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine32.bash"
use_64bit_wine_when_needed

# The Wine loader of the preset: 32-bit Wine for the release, wine64 for win64.
wine_loader() {
  if [ "$preset" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

# use_prefix WORK: quiet Wine in $WINEPREFIX when it exists, else in a new prefix in WORK
# (own_prefix=1, for the script's cleanup to end its server); sets $wine to the build's
# loader.
use_prefix() {
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  own_prefix=0
  if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
    export WINEPREFIX=$1/prefix
    own_prefix=1
  fi
  wine=$(wine_loader)
  if [ "$own_prefix" -eq 1 ]; then "$wine" wineboot -i >/dev/null 2>&1; fi
}

# use_wine WORK: use_prefix for a script that shows windows, with a display of our own
# unless DISPLAY is set; the display is there before the prefix's first start, and a new
# prefix leaves its windows unmanaged.
use_wine() {
  start_display
  use_prefix "$1"
  if [ "$own_prefix" -eq 1 ]; then without_window_manager "$wine"; fi
}

# windows PATH: the Windows name of a Linux path (Wine's Z: drive).
windows() { printf 'Z:%s' "${1//\//\\}"; }

# A CorelDRAW 12-16 workspace file without the toolbar: the parts the edit fills in.
EMPTY_WORKSPACE='<uiConfig><frame><dockBar position="float"><cmdBarLane>
</cmdBarLane></dockBar></frame><commandBars>
</commandBars><items>
</items></uiConfig>'

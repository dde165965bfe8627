#!/usr/bin/env bash
# plotgate check and plotgate frame against the cutter simulator on a pseudo-terminal:
# check reports a working line and sends one pen-up, and fails with the system's reason
# and a remedy on a device that is missing, busy or not a serial line; frame sends only
# pen-ups, round the job's box as the job file places it, in HPGL and DM/PL. The expected
# bytes are worked out by hand. Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
plotgate=build/native/cli/plotgate
sim=build/native/tools/cutter-sim
work=$(mktemp -d /tmp/plotgate-e2e-check.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The remembered choices come from a throw-away settings file, not the user's.
export XDG_CONFIG_HOME=$work/config
ini=$XDG_CONFIG_HOME/plotgate/Plotgate.ini
HPGL_HEADER='IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;'
DMPL_HEADER=';:H A L0 ECN U U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 U0,0 '

# received_within BYTES: waits (bounded) until the simulator has recorded BYTES.
received_within() {
  for _ in $(seq 100); do [ "$(cat "$work/received")" = "$1" ] && return 0; sleep 0.05; done
  return 1
}

# check_line NAME MODEL BAUD PEN-UP [CHECK OPTIONS...]: check on the simulator's line.
check_line() {
  local name=$1 model=$2 baud=$3 penup=$4
  shift 4
  start_cutter "$sim" "$work/received" "$work/sim.out"
  "$plotgate" check --port "$device" "$@" >"$work/out" 2>"$work/err"
  local rc=$?
  check "$name: the cutter got the pen-up and nothing else" received_within "$penup"
  kill "$sim_pid"
  wait "$sim_pid" 2>/dev/null
  check "$name: exit 0" [ "$rc" -eq 0 ] || sed 's/^/  said: /' "$work/err"
  printf '%s\n' "Device: $device" "Opened: yes, for $model" \
    "Line: $baud baud, 8 data bits, no parity, 1 stop bit, CTS flow control" \
    "Modem lines: not reported by the device" "Pen-up to the origin (\"$penup\"): accepted within 1 second" \
    >"$work/expected"
  check "$name: one line per step" diff "$work/expected" "$work/out"
}
check_line "check, HPGL" Robin-Series 38400 "PU0,0;" --model Robin-Series
check_line "check, DM/PL at 9600 baud" "Heron(V8.8 or before)" 9600 "U0,0 " --model "Heron(V8.8 or before)"
# The model a send remembered (index 2), and the port of the command line's own entry.
mkdir -p "$(dirname "$ini")"
printf '[Device]\r\nType=2\r\nPort=0\r\n[CommandLine]\r\nPort=/dev/null\r\n' >"$ini"
cp "$ini" "$work/ini.before"
check_line "check, remembered model" "Heron(V8.8 or before)" 9600 "U0,0 "
check "check leaves the settings file as it was" cmp -s "$ini" "$work/ini.before"
rm -f "$ini"

# check_fails NAME ERROR-PATTERN CHECK OPTIONS...: exit 1 and the reason on stderr.
check_fails() {
  local name=$1 pattern=$2
  shift 2
  "$plotgate" check "$@" >"$work/out" 2>"$work/err"
  local rc=$?
  check "$name: exit 1" [ "$rc" -eq 1 ]
  check "$name: says why" grep -qxE "$pattern" "$work/err" || sed 's/^/  said: /' "$work/err"
}
check_fails "check, missing device" \
  "plotgate: opening $work/no-such-port: No such file or directory; is the cutter plugged in and switched on\? .*" \
  --model Robin-Series --port "$work/no-such-port"
check "check, missing device: reports it did not open" grep -qx "Opened: no" "$work/out"
start_cutter "$sim" "$work/received" "$work/sim.out"
flock "$device" sleep 30 &
holder=$!
for _ in $(seq 100); do ! flock -n "$device" true && break; sleep 0.05; done
check_fails "check, busy device" \
  "plotgate: opening $device: Device or resource busy; process [0-9]+ \((flock|sleep)\) has it open: .*" \
  --model Robin-Series --port "$device"
kill "$holder" "$sim_pid"
wait "$holder" "$sim_pid" 2>/dev/null
check_fails "check, the maker's USB link" "plotgate: check covers serial lines only, not the maker.s USB link \(Lark-Series on VORN_USB\); .*" --model Lark-Series

# frame_case NAME MODEL EXPECTED [FRAME OPTIONS...]: a job 800 x 500 units at (100, 200),
# moved to the origin, its x counted from the right edge and the pair swapped.
printf 'IN;SP1;PU100,200;PD900,200;PD900,700;SP0;' >"$work/job.plt"
frame_case() {
  local name=$1 model=$2 expected=$3
  shift 3
  start_cutter "$sim" "$work/received" "$work/sim.out"
  "$plotgate" frame "$work/job.plt" --model "$model" --port "$device" "$@" >"$work/out" 2>"$work/err"
  local rc=$?
  wait "$sim_pid"
  local sim_rc=$?
  check "$name: exit 0" [ "$rc" -eq 0 ] || sed 's/^/  said: /' "$work/err"
  check "$name: the cutter saw the ending" [ "$sim_rc" -eq 0 ]
  check "$name: pen-ups round the box and back" [ "$(cat "$work/received")" = "$expected" ] ||
    echo "  received: $(cat "$work/received")"
}
frame_case "frame, HPGL" Robin-Series "${HPGL_HEADER}PU0,0;PU500,0;PU500,800;PU0,800;PU0,0;SP0;@"
frame_case "frame, DM/PL" "Heron(V8.8 or before)" "${DMPL_HEADER}U0,0 U500,0 U500,800 U0,800 U0,0 @ "
# Mirrored and turned, a drawing of curves: the box is the one the job file's own
# coordinates span, from the origin to their largest x and y.
"$plotgate" encode examples/star.plt --model Robin-Series --mirror --rotate 90 --output "$work/star.hb"
box=$(grep -oE '(PU|PD)[0-9-]+,[0-9-]+' "$work/star.hb" | tr -d 'PUD' |
  awk -F, '$1 > x { x = $1 } $2 > y { y = $2 } END { printf "PU0,0;PU%d,0;PU%d,%d;PU0,%d;PU0,0;", x, x, y, y }')
cp examples/star.plt "$work/job.plt"
frame_case "frame, mirrored and turned" Robin-Series "${HPGL_HEADER}${box}SP0;@" --mirror --rotate 90
# What was sent, not what the head did: with no cutter behind the line it did nothing.
check "frame says what it sent" \
  grep -qxE "Framed [0-9.]+ x [0-9.]+ mm on $device for Robin-Series: sent $(stat -c %s "$work/received") bytes of pen-up moves round the job's edges and back to the origin\." "$work/out" ||
  sed 's/^/  said: /' "$work/out"
# A COM name is said with the device it stands for on Linux.
check_fails "check, a COM name" \
  "plotgate: opening COM250 \(/dev/ttyS249\): No such file or directory; is the cutter plugged in and switched on\? .*" \
  --model Robin-Series --port COM250
check "check, a COM name: the device line names its device" grep -qx "Device: COM250 (/dev/ttyS249)" "$work/out"

finish

#!/usr/bin/env bash
# plotgate-cli.exe under Wine on real Win32 serial calls: SERIALCOMM values added with
# `wine reg add` choose the ports, COM ports mapped to the cutter simulator's pseudo-
# terminal through $WINEPREFIX/dosdevices carry the job, and the bytes received equal the
# encoded job. Uses $WINEPREFIX when it exists, else a throw-away prefix of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset native >/dev/null && cmake --build --preset native >/dev/null &&
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
plotgate=$root/build/native/cli/plotgate
sim=$root/build/native/tools/cutter-sim
work=$(mktemp -d /tmp/plotgate-e2e-wine.XXXXXX)
# A folder of its own for the program: its settings file "Plotgate.ini" lies beside it.
mkdir "$work/bin"
cp "$root/build/$preset/cli/plotgate-cli.exe" "$work/bin/"
cli=$work/bin/plotgate-cli.exe
ini=$work/bin/Plotgate.ini

use_prefix "$work"
# The SERIALCOMM key is volatile: it lives only as long as the wine server, so the server
# is made to stay; the boot's own server is waited out first, as -p is refused while it runs.
[ "$own_prefix" -eq 1 ] && wineserver -w
wineserver -p >/dev/null 2>&1
cleanup() {
  rm -f "$WINEPREFIX/dosdevices/com26" "$WINEPREFIX/dosdevices/com27" "$WINEPREFIX/dosdevices/com28"
  wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\VCP0' /f >/dev/null 2>&1
  wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\device\usbser000' /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT


wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\VCP0' /t REG_SZ /d COM27 /f >/dev/null 2>&1
wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\device\usbser000' /t REG_SZ /d COM28 /f >/dev/null 2>&1
wine "$cli" ports >"$work/ports" 2>/dev/null
check "ports reads the registry" grep -q 'Device\\VCP0 -> COM27' "$work/ports"
check "a VCP model picks the VCP port" grep -q "Wren-Series: COM27" "$work/ports"
check "a USB-serial model matches a lower-case name" grep -q "Plover: COM28" "$work/ports"
check "Lark-Series keeps the USB link" grep -q "Lark-Series: VORN_USB" "$work/ports"

# wine_send NAME COMn MODEL INPUT [SEND OPTIONS...]: the simulator behind COMn.
wine_send() {
  local name=$1 com=$2 model=$3 input=$4
  shift 4
  rm -f "$ini"
  start_cutter "$sim" "$work/received.hb" "$work/sim.out"
  ln -sfn "$device" "$WINEPREFIX/dosdevices/${com,,}"
  wine "$cli" send "$input" --model "$model" "$@" >"$work/send.out" 2>"$work/send.err"
  local rc=$?
  wait "$sim_pid"
  local sim_rc=$?
  "$plotgate" encode "$input" --model "$model" --output "$work/expected.hb"
  check "$name: send succeeds" [ "$rc" -eq 0 ]
  check "$name: the cutter saw the terminator" [ "$sim_rc" -eq 0 ]
  check "$name: received bytes equal the encoded job" cmp -s "$work/received.hb" "$work/expected.hb"
  check "$name: sent on $com" grep -q " on $com at " "$work/send.out"
}

wine_send "DM/PL on the port the registry names" COM27 "Tern(V8.8 or before)" "$root/examples/star.plt"
wine_send "HPGL on a port given by hand" COM27 "Egret-Series" "$root/examples/rounded-rectangle.plt" --port COM27
wine_send "USB-serial port in 511-byte pieces" COM28 "Plover" "$root/examples/cut-word.plt"

wine "$cli" send "$root/examples/star.plt" --model Robin-Series --port COM29 >/dev/null 2>"$work/err"
check "an unmapped COM port fails" [ $? -eq 1 ]
check "an unmapped COM port: not the dialog's Connect to Cutter fail!" [ -z "$(grep "Connect to Cutter fail!" "$work/err")" ]
check "an unmapped COM port says what was done and the system's reason" grep -q "^plotgate: opening COM29: ." "$work/err"

# check on a COM port mapped to the simulator: it opens, reports the line and the modem
# lines, and the cutter gets one pen-up in the model's dialect.
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com26"
# Lines end in CR LF on Windows' text-mode output.
wine "$cli" check --model Robin-Series --port COM26 2>"$work/check.err" | tr -d '\r' >"$work/check.out"
rc=${PIPESTATUS[0]}
for _ in $(seq 100); do [ "$(cat "$work/received.hb")" = "PU0,0;" ] && break; sleep 0.05; done
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null
check "check on COM26: exit 0" [ "$rc" -eq 0 ] || sed "s/^/  check said: /" "$work/check.err"
check "check on COM26: opened" grep -qx "Opened: yes, for Robin-Series" "$work/check.out"
check "check on COM26: the line settings" \
  grep -qx "Line: 38400 baud, 8 data bits, no parity, 1 stop bit, CTS flow control" "$work/check.out"
check "check on COM26: the modem lines" grep -qE "^Modem lines: (CTS|not reported)" "$work/check.out"
check "check on COM26: the pen-up accepted" grep -qx 'Pen-up to the origin ("PU0,0;"): accepted within 1 second' \
  "$work/check.out"
check "check on COM26: the cutter got the pen-up alone" [ "$(cat "$work/received.hb")" = "PU0,0;" ]
wine "$cli" check --model Robin-Series --port COM29 >/dev/null 2>"$work/err"
check "check on an unmapped COM port: exit 1" [ $? -eq 1 ]
check "check on an unmapped COM port: the reason" grep -q "^plotgate: opening COM29: ." "$work/err"

# Remembered choices: the second send names nothing but the drawing, and goes to the port,
# model and options of the first (COM26 is not the port the registry would suggest), and
# leaves the settings file byte for byte as it was.
# remember_send NAME [SEND OPTIONS...]: the simulator behind COM26.
remember_send() {
  local name=$1
  shift
  start_cutter "$sim" "$work/received.hb" "$work/sim.out"
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com26"
  wine "$cli" send "$root/examples/star.plt" "$@" >/dev/null 2>"$work/send.err"
  check "remembered, $name: send succeeds" [ $? -eq 0 ]
  wait "$sim_pid"
  check "remembered, $name: the choices of the first send" cmp -s "$work/received.hb" "$work/expected.hb"
}
rm -f "$ini"
"$plotgate" encode "$root/examples/star.plt" --model Wren-Series --blade-offset 0.5 --overcut 1.0 \
  --output "$work/expected.hb"
remember_send "first" --model Wren-Series --port COM26 --blade-offset 0.5 --overcut 1.0
printf '[Device]\r\nType=1\r\nPort=26\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=0.5\r\nOverCut=1.0\r\n' \
  >"$work/first.ini"
check "remembered: eight lines beside the program" cmp -s "$ini" "$work/first.ini"
remember_send "second, no options"
check "remembered: settings file byte-identical" cmp -s "$ini" "$work/first.ini"

# Ctrl-C in the middle of a long job: Wine turns a SIGINT of the program's process into the
# console's Ctrl-C event. The cutter gets whole commands, then the job's last pen-up and
# the terminator; the send says how far it got and exits 130. The simulator takes a 38400-
# baud line's 3840 bytes a second, so the job (about 340 kB) is far from done when the
# interrupt comes.
awk 'BEGIN { printf "IN;SP1;PU0,0;"; for (i = 0; i < 30000; i++) printf "PD%d,%d;", i % 4000, (i * 7) % 4000; printf "SP0;" }' >"$work/long.plt"
"$plotgate" encode "$work/long.plt" --model Robin-Series --output "$work/expected.hb"
rm -f "$ini" "$work/received.hb"
start_cutter "$sim" "$work/received.hb" "$work/sim.out" --rate 3840
ln -sfn "$device" "$WINEPREFIX/dosdevices/com26"
"$(wine_loader)" "$cli" send "$work/long.plt" --model Robin-Series --port COM26 >"$work/send.out" 2>"$work/send.err" &
send_pid=$!
for _ in $(seq 600); do [ -s "$work/received.hb" ] && break; sleep 0.05; done
kill -INT "$send_pid"
wait "$send_pid"
rc=$?
wait "$sim_pid"
sim_rc=$?
check "Ctrl-C: exit 130" [ "$rc" -eq 130 ] || sed "s/^/  send said: /" "$work/send.err"
check "Ctrl-C: the cutter saw the terminator" [ "$sim_rc" -eq 0 ]
check "Ctrl-C: the job was cut short" [ "$(stat -c %s "$work/received.hb")" -lt "$(stat -c %s "$work/expected.hb")" ]
check "Ctrl-C: whole commands, then the job's last pen-up and the terminator" \
  grep -qE '^(IN;|SP1;|PU[0-9-]+,[0-9-]+;|PD[0-9-]+,[0-9-]+;)*PU[0-9-]+,[0-9-]+;SP0;@$' "$work/received.hb"
# What came before the ending is the job's own beginning.
ending=$(grep -oE 'PU[0-9-]+,[0-9-]+;SP0;@$' "$work/expected.hb")
head_size=$(($(stat -c %s "$work/received.hb") - ${#ending}))
check "Ctrl-C: the job's own commands, then its ending" \
  cmp -s <(head -c "$head_size" "$work/received.hb") <(head -c "$head_size" "$work/expected.hb")
size=$(sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$(stat -c %s "$work/expected.hb")")
# The command to go on runs this program by its own name, and only for this drawing.
check "Ctrl-C: says how far it got and how to go on" grep -qE \
  "^plotgate: stopped in path 1 of 1 after [0-9,]+ of $size bytes; the pen was lifted and the job ended. To go on: plotgate-cli\.exe send --model Robin-Series --port COM26 --no-blade-offset --no-overcut --no-inside-first --no-shortest-travel --no-weed-border --passes 1 --no-media-width --no-panels --no-force --no-speed --job-id [0-9a-f]{12} --from-path 1 -- $work/long.plt\$" \
  <(tr -d '\r' <"$work/send.err") || sed 's/^/  said: /' "$work/send.err"

finish

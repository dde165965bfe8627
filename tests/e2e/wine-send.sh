#!/usr/bin/env bash
# Send from the real Plotgate.exe under Wine, driven from outside with dialog-driver.exe:
# on COM1 wired to the simulated cutter's pseudo-terminal through $WINEPREFIX/dosdevices
# (an HPGL and a DM/PL model, with the offset options typed into the controls; a material
# preset chosen, and the test cut in it; a job cut in panels on a media width, and one
# refused as wider than the media), on a port
# with nothing behind it, on the maker's USB link through VornUSBSend.exe and the stand-in
# VornLib.dll beside the program (also with an error status and a job path holding a
# space), Cancel in the middle of a send held back by a slow cutter, and a job placed by
# marks measured in the Registration window. Uses $WINEPREFIX
# and $DISPLAY when set, else a throw-away prefix and an Xvfb of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset native >/dev/null && cmake --build --preset native --target plotgate cutter-sim >/dev/null &&
  cmake --preset "$preset" >/dev/null &&
  cmake --build --preset "$preset" --target Plotgate VornUSBSend VornLib dialog-driver >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
plotgate=$root/build/native/cli/plotgate
sim=$root/build/native/tools/cutter-sim
work=$(mktemp -d /tmp/plotgate-e2e-send.XXXXXX)
bin="$work/bin"
mkdir -p "$bin" "$work/my temp"
cp "$root/build/$preset/app/Plotgate.exe" "$root/build/$preset/usbsend/VornUSBSend.exe" \
  "$root/build/$preset/tools/vornlib/VornLib.dll" "$bin/"
cp "$root/build/$preset/tools/dialogdriver/dialog-driver.exe" "$work/"
ini=$bin/Plotgate.ini

use_wine "$work"
cleanup() {
  "$wine" "$work/dialog-driver.exe" close Harbex >/dev/null 2>&1
  rm -f "$WINEPREFIX/dosdevices/com1"
  [ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

driver() { "$wine" "$work/dialog-driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
ended() { ! kill -0 "$app" 2>/dev/null; }
running() { kill -0 "$app" 2>/dev/null; }
# wait_end SECONDS: until the program has ended by itself.
wait_end() {
  for _ in $(seq $(($1 * 20))); do ended && return 0; sleep 0.05; done
  return 1
}
# start_app FILE [VAR=VALUE...]: Plotgate.exe on FILE, with the environment given.
start_app() {
  local file=$1
  shift
  env "$@" "$wine" "$bin/Plotgate.exe" "$(windows "$file")" >/dev/null 2>"$work/app.err" &
  app=$!
  driver wait Harbex 60 >/dev/null
}
# comes_to WINDOW PATTERN TENTHS: until a line of the window's controls (left in
# $work/controls) matches PATTERN, polled every tenth of a second at most TENTHS times.
comes_to() {
  for _ in $(seq "$3"); do
    driver controls "$1" >"$work/controls"
    grep -q "$2" "$work/controls" && return 0
    sleep 0.1
  done
  return 1
}
# A message box of the program: its text, after which it is dismissed; "" when none comes.
message() { driver message Plotgate "${1:-30}"; }
no_crash() { ! grep -qi "exception\|page fault" "$work/app.err"; }

# serial_send NAME MODEL-INDEX INPUT: COM1 = the simulator; the model chosen, the
# blade offset and over-cut ticked and typed, Send clicked.
serial_send() {
  local name=$1 model=$2 input=$3
  rm -f "$ini"
  start_cutter "$sim" "$work/received.hb" "$work/sim.out"
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
  start_app "$input"
  driver select Harbex 1003 "$model"
  driver select Harbex 1004 1
  driver tick Harbex 1005
  driver tick Harbex 1016
  driver type Harbex 1006 0.5
  driver type Harbex 1017 1.0
  driver click Harbex 1
  local said
  said=$(message 60)
  wait "$sim_pid"
  local sim_rc=$?
  "$plotgate" encode "$input" --model "$model" --blade-offset 0.5 --overcut 1.0 --output "$work/expected.hb"
  check "$name: the cutter saw the job's end" [ "$sim_rc" -eq 0 ]
  check "$name: received bytes equal the encoded job" cmp -s "$work/received.hb" "$work/expected.hb"
  check "$name: Send finished! is shown" [ "$said" = "Send finished!" ]
  check "$name: the program ends by itself" wait_end 10
  printf '[Device]\r\nType=%s\r\nPort=1\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=0.5\r\nOverCut=1.0\r\n' \
    "$model" >"$work/expected.ini"
  check "$name: the six settings in order" cmp -s "$ini" "$work/expected.ini"
  check "$name: no crash" no_crash
}
serial_send "HPGL (Egret-Series)" 7 "$root/examples/star.plt"
serial_send "DM/PL (Tern, 9600 baud)" 9 "$root/examples/cut-word.plt"

# A material preset chosen in the list shows its values and its force and speed reach the
# cutter; the send remembers the preset. Then the test cut in it: the test cut's bytes,
# the words to check it by, and the window left open for the job.
rm -f "$ini"
printf '[Presets]\r\nCount=1\r\n[Preset 1]\r\nName=Vinyl\r\nBladeOffset=0.25\r\nOvercut=0.50\r\nPasses=1\r\nForce=80\r\nSpeed=20\r\n' \
  >"$bin/Presets.ini"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
start_app "$root/examples/star.plt"
driver select Harbex 1003 7
driver select Harbex 1004 1
driver select Harbex 1027 1
driver controls Harbex >"$work/controls"
for shown in '^1027 ComboBox .* "Vinyl"$' '^1006 Edit enabled .* "0.25"$' '^1017 Edit enabled .* "0.50"$' \
  '^1031 Edit enabled .* "80"$' '^1033 Edit enabled .* "20"$'; do
  check "preset: the list shows its value ($shown)" grep -q "$shown" "$work/controls"
done
driver click Harbex 1
said=$(message 60)
wait "$sim_pid"
"$plotgate" encode "$root/examples/star.plt" --model Egret-Series --blade-offset 0.25 --overcut 0.50 --force 80 \
  --speed 20 --output "$work/expected.hb"
check "preset: Send finished! is shown" [ "$said" = "Send finished!" ]
check "preset: the cutter received FS80; and VS20;" grep -q '^IN;SP1;FS80;VS20;' "$work/received.hb"
check "preset: received bytes equal the encoded job" cmp -s "$work/received.hb" "$work/expected.hb"
check "preset: its name is remembered" grep -q $'^Preset=Vinyl\r$' "$ini"
check "preset: the program ends by itself" wait_end 10
cp "$ini" "$work/ini.before"

start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
start_app "$root/examples/star.plt"
driver controls Harbex >"$work/controls"
check "test cut: the list starts on the remembered preset" grep -q '^1027 ComboBox .* "Vinyl"$' "$work/controls"
driver click Harbex 1034
said=$(message 60)
wait "$sim_pid"
"$plotgate" testcut --model Egret-Series --blade-offset 0.25 --overcut 0.50 --force 80 --speed 20 \
  --output "$work/expected.hb"
check "test cut: the cutter received the test cut's bytes" cmp -s "$work/received.hb" "$work/expected.hb"
check "test cut: what to check is said" grep -q '^Test cut sent: a 10 mm square around a triangle' <<<"$said"
driver controls Harbex >"$work/controls"
check "test cut: the window stays open for the job" running
check "test cut: Send is enabled again" grep -q '^1 Button enabled' "$work/controls"
check "test cut: nothing is remembered" cmp -s "$ini" "$work/ini.before"
driver close Harbex
check "test cut: the close box ends it" wait_end 10
rm -f "$bin/Presets.ini"

# The media: a frame 310 x 50 mm with a 5 mm wall on media 120 mm wide, the width typed in
# and Panels ticked (three panels of 110 mm), is sent as the command line cuts it in panels,
# and the media is remembered; without the panels it is refused before the port is opened.
printf 'IN;SP1;PU0,0;PD12400,0;PD12400,2000;PD0,2000;PD0,0;PU200,200;PD12200,200;PD12200,1800;PD200,1800;PD200,200;SP0;' \
  >"$work/frame.plt"
# media_job: COM1 = the simulator; the frame loaded, Egret-Series on COM1, the media width
# ticked and 120 typed in.
media_job() {
  rm -f "$ini" "$work/received.hb"
  start_cutter "$sim" "$work/received.hb" "$work/sim.out"
  ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
  start_app "$work/frame.plt"
  driver select Harbex 1003 7
  driver select Harbex 1004 1
  driver tick Harbex 1040
  driver type Harbex 1041 120
}
media_job
driver tick Harbex 1042
driver controls Harbex >"$work/controls"
check "panels: the size shown is the panelled job's" grep -q '^1012 .* "110.00"$' "$work/controls"
driver click Harbex 1
said=$(message 60)
wait "$sim_pid"
"$plotgate" encode "$work/frame.plt" --model 7 --media-width 120 --panels --output "$work/expected.hb"
check "panels: Send finished! is shown" [ "$said" = "Send finished!" ]
check "panels: received bytes equal the job encoded in panels" cmp -s "$work/received.hb" "$work/expected.hb"
check "panels: the media is remembered" \
  [ "$(grep -A 3 '^\[Media\]' "$ini")" = "$(printf '[Media]\r\nChkWidth=1\r\nWidth=120\r\nPanels=1\r')" ]
check "panels: the program ends by itself" wait_end 10
media_job
driver click Harbex 1
check "wider than the media: refused with the command line's words" [ "$(message 30)" = \
  "the job is 310.00 mm across the roll, wider than the media (120 mm): turn it (--rotate 90) or cut it in panels (--panels)" ]
check "wider than the media: the dialog stays open" running
check "wider than the media: nothing saved" [ ! -s "$ini" ]
driver close Harbex
check "wider than the media: the close box ends it" wait_end 10
check "wider than the media: the cutter receives nothing" [ ! -s "$work/received.hb" ]
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null

# A port with nothing behind it: the message, and the dialog stays as it was.
rm -f "$ini"
start_app "$root/examples/star.plt"
driver select Harbex 1003 7
driver select Harbex 1004 29
driver click Harbex 1
check "nothing on COM29: Connect to Cutter fail!" [ "$(message)" = "Connect to Cutter fail!" ]
driver controls Harbex >"$work/controls"
check "nothing on COM29: Send still enabled" grep -q '^1 Button enabled' "$work/controls"
check "nothing on COM29: the Device list still enabled" grep -q '^1003 ComboBox enabled' "$work/controls"
check "nothing on COM29: nothing saved" [ ! -s "$ini" ]
check "nothing on COM29: the dialog stays open" running
driver close Harbex
check "nothing on COM29: the close box ends it" wait_end 10

# A settings file that another program holds open: the port is opened, the save fails,
# the file's reason is shown and nothing is sent.
printf '' >"$ini"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
start_app "$root/examples/star.plt"
driver select Harbex 1003 7
driver select Harbex 1004 1
"$wine" "$work/dialog-driver.exe" hold "$(windows "$ini")" 20 >"$work/hold.out" 2>/dev/null &
holder=$!
for _ in $(seq 600); do grep -q held "$work/hold.out" && break; sleep 0.05; done
driver click Harbex 1
said=$(message 30)
check "a held Plotgate.ini: its reason is shown" grep -q 'Plotgate.ini: ' <<<"$said"
check "a held Plotgate.ini: the dialog stays open" running
check "a held Plotgate.ini: nothing is sent" [ ! -s "$work/received.hb" ]
driver close Harbex
check "a held Plotgate.ini: the close box ends it" wait_end 10
kill "$sim_pid" "$holder" 2>/dev/null
wait "$sim_pid" "$holder" 2>/dev/null

# A settings file that cannot be read at all (a folder of that name): the reason is shown,
# the dialog opens with the job and the defaults, and a send fails with the same reason.
rm -f "$ini"
mkdir "$ini"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
"$wine" "$bin/Plotgate.exe" "$(windows "$root/examples/star.plt")" >/dev/null 2>"$work/app.err" &
app=$!
said=$(message 60)
check "an unreadable Plotgate.ini: its reason is shown at start" grep -q 'Plotgate.ini: ' <<<"$said"
driver wait Harbex 60 >/dev/null
driver controls Harbex >"$work/controls"
check "an unreadable Plotgate.ini: the job is loaded" grep -q '^1012 Edit disabled visible "95.10"$' "$work/controls"
check "an unreadable Plotgate.ini: the default blade offset" grep -q '^1006 .* "0.38"$' "$work/controls"
check "an unreadable Plotgate.ini: Send is enabled" grep -q '^1 Button enabled' "$work/controls"
driver select Harbex 1003 7
driver select Harbex 1004 1
driver click Harbex 1
check "an unreadable Plotgate.ini: a send fails with its reason" [ "$(message 30)" = "$(head -n 1 <<<"$said")" ]
check "an unreadable Plotgate.ini: nothing is sent" [ ! -s "$work/received.hb" ]
check "an unreadable Plotgate.ini: the dialog stays open" running
driver close Harbex
check "an unreadable Plotgate.ini: the close box ends it" wait_end 10
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null
rmdir "$ini"

# usb_send NAME [VAR=VALUE...]: Lark-Series on VORN_USB (the first model and port, so the
# defaults), Send clicked; the stand-in records into $work/usb.hb.
usb_send() {
  rm -f "$ini" "$work/usb.hb"
  start_app "$root/examples/cut-word.plt" VORNLIB_RECORD="$(windows "$work/usb.hb")" "${@:2}"
  driver click Harbex 1
}
usb_send "USB"
# The bar reaches 100 and the window answers during the pause before the box.
check "USB: the progress reaches 100%" comes_to Harbex '^1008 .* "100%"$' 100
# Send (or Enter) during the pause starts nothing: the driver is about to be released.
driver click Harbex 1
check "USB: Send finished! is shown" [ "$(message 30)" = "Send finished!" ]
check "USB: the program ends by itself" wait_end 10
"$plotgate" encode "$root/examples/cut-word.plt" --model Lark-Series --output "$work/expected.hb"
check "USB: the stand-in recorded exactly the job" cmp -s "$work/usb.hb" "$work/expected.hb"

usb_send "USB, failing write" VORNLIB_FAIL_WRITE=1
check "USB, failing write: the error's text" [ "$(message 30)" = "ERROR_WRITE_USB_DATA!" ]
check "USB, failing write: no Send finished! after it" [ -z "$(message 6)" ]
check "USB, failing write: the program ends by itself" wait_end 10

# The job file in a temporary folder whose path holds a space: the sender gets it unquoted.
# Wine takes a program's TEMP and TMP from the user's environment in the registry; each
# is put back as it was (its type and value) afterwards.
environment() { wine reg query 'HKCU\Environment' /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *//p"; }
declare -A saved_env
for name in TEMP TMP; do
  saved_env[$name]=$(environment "$name")
  wine reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d "$(windows "$work/my temp")" /f >/dev/null 2>&1
done
usb_send "USB, space"
check "USB, a job path with a space: Send finished!" [ "$(message 30)" = "Send finished!" ]
check "USB, a job path with a space: the job file was written there" [ -s "$work/my temp/cutcorldata.hb" ]
check "USB, a job path with a space: the stand-in recorded it whole" cmp -s "$work/usb.hb" "$work/my temp/cutcorldata.hb"
wait_end 10
for name in TEMP TMP; do
  read -r type value <<<"${saved_env[$name]}"
  wine reg add 'HKCU\Environment' /v "$name" /t "$type" /d "$value" /f >/dev/null 2>&1
done

# Cancel in the middle of a send that a 3840-byte-a-second cutter holds back: a job of
# some 200 KB, far more than the terminal buffers (also sent on the USB link below).
{
  printf 'IN;SP1;PU0,0;'
  for i in $(seq 16000); do printf 'PD%d,%d;' $((i % 2 ? 4000 : 100)) $((i % 4000)); done
  printf 'SP0;'
} >"$work/big.plt"
# send_big SIMULATOR-OPTIONS...: the big job sent to Egret-Series on COM1, the simulator
# taking it as told; returns once the bar has moved, so the worker streams.
send_big() {
  "$sim" --record "$work/received.hb" --timeout 30 "$@" >"$work/sim.out" &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
  ln -sfn "$(head -n 1 "$work/sim.out")" "$WINEPREFIX/dosdevices/com1"
  start_app "$work/big.plt"
  driver select Harbex 1003 7
  driver select Harbex 1004 1
  driver click Harbex 1
  for _ in $(seq 300); do
    driver controls Harbex >"$work/controls"
    grep -q '^1008 .* "[1-9][0-9]*%"$' "$work/controls" && return 0
    sleep 0.1
  done
  return 1
}
send_big --rate 3840
check "Cancel: the send is under way (Send disabled)" grep -q '^1 Button disabled' "$work/controls"
# Another program (a second Plotgate) cannot replace the job file while it is sent.
"$wine" cmd /c 'echo another job> %TEMP%\cutcorldata.hb' >/dev/null 2>&1
job_file=$("$wine" cmd /c 'echo %TEMP%\cutcorldata.hb' 2>/dev/null | tr -d '\r')
check "Cancel: the job file cannot be replaced mid-send" \
  cmp -s "$("$wine" winepath -u "$job_file" 2>/dev/null)" <("$plotgate" encode "$work/big.plt" --model Egret-Series --output -)
# From the click to the window's end: the worker stopped (its piece ended, or its write
# aborted after the grace period) and joined, the port closed.
took=$(driver click-gone Harbex 2 5)
check "Cancel: the dialog ends within a second (${took:-no end in 5 s} ms)" [ "${took:-9999}" -lt 1000 ]
check "Cancel: the program ends" wait_end 10
check "Cancel: no crash" no_crash
# What the terminal had buffered still trickles in, then the job's ending: the cutter
# lifts the pen and ends the job, of which it got a part only.
wait "$sim_pid"
check "Cancel: the cutter saw the job's end" [ $? -eq 0 ]
"$plotgate" encode "$work/big.plt" --model Egret-Series --output "$work/expected.hb"
check "Cancel: part of the job only" [ "$(stat -c %s "$work/received.hb")" -lt "$(stat -c %s "$work/expected.hb")" ]
check "Cancel: it ends as the job does" [ "$(tail -c 12 "$work/received.hb")" = "$(tail -c 12 "$work/expected.hb")" ]

# Cancel while a cutter that stopped reading holds the line back for good: the job's
# ending cannot go out either, and the window still ends at once.
send_big --stall-after 8000
took=$(driver click-gone Harbex 2 5)
check "Cancel on a stuck line: the dialog ends within two seconds (${took:-no end in 5 s} ms)" \
  [ "${took:-9999}" -lt 2000 ]
check "Cancel on a stuck line: the program ends" wait_end 10
check "Cancel on a stuck line: no crash" no_crash
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null

# usb_big [VAR=VALUE...]: the big job to Lark-Series on VORN_USB, the stand-in taking 100 ms
# a piece; returns once the bar has moved, so that the sender streams.
usb_big() {
  rm -f "$ini" "$work/usb.hb"
  start_app "$work/big.plt" VORNLIB_RECORD="$(windows "$work/usb.hb")" VORNLIB_WRITE_MS=100 "$@"
  driver click Harbex 1
  for _ in $(seq 300); do
    driver controls Harbex >"$work/controls"
    grep -q '^1008 .* "[1-9][0-9]*%"$' "$work/controls" && return 0
    sleep 0.1
  done
  return 1
}
# settled FILE: waits until FILE has stopped growing (nothing more in a second).
settled() {
  local size=-1
  while [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" != "$size" ]; do
    size=$(stat -c %s "$1" 2>/dev/null || echo 0)
    sleep 1
  done
}
"$plotgate" encode "$work/big.plt" --model Lark-Series --output "$work/expected.hb"

# Cancel on the USB link: the sender is told to stop and waited for, so nothing more than
# the job's ending reaches the library after the dialog has gone.
check "USB Cancel: the send is under way" usb_big
took=$(driver click-gone Harbex 2 10)
check "USB Cancel: the dialog ends within three seconds (${took:-no end in 10 s} ms)" [ "${took:-99999}" -lt 3000 ]
check "USB Cancel: the program ends" wait_end 10
size_at_end=$(stat -c %s "$work/usb.hb")
settled "$work/usb.hb"
check "USB Cancel: nothing reaches the library once the dialog has gone" \
  [ "$(stat -c %s "$work/usb.hb")" -eq "$size_at_end" ]
check "USB Cancel: part of the job only" [ "$(stat -c %s "$work/usb.hb")" -lt "$(stat -c %s "$work/expected.hb")" ]
check "USB Cancel: it ends as the job does" [ "$(tail -c 12 "$work/usb.hb")" = "$(tail -c 12 "$work/expected.hb")" ]
check "USB Cancel: no crash" no_crash

# A sender whose library ends its process mid-send: the dialog says so and ends the send.
check "USB sender gone: the send is under way" usb_big VORNLIB_END_AT_WRITE=5
said=$(message 30)
check "USB sender gone: the reason is shown ($said)" grep -q '^VornUSBSend.exe crashed during the send' <<<"$said"
check "USB sender gone: no Send finished! after it" [ -z "$(message 6)" ]
check "USB sender gone: the program ends by itself" wait_end 10
check "USB sender gone: no crash of the dialog" no_crash

# Registration: the head jogged onto three marks on COM1 from the Registration window (the
# arrow keys, the arrow buttons, Go to mark and Set), the job placed by them on OK, and
# sent where they put it. Marks at (0,0), (2000,0) and (0,2000) around a 10 mm square;
# mark 1 found at (400, 2400) units, mark 2 where it was predicted, mark 3 1 mm across
# from its prediction.
marked=$work/marked.plt
printf 'IN;RM1,0,0;RM2,2000,0;RM3,0,2000;PU1000,1000;PD1400,1000;PD1400,1400;PD1000,1400;PD1000,1000;SP0;' >"$marked"
# jogged TEXT: waits until the cutter has received moves ending in TEXT.
jogged() {
  for _ in $(seq 600); do
    [ "$(tail -c ${#1} "$work/jog.hb" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.05
  done
  return 1
}
rm -f "$ini"
start_cutter "$sim" "$work/jog.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
start_app "$marked"
driver select Harbex 1003 7
driver select Harbex 1004 1
driver controls Harbex >"$work/controls"
check "Registration: Marks... is enabled for a job with marks" grep -q '^1050 Button enabled' "$work/controls"
driver click Harbex 1050
driver wait Registration 30 >/dev/null
check "Registration: the jog starts once COM1 is open" comes_to Registration '^1103 Button enabled' 300
check "Registration: the marks are listed" grep -q '^1100 ListBox enabled' "$work/controls"
driver tick Registration 1109 # 10 mm
driver key Registration 1100 up
for _ in 1 2 3 4 5 6; do driver key Registration 1100 left; done
driver click Registration 1102 # Set mark 1; mark 2 is chosen next
driver click Registration 1101 # Go to mark 2
driver click Registration 1102
driver click Registration 1101 # Go to mark 3
check "Registration: Go to mark sends the head where marks 1 and 2 put mark 3" jogged "PU400,400;PU2400,2400;"
driver tick Registration 1108 # 1 mm
driver click Registration 1105 # Right
check "Registration: the arrow button moves one step" jogged "PU2400,2360;"
driver click Registration 1102
driver click Registration 1 # OK
check "Registration: OK closes the window" driver gone Registration 30
wait "$sim_pid"
check "Registration: the jog ends with the terminator" [ $? -eq 0 ]
{
  printf 'IN;SP1;'
  for _ in $(seq 16); do printf 'PU0,0;'; done
  printf 'PU400,0;'
  for i in 1 2 3 4 5 6; do printf 'PU400,%d;' $((400 * i)); done
  printf 'PU400,400;PU2400,2400;PU2400,2360;SP0;@'
} >"$work/expected-jog.hb"
check "Registration: one header, the moves as pressed, one terminator" cmp -s "$work/jog.hb" "$work/expected-jog.hb"
driver controls Harbex >"$work/controls"
check "Registration: Mirror is disabled while the job is placed" grep -q '^1009 Button disabled' "$work/controls"
check "Registration: Rotate is disabled while the job is placed" grep -q '^1010 Button disabled' "$work/controls"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
ln -sfn "$device" "$WINEPREFIX/dosdevices/com1"
driver click Harbex 1
said=$(message 60)
wait "$sim_pid"
"$plotgate" marks "$marked" --mark 1=10,60 --mark 2=10,10 --mark 3=60,59 --save "$work/marked.reg" >/dev/null
"$plotgate" encode "$marked" --model 7 --registration "$work/marked.reg" --output "$work/expected.hb"
check "Registration: Send finished!" [ "$said" = "Send finished!" ]
check "Registration: the cutter received the placed square" cmp -s "$work/received.hb" "$work/expected.hb"
"$plotgate" encode "$marked" --model 7 --output "$work/unplaced.hb"
check "Registration: the placed square is not the unplaced one" \
  [ "$(cat "$work/received.hb")" != "$(cat "$work/unplaced.hb")" ]
check "Registration: the program ends by itself" wait_end 10
check "Registration: no crash" no_crash

finish

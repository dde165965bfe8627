#!/usr/bin/env bash
# The real Plotgate.exe under Wine: opened on an exchange file (also through an unquoted
# path holding a space), with remembered choices and serial devices added by `wine reg
# add`, and with the two workspace switches, which show no window. Checked from outside
# with dialog-driver.exe. Also prints the start-up time (process start to window shown).
# Uses $WINEPREFIX and $DISPLAY when set, else a throw-away prefix and an Xvfb of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target Plotgate dialog-driver >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
work=$(mktemp -d /tmp/plotgate-e2e-dialog.XXXXXX)
bin="$work/My Programs"
mkdir -p "$bin" "$work/My Files" "$work/X6"
cp "$root/build/$preset/app/Plotgate.exe" "$bin/"
cp "$root/build/$preset/tools/dialogdriver/dialog-driver.exe" "$work/"
cp "$root/examples/star.plt" "$work/My Files/star job.plt"
workspace=$EMPTY_WORKSPACE
printf '%s' "$workspace" >"$work/X6/DRAWUIConfig.xml"

use_wine "$work"
key16='HKCU\Software\Corel\CorelDRAW\16.0\Draw'
serialcomm='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
cleanup() {
  "$wine" "$work/dialog-driver.exe" close Harbex >/dev/null 2>&1
  wine reg delete 'HKCU\Software\Corel' /f >/dev/null 2>&1
  wine reg delete "$serialcomm" /v '\Device\VCP0' /f >/dev/null 2>&1
  [ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
wine reg add "$key16" /v LastWorkspaceUsed /t REG_SZ /d "$(windows "$work/X6").cdws" /f >/dev/null 2>&1

driver() { "$wine" "$work/dialog-driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
controls() { driver controls Harbex >"$work/controls"; }
# shows ID TEXT: control ID shows TEXT (its text or its selected entry).
shows() { grep -q "^$1 .* \"$2\"\$" "$work/controls"; }
state() { grep -q "^$1 [^ ]* $2" "$work/controls"; }
has_button() { grep -q 'itemData guid="90c7038a-be16-44b5-8db5-c2745b70be66"' "$work/X6/DRAWUIConfig.xml"; }
ended() { ! kill -0 "$app" 2>/dev/null; }
window_shown() { driver wait Harbex 0 >/dev/null; }

# An unquoted path with a space: Windows splits it in two, the program joins it again.
start=$(date +%s%N)
# shellcheck disable=SC2046  # split on purpose
"$wine" "$bin/Plotgate.exe" $(windows "$work/My Files/star job.plt") >/dev/null 2>&1 &
app=$!
startup=$(driver wait Harbex 60)
shown=$(date +%s%N)
check "the dialog opens" window_shown
controls
check "the unquoted path is loaded: width" shows 1012 "$("$root/build/native/cli/plotgate" info examples/star.plt | cut -d' ' -f1)"
check "the unquoted path is loaded: height" shows 1011 "90.45"
check "Send is enabled with a job" state 1 enabled
check "first run: the first model" shows 1003 "Lark-Series"
check "first run: the USB link" shows 1004 "VORN_USB"
check "first run: an empty settings file beside the program" [ -f "$bin/Plotgate.ini" ] && check "and it is empty" [ ! -s "$bin/Plotgate.ini" ]
check "every start adds the toolbar" has_button
check "a screenshot can be taken" driver screenshot Harbex "$work/dialog.bmp"
check "the screenshot holds the window" [ "$(stat -c %s "$work/dialog.bmp" 2>/dev/null || echo 0)" -gt 100000 ]
driver click Harbex 2
for _ in $(seq 200); do ended && break; sleep 0.05; done
check "Cancel ends the program" ended
check "Cancel saves nothing" [ ! -s "$bin/Plotgate.ini" ]
# From the Windows process's creation to the window shown (as the driver sees it, polling
# every 10 ms), and from the shell's start of the Wine loader to the driver's report.
echo "start-up under Wine ($preset): ${startup:-?} ms from process creation to window shown;" \
  "$(((shown - start) / 1000000)) ms from starting wine to the driver's report"

# Remembered choices with a model other than the first on the USB entry: the port found
# for the model in the registry's serial devices, above COM30 too.
printf '[Device]\r\nType=9\r\nPort=0\r\n' >"$bin/Plotgate.ini"
wine reg add "$serialcomm" /v '\Device\VCP0' /t REG_SZ /d COM42 /f >/dev/null 2>&1
"$wine" "$bin/Plotgate.exe" "$(windows "$work/My Files/star job.plt")" >/dev/null 2>&1 &
app=$!
driver wait Harbex 60 >/dev/null
controls
check "Type=9: the tenth model" shows 1003 "Tern(V8.8 or before)"
check "Port=0: the port registered for it, COM42" shows 1004 "COM42"
driver click Harbex 2
for _ in $(seq 200); do ended && break; sleep 0.05; done

# A ticked weed border the command line would refuse (saved by hand, or by an older
# version): Send says why in a box before the port is opened, and saves nothing, so that a
# send of the command line never takes it.
printf '[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=100\r\n' >"$bin/Plotgate.ini"
"$wine" "$bin/Plotgate.exe" "$(windows "$work/My Files/star job.plt")" >/dev/null 2>&1 &
app=$!
driver wait Harbex 60 >/dev/null
driver click Harbex 1
said=$(driver message Plotgate 60)
check "a weed border of 100 mm: Send says why" [ "$said" = 'Weed border: "100" is outside a number of mm from 0.5 to 50.' ] ||
  echo "  said: $said"
check "a weed border of 100 mm: nothing saved" \
  cmp -s "$bin/Plotgate.ini" <(printf '[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=100\r\n')
driver click Harbex 2
for _ in $(seq 200); do ended && break; sleep 0.05; done

# No file: only About and Cancel usable.
"$wine" "$bin/Plotgate.exe" >/dev/null 2>&1 &
app=$!
driver wait Harbex 60 >/dev/null
controls
check "no file: Send disabled" state 1 disabled
check "no file: Device list disabled" state 1003 disabled
check "no file: About enabled" state 1015 enabled
driver close Harbex
for _ in $(seq 200); do ended && break; sleep 0.05; done
check "the close box ends the program" ended

# A job too large to flatten (curves between opposite corners of the coordinate range):
# refused with its reason in a box before the window opens, which then has no job.
{
  printf 'IN;PU-2000000000,-2000000000;'
  for _ in $(seq 150); do
    printf 'BZ-2000000000,2000000000,2000000000,-2000000000,2000000000,2000000000;'
    printf 'BZ2000000000,-2000000000,-2000000000,2000000000,-2000000000,-2000000000;'
  done
  printf 'SP0;'
} >"$work/My Files/huge.plt"
"$wine" "$bin/Plotgate.exe" "$(windows "$work/My Files/huge.plt")" >/dev/null 2>&1 &
app=$!
said=$(driver message Plotgate 60)
check "a job too large: its reason in a box" [ "${said#this job is too large}" != "$said" ]
driver wait Harbex 60 >/dev/null
controls
check "a job too large: the window opens without a job" state 1 disabled
driver close Harbex
for _ in $(seq 200); do ended && break; sleep 0.05; done

# The switches: no window, the workspace edited, the program ends by itself.
printf '%s' "$workspace" >"$work/X6/DRAWUIConfig.xml"
timeout 60 "$wine" "$bin/Plotgate.exe" /RegCorelWorkSpace >/dev/null 2>&1
check "/RegCorelWorkSpace ends by itself" [ $? -eq 0 ]
check "/RegCorelWorkSpace adds the toolbar once" [ "$(grep -c 'guid="90c7038a' "$work/X6/DRAWUIConfig.xml")" -eq 1 ]
timeout 60 "$wine" "$bin/Plotgate.exe" -UnRegCorelWorkSpace >/dev/null 2>&1
check "-UnRegCorelWorkSpace ends by itself" [ $? -eq 0 ]
check "-UnRegCorelWorkSpace leaves the workspace as it was" [ "$(cat "$work/X6/DRAWUIConfig.xml")" = "$workspace" ]

finish

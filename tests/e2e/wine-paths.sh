#!/usr/bin/env bash
# Every user's folders under Wine: one folder whose name mixes Cyrillic, Arabic and Chinese,
# which no ANSI code page holds, is at once the install folder (Plotgate.exe, the sender,
# the stand-in VornLib.dll, X7.wz and the macro project), the user's temporary folder, the
# job's folder and the CorelDRAW folders. /RegCorelWorkSpace writes "Path" whole and
# copies the macro project; a USB send of the job there sends exactly the job; the command
# line encodes it; /UnRegCorelWorkSpace takes all back. A read-only workspace is refused
# with the system's reason. Uses a throw-away prefix and an Xvfb of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null &&
  cmake --build --preset "$preset" --target Plotgate VornUSBSend VornLib dialog-driver plotgate macro_project \
    x7_workspace >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
build=$root/build/$preset
# Wine turns arguments and environment into UTF-16 by the locale's character set.
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/plotgate-e2e-paths.XXXXXX)
folder="$work/Пути مسار 路径"
bin="$folder/bin"
mkdir -p "$bin" "$folder/temp" "$folder/X6" "$folder/X7/Workspace" "$folder/X7/GMS"
cp "$build/app/Plotgate.exe" "$build/usbsend/VornUSBSend.exe" "$build/tools/vornlib/VornLib.dll" \
  "$build/cli/plotgate-cli.exe" "$build/resources/x7/X7.wz" "$build/corel/macro/MeridalVorn.gms" "$bin/"
cp "$build/tools/dialogdriver/dialog-driver.exe" "$work/"
cp examples/cut-word.plt "$folder/job сигн.plt"
cp examples/cut-word.plt "$work/job.plt"
printf '%s' "$EMPTY_WORKSPACE" >"$folder/X6/DRAWUIConfig.xml"
printf 'users own workspace' >"$folder/X7/Workspace/_default.cdws"
cp -a "$folder/X6" "$work/X6.before"
cp -a "$folder/X7" "$work/X7.before"

use_wine "$work"
cleanup() {
  "$wine" "$work/dialog-driver.exe" close Harbex >/dev/null 2>&1
  [ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1
  stop_display
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
run() {
  "$wine" "$@" >/dev/null 2>&1
  local status=$?
  wineserver -w
  return $status
}
driver() { "$wine" "$work/dialog-driver.exe" "$@" 2>/dev/null | tr -d '\r'; }

run reg add 'HKCU\Software\Corel\CorelDRAW\16.0\Draw' /v LastWorkspaceUsed /t REG_SZ \
  /d "$(windows "$folder/X6").cdws" /f
run reg add 'HKCU\Software\Corel\CorelDRAW\17.0\Draw\Application Preferences\VBA' /v LastGMSFolder /t REG_SZ \
  /d "$(windows "$folder/X7")\\GMS\\" /f
for name in TEMP TMP; do run reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d "$(windows "$folder/temp")" /f; done

# The string values of HKCU\Software\Meridal\Plotgate as regedit exports them (UTF-16),
# in UTF-8 with doubled backslashes, one "name"="data" a line.
exported() {
  rm -f "$work/export.reg"
  run regedit /E "$(windows "$work/export.reg")" 'HKEY_CURRENT_USER\Software\Meridal\Plotgate'
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" 2>/dev/null | tr -d '\r'
}
escaped() { local w; w=$(windows "$1"); printf '%s' "${w//\\/\\\\}"; }

run "$bin/Plotgate.exe" /RegCorelWorkSpace
check "install folder: Path names Plotgate.exe whole" \
  grep -qxF "\"Path\"=\"$(escaped "$bin/Plotgate.exe")\"" <(exported)
check "install folder: the macro project is copied" cmp -s "$folder/X7/GMS/MeridalVorn.gms" "$bin/MeridalVorn.gms"
check "install folder: the copy is recorded whole" \
  grep -qxF "\"Macro17\"=\"$(escaped "$folder/X7/GMS/MeridalVorn.gms")\"" <(exported)
check "install folder: the version 16 workspace gets the toolbar" \
  grep -q 'itemData guid="90c7038a-be16-44b5-8db5-c2745b70be66"' "$folder/X6/DRAWUIConfig.xml"
check "install folder: X7.wz beside the program takes the version 17 workspace's place" \
  cmp -s "$folder/X7/Workspace/_default.cdws" "$bin/X7.wz"

# The dialog on the job, sent on the USB link (the defaults): the job file goes into the
# temporary folder and its path through the sender's command line.
VORNLIB_RECORD="$(windows "$work/usb.hb")" "$wine" "$bin/Plotgate.exe" "$(windows "$folder/job сигн.plt")" \
  >/dev/null 2>&1 &
app=$!
driver wait Harbex 60 >/dev/null
driver click Harbex 1
check "job: Send finished!" [ "$(driver message Plotgate 60)" = "Send finished!" ]
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
# What the job encodes to, from a folder of plain letters.
run "$bin/plotgate-cli.exe" encode "$(windows "$work/job.plt")" --model Lark-Series --output "$(windows "$work/expected.hb")"
check "temporary folder: the job file is written there" cmp -s "$folder/temp/cutcorldata.hb" "$work/expected.hb"
check "temporary folder: the sender sent it whole" cmp -s "$work/usb.hb" "$work/expected.hb"
check "install folder: the choices are saved beside the program" [ -s "$bin/Plotgate.ini" ]

# The command line takes the same names.
run "$bin/plotgate-cli.exe" encode "$(windows "$folder/job сигн.plt")" --model Lark-Series \
  --output "$(windows "$folder/out.hb")"
check "command line: encodes the job into the folder" cmp -s "$folder/out.hb" "$work/expected.hb"

run "$bin/Plotgate.exe" /UnRegCorelWorkSpace
check "uninstall: the copy of the macro project is deleted" [ ! -e "$folder/X7/GMS/MeridalVorn.gms" ]
check "uninstall: no value is left" bash -c '! "$0" reg query "HKCU\Software\Meridal" >/dev/null 2>&1' "$wine"
check "uninstall: the workspaces come back" \
  bash -c 'diff -rq "$0/X6" "$1/X6.before" && diff -rq "$0/X7" "$1/X7.before"' "$folder" "$work"

# A workspace the user may only read: refused with Windows' own reason.
chmod a-w "$folder/X6/DRAWUIConfig.xml"
"$wine" "$bin/plotgate-cli.exe" toolbar add "$(windows "$folder/X6/DRAWUIConfig.xml")" >"$work/out" 2>&1
check "read-only workspace: the reason is the system's" \
  grep -q "DRAWUIConfig.xml: cannot write it: Access denied" "$work/out" || cat "$work/out"
check "read-only workspace: left as it was" diff -q "$folder/X6/DRAWUIConfig.xml" "$work/X6.before/DRAWUIConfig.xml"

finish

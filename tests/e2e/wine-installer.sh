#!/usr/bin/env bash
# The installer of the build under Wine, in a throw-away prefix: CorelDRAW's values for
# versions 16 and 17 added with `wine reg add`, their workspace files laid out, then a
# silent install, a second silent install over it, and a silent uninstall. The install
# gives the workspaces the toolbar; the uninstall gives them back byte for byte and
# leaves nothing of its own behind, nor touches the user's other files.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target installer >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
build=$root/build/$preset
setup=$(ls "$build"/installer/Plotgate-*-setup.exe)
work=$(mktemp -d /tmp/plotgate-e2e-installer.XXXXXX)
mkdir -p "$work/X6" "$work/X7/Workspace" "$work/My Files"
printf '%s' "$EMPTY_WORKSPACE" >"$work/X6/DRAWUIConfig.xml"
printf 'users own workspace' >"$work/X7/Workspace/_default.cdws"
printf 'a drawing' >"$work/My Files/sign.cdr"
cp -a "$work/X6" "$work/X6.before"
cp -a "$work/X7" "$work/X7.before"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$work/prefix
start_display
wine=$(wine_loader)
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w

# run PROGRAM ARGS...: runs a Windows program and waits until every process it started
# has ended (the uninstaller goes on in a copy of itself); gives the program's status.
run() {
  "$wine" "$@" >/dev/null 2>&1
  local status=$?
  wineserver -w
  return $status
}

key16='HKCU\Software\Corel\CorelDRAW\16.0\Draw'
key17='HKCU\Software\Corel\CorelDRAW\17.0\Draw\Application Preferences\VBA'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotgate'
# The values end in four characters that are dropped: an extension, and "GMS\".
run reg add "$key16" /v LastWorkspaceUsed /t REG_SZ /d "$(windows "$work/X6").cdws" /f
run reg add "$key17" /v LastGMSFolder /t REG_SZ /d "$(windows "$work/X7")\\GMS\\" /f

profile=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData | grep -v /Public/ | head -n 1)
dir=$profile/Local/Programs/Plotgate
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Plotgate.lnk"
# The user's own data beside the program folder.
mkdir -p "$profile/Local/Other"
printf 'keep me' >"$profile/Local/Other/data.txt"

# value NAME: the data of one value of the uninstall entry, "" when missing.
value() {
  "$wine" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
# toolbar_count: how many button definitions the version 16 workspace holds.
toolbar_count() { grep -c 'itemData guid="90c7038a-be16-44b5-8db5-c2745b70be66"' "$work/X6/DRAWUIConfig.xml"; }

run "$setup" /S
check "install succeeds" [ $? -eq 0 ]
for f in Plotgate.exe VornUSBSend.exe X7.wz README.txt Uninstall.exe; do
  check "install puts $f into the user's programs folder" [ -f "$dir/$f" ]
done
check "install takes the programs of the build" cmp -s "$dir/Plotgate.exe" "$build/app/Plotgate.exe"
check "install takes the X7.wz of the build" cmp -s "$dir/X7.wz" "$build/resources/x7/X7.wz"
check "install brings no VornLib.dll" [ ! -e "$dir/VornLib.dll" ]
check "install writes no settings file" [ ! -e "$dir/Plotgate.ini" ]
check "install makes the Start-menu shortcut" [ -f "$shortcut" ]
check "uninstall entry: name" [ "$(value DisplayName)" = "Plotgate" ]
check "uninstall entry: version" [ "$(value DisplayVersion)" = "1.0.0.1" ]
check "uninstall entry: publisher" [ "$(value Publisher)" = "Meridal" ]
check "uninstall entry: command" [ "$(value UninstallString)" = "\"$(value InstallLocation)\\Uninstall.exe\"" ]
check "uninstall entry: icon" [ "$(value DisplayIcon)" = "$(value InstallLocation)\\Plotgate.exe,0" ]
check "uninstall entry: size" [ "$(($(value EstimatedSize)))" -gt 100 ]
check "version 16 workspace gets the toolbar once" [ "$(toolbar_count)" -eq 1 ]
check "version 16 workspace gets the command bar" \
  grep -q 'commandBar guidRef="cce012b7-e5ab-44d8-a452-db398ff869a7"' "$work/X6/DRAWUIConfig.xml"
check "version 17 workspace is X7.wz" cmp -s "$work/X7/Workspace/_default.cdws" "$dir/X7.wz"
check "version 17 user's workspace kept as _default.bak" \
  cmp -s "$work/X7/Workspace/_default.bak" "$work/X7.before/Workspace/_default.cdws"

# The user's choices, as the dialog writes them.
printf '[Device]\r\nType=3\r\nPort=2\r\n' >"$dir/Plotgate.ini"
cp "$dir/Plotgate.ini" "$work/ini.before"
cp -a "$work/X6" "$work/X6.installed"
cp -a "$work/X7" "$work/X7.installed"
run "$setup" /S
check "second install succeeds" [ $? -eq 0 ]
check "second install keeps the user's Plotgate.ini" cmp -s "$dir/Plotgate.ini" "$work/ini.before"
check "second install leaves the version 16 workspace as it was" diff -rq "$work/X6" "$work/X6.installed"
check "second install leaves the version 17 workspaces as they were" diff -rq "$work/X7" "$work/X7.installed"

run "$dir/Uninstall.exe" /S
check "uninstall succeeds" [ $? -eq 0 ]
check "uninstall gives the version 16 workspace back byte for byte" diff -rq "$work/X6" "$work/X6.before"
check "uninstall gives the version 17 workspace back and leaves no backup" diff -rq "$work/X7" "$work/X7.before"
check "uninstall removes the program folder" [ ! -e "$dir" ]
check "uninstall removes the shortcut" [ ! -e "$shortcut" ]
check "uninstall removes the entry" [ -z "$(value DisplayName)" ]
check "uninstall leaves the user's data" grep -qx 'keep me' "$profile/Local/Other/data.txt"
check "uninstall leaves the user's drawings" grep -qx 'a drawing' "$work/My Files/sign.cdr"
check "uninstall leaves the programs folder itself" [ -d "$profile/Local/Programs" ]

finish

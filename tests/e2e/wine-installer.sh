#!/usr/bin/env bash
# The installer of the build under Wine, in a throw-away prefix: CorelDRAW's keys for
# versions 14, 16, 17 and 20 added with `wine reg add`, the workspace files of 16 and 17
# laid out, then a silent install, a second silent install over it, and a silent
# uninstall. The install gives the workspaces the toolbar, puts the macro project into each
# version's GMS folder and writes the Path value the macro reads; the uninstall gives the
# workspaces back byte for byte and leaves nothing of its own behind, nor touches the
# user's other files. Then the same from an unpacked folder with /RegCorelWorkSpace and
# /UnRegCorelWorkSpace, and an ordinary start, which writes nothing to the registry.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target installer dialog-driver >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
build=$root/build/$preset
setup=$(ls "$build"/installer/Plotgate-*-setup.exe)
work=$(mktemp -d /tmp/plotgate-e2e-installer.XXXXXX)
mkdir -p "$work/X6" "$work/X7/Workspace" "$work/X7/GMS" "$work/My Files"
printf '%s' "$EMPTY_WORKSPACE" >"$work/X6/DRAWUIConfig.xml"
printf 'users own workspace' >"$work/X7/Workspace/_default.cdws"
printf 'users own macros' >"$work/X7/GMS/Other.gms"
printf 'a drawing' >"$work/My Files/sign.cdr"
cp examples/star.plt "$work/My Files/star job.plt"
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
without_window_manager "$wine"

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
plotgate_key='HKCU\Software\Meridal\Plotgate'
# The values end in four characters that are dropped: an extension, and "GMS\".
run reg add "$key16" /v LastWorkspaceUsed /t REG_SZ /d "$(windows "$work/X6").cdws" /f
run reg add "$key17" /v LastGMSFolder /t REG_SZ /d "$(windows "$work/X7")\\GMS\\" /f
# Versions 14 and 20: their keys alone.
run reg add 'HKCU\Software\Corel\CorelDRAW\14.0' /f
run reg add 'HKCU\Software\Corel\CorelDRAW\20.0' /f

profile=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData | grep -v /Public/ | head -n 1)
dir=$profile/Local/Programs/Plotgate
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Plotgate.lnk"
# The user's own data beside the program folder.
mkdir -p "$profile/Local/Other"
printf 'keep me' >"$profile/Local/Other/data.txt"
# The GMS folders: 14 and 20 at their known places, 16 at its default (its workspace value
# names no "Workspace" folder), 17 where its value says. The user's own macros beside
# ours in 20, and a project of our name in 17's default folder, which its value overrides.
suites="$profile/Roaming/Corel/CorelDRAW Graphics Suite"
copies=("$suites X4/User Draw/GMS/MeridalVorn.gms" "$suites X6/Draw/GMS/MeridalVorn.gms"
  "$work/X7/GMS/MeridalVorn.gms" "$suites 2018/Draw/GMS/MeridalVorn.gms")
mkdir -p "$suites 2018/Draw/GMS" "$suites X7/Draw/GMS"
printf 'users own macros' >"$suites 2018/Draw/GMS/Other.gms"
printf 'users own copy' >"$suites X7/Draw/GMS/MeridalVorn.gms"

driver() { "$wine" "$build/tools/dialogdriver/dialog-driver.exe" "$@" >/dev/null 2>&1; }
# registry KEY NAME: the data of one value, "" when missing.
registry() {
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
# value NAME: the data of one value of the uninstall entry.
value() { registry "$uninstall_key" "$1"; }
# macro_installed: the build's project in each GMS folder.
macro_installed() {
  local copy
  for copy in "${copies[@]}"; do cmp -s "$copy" "$build/installer/programs/MeridalVorn.gms" || return 1; done
}
# macro_removed: none of our copies left, the user's own files all there, and no key of ours.
macro_removed() {
  local copy
  for copy in "${copies[@]}"; do [ ! -e "$copy" ] || return 1; done
  grep -qx 'users own macros' "$suites 2018/Draw/GMS/Other.gms" &&
    grep -qx 'users own macros' "$work/X7/GMS/Other.gms" &&
    grep -qx 'users own copy' "$suites X7/Draw/GMS/MeridalVorn.gms" &&
    ! "$wine" reg query 'HKCU\Software\Meridal' >/dev/null 2>&1
}
# toolbar_count: how many button definitions the version 16 workspace holds.
toolbar_count() { grep -c 'itemData guid="90c7038a-be16-44b5-8db5-c2745b70be66"' "$work/X6/DRAWUIConfig.xml"; }

run "$setup" /S
check "install succeeds" [ $? -eq 0 ]
for f in Plotgate.exe VornUSBSend.exe X7.wz MeridalVorn.gms Ver001.bas "Plotgate readme.txt" "Uninstall Plotgate.exe"; do
  check "install puts $f into the user's programs folder" [ -f "$dir/$f" ]
done
check "install takes the programs of the build" cmp -s "$dir/Plotgate.exe" "$build/app/Plotgate.exe"
check "install takes the X7.wz of the build" cmp -s "$dir/X7.wz" "$build/resources/x7/X7.wz"
check "install takes the macro project and its source of the build" \
  cmp -s "$dir/Ver001.bas" "$build/installer/programs/Ver001.bas"
check "install brings no VornLib.dll" [ ! -e "$dir/VornLib.dll" ]
check "install writes no settings file" [ ! -e "$dir/Plotgate.ini" ]
check "install makes the Start-menu shortcut" [ -f "$shortcut" ]
check "uninstall entry: name" [ "$(value DisplayName)" = "Plotgate" ]
check "uninstall entry: version" [ "$(value DisplayVersion)" = "1.0.0.1" ]
check "uninstall entry: publisher" [ "$(value Publisher)" = "Meridal" ]
check "uninstall entry: command" [ "$(value UninstallString)" = "\"$(value InstallLocation)\\Uninstall Plotgate.exe\"" ]
check "uninstall entry: icon" [ "$(value DisplayIcon)" = "$(value InstallLocation)\\Plotgate.exe,0" ]
check "uninstall entry: size" [ "$(($(value EstimatedSize)))" -gt 100 ]
check "version 16 workspace gets the toolbar once" [ "$(toolbar_count)" -eq 1 ]
check "version 16 workspace gets the command bar" \
  grep -q 'commandBar guidRef="cce012b7-e5ab-44d8-a452-db398ff869a7"' "$work/X6/DRAWUIConfig.xml"
check "version 17 workspace is X7.wz" cmp -s "$work/X7/Workspace/_default.cdws" "$dir/X7.wz"
check "version 17 user's workspace kept as _default.bak" \
  cmp -s "$work/X7/Workspace/_default.bak" "$work/X7.before/Workspace/_default.cdws"
check "install puts the macro project into the GMS folders of 14, 16, 17 and 20" macro_installed
check "install writes Path: the installed Plotgate.exe" \
  [ "$(registry "$plotgate_key" Path)" = "$(value InstallLocation)\Plotgate.exe" ]
check "install leaves the user's project in a folder it does not use" \
  grep -qx 'users own copy' "$suites X7/Draw/GMS/MeridalVorn.gms"

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
check "second install: the macro project still in every GMS folder" macro_installed

# The macro's record of an export under way, emptied when the export ended, goes too.
run reg add "$plotgate_key" /v ExportState /t REG_SZ /d "" /f
run "$dir/Uninstall Plotgate.exe" /S
check "uninstall succeeds" [ $? -eq 0 ]
check "uninstall gives the version 16 workspace back byte for byte" diff -rq "$work/X6" "$work/X6.before"
check "uninstall gives the version 17 workspace back and leaves no backup" diff -rq "$work/X7" "$work/X7.before"
check "uninstall deletes its copies of the macro project, the user's files stay, no key left" macro_removed
check "uninstall removes the program folder" [ ! -e "$dir" ]
check "uninstall removes the shortcut" [ ! -e "$shortcut" ]
check "uninstall removes the entry" [ -z "$(value DisplayName)" ]
check "uninstall leaves the user's data" grep -qx 'keep me' "$profile/Local/Other/data.txt"
check "uninstall leaves the user's drawings" grep -qx 'a drawing' "$work/My Files/sign.cdr"
check "uninstall leaves the programs folder itself" [ -d "$profile/Local/Programs" ]

# Plotgate.exe running through the uninstall. The file stays, and so do its record, the
# entry and the uninstaller, and the uninstaller's status says so: once the program is
# closed, a silent install into the folder goes on.
# (Catches an uninstall that drops the record of a file it could not delete, after which
# every install refuses the leftover Plotgate.exe as another program's.) The uninstaller
# runs in place ("_?="), the one way to wait for its status, so it stays where it is.
run "$setup" /S
"$wine" "$dir/Plotgate.exe" "$(windows "$work/My Files/star job.plt")" >/dev/null 2>&1 &
app=$!
driver wait Harbex 60
"$wine" "$(value InstallLocation)\\Uninstall Plotgate.exe" /S "_?=$(value InstallLocation)" >/dev/null 2>&1
check "uninstall while Plotgate.exe runs: the status says files were left" [ $? -eq 3 ]
check "uninstall while Plotgate.exe runs: the program stays, the other files go" \
  [ "$(cd "$dir" && ls | tr '\n' '/')" = "Plotgate.exe/Uninstall Plotgate.exe/" ]
check "uninstall while Plotgate.exe runs: the entry stays" [ "$(value DisplayName)" = "Plotgate" ]
check "uninstall while Plotgate.exe runs: the program stays recorded, the deleted files do not" \
  eval '[ "$(registry "$uninstall_key\\Files" Plotgate.exe)" = 0x1 ] && [ -z "$(registry "$uninstall_key\\Files" X7.wz)" ]'
driver close Harbex
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
wineserver -w
run "$setup" /S
check "install after an uninstall that left Plotgate.exe: succeeds" [ $? -eq 0 ]
check "install after an uninstall that left Plotgate.exe: the programs of the build" \
  cmp -s "$dir/VornUSBSend.exe" "$build/installer/programs/VornUSBSend.exe"
# X7.wz held without sharing, as a virus scanner can, through an uninstall from its
# window: the message names the file and the reason. (Catches an uninstall that leaves
# files without a word, and one that blames the running program for a scanner's hold.)
: >"$work/hold.out"
"$wine" "$build/tools/dialogdriver/dialog-driver.exe" hold "$(windows "$dir/X7.wz")" 120 >"$work/hold.out" 2>/dev/null &
holder=$!
for _ in $(seq 600); do grep -q held "$work/hold.out" && break; sleep 0.05; done
"$wine" "$dir/Uninstall Plotgate.exe" >/dev/null 2>&1 &
driver wait "Plotgate Uninstall: Confirmation" 60
driver click "Plotgate Uninstall: Confirmation" 1
said=$("$wine" "$build/tools/dialogdriver/dialog-driver.exe" message "Plotgate Uninstall" 60 2>/dev/null | tr -d '\r')
check "a held X7.wz: the message names it and the reason" \
  grep -qx 'X7.wz: in use by another program, such as a virus scanner' <<<"$said"
check "a held X7.wz: the message names no file that went" bash -c '! grep -q "Plotgate.exe:" <<<"$0"' "$said"
driver wait "Plotgate Uninstall: Completed" 60
driver click "Plotgate Uninstall: Completed" 1
kill "$holder" 2>/dev/null
wineserver -w
check "a held X7.wz: it stays, the rest goes" [ "$(cd "$dir" && ls | tr '\n' '/')" = "Uninstall Plotgate.exe/X7.wz/" ]
run "$dir/Uninstall Plotgate.exe" /S
check "uninstall once nothing holds a file: the folder and the entry go" \
  eval '[ ! -e "$dir" ] && [ -z "$(value DisplayName)" ]'

# A second folder has its own entry and record: uninstalling the first leaves the second
# whole, with the CorelDRAW macro that now runs it, and uninstalling the second takes the
# rest. (Catches one record and entry for all folders, where the first's uninstall took the
# entry of the second, or the second's record vouched for files in the first.)
second="$work/Second"
second_key="$uninstall_key 2"
run "$setup" /S
run "$setup" /S "/D=$(windows "$second")"
check "a second folder: install succeeds" [ $? -eq 0 ]
check "a second folder: an entry of its own that names the folder" \
  [ "$(registry "$second_key" DisplayName)" = "Plotgate ($(windows "$second"))" ]
check "a second folder: the first entry still names the first folder" \
  eval '[ -n "$(value InstallLocation)" ] && [ "$(value InstallLocation)" != "$(windows "$second")" ]'
run "$dir/Uninstall Plotgate.exe" /S
check "a second folder: uninstalling the first removes it and its entry" \
  eval '[ ! -e "$dir" ] && [ -z "$(value DisplayName)" ]'
check "a second folder: uninstalling the first leaves the second's files and entry" \
  eval '[ -f "$second/Plotgate.exe" ] && [ -f "$second/Uninstall Plotgate.exe" ] &&
    [ "$(registry "$second_key" InstallLocation)" = "$(windows "$second")" ]'
check "a second folder: the macro still runs the second's program" \
  eval 'macro_installed && [ "$(registry "$plotgate_key" Path)" = "$(windows "$second")\\Plotgate.exe" ]'
run "$second/Uninstall Plotgate.exe" /S
check "a second folder: its uninstall takes the rest" \
  eval '[ ! -e "$second" ] && [ -z "$(registry "$second_key" DisplayName)" ] && macro_removed'

# A folder shared with other programs: their readme, uninstaller and data stay through the
# install and the uninstall; our files come and go, and the folder stays with theirs.
shared="$work/Tools"
mkdir -p "$shared"
printf 'their readme' >"$shared/README.txt"
printf 'their uninstaller' >"$shared/Uninstall.exe"
printf 'their data' >"$shared/data.txt"
cp -a "$shared" "$work/Tools.before"
run "$setup" /S "/D=$(windows "$shared")"
check "shared folder: install succeeds" [ $? -eq 0 ]
check "shared folder: our readme under a name of our own" [ -s "$shared/Plotgate readme.txt" ]
check "shared folder: their files untouched by the install" \
  bash -c 'for f in README.txt Uninstall.exe data.txt; do cmp -s "$0/$f" "$1/$f" || exit 1; done' "$shared" "$work/Tools.before"
run "$shared/Uninstall Plotgate.exe" /S
check "shared folder: uninstall leaves exactly their files" diff -r "$shared" "$work/Tools.before"
# A file of our name that we did not put there: the install stops before writing anything.
printf 'their program' >"$shared/Plotgate.exe"
run "$setup" /S "/D=$(windows "$shared")"
check "a foreign Plotgate.exe: the install fails" [ $? -ne 0 ]
check "a foreign Plotgate.exe: kept" grep -qx 'their program' "$shared/Plotgate.exe"
check "a foreign Plotgate.exe: nothing else written" [ ! -e "$shared/VornUSBSend.exe" ]
check "a foreign Plotgate.exe: no uninstall entry" [ -z "$(value DisplayName)" ]
rm "$shared/Plotgate.exe"
run reg delete 'HKCU\Software\Meridal' /f
# The same name with the bytes the install brings (an uninstall of an older version that
# lost its record left it): ours, taken back, and deleted by the next uninstall.
cp "$build/app/Plotgate.exe" "$shared/Plotgate.exe"
run "$setup" /S "/D=$(windows "$shared")"
check "our own Plotgate.exe, unrecorded: the install takes it back" [ $? -eq 0 ]
run "$shared/Uninstall Plotgate.exe" /S
check "our own Plotgate.exe, unrecorded: the uninstall leaves exactly their files" diff -r "$shared" "$work/Tools.before"
run reg delete 'HKCU\Software\Meridal' /f

# An upgrade of an install made before files were recorded: its uninstall entry names the
# folder and no file is recorded. Its programs are taken over; its readme and uninstaller,
# names that other programs use too, are left; the new uninstaller removes only ours.
older="$work/Older Plotgate"
mkdir -p "$older"
for f in Plotgate.exe VornUSBSend.exe X7.wz MeridalVorn.gms Ver001.bas README.txt Uninstall.exe; do
  printf 'older %s' "$f" >"$older/$f"
done
run reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotgate' /v InstallLocation /t REG_SZ \
  /d "$(windows "$older")" /f
run "$setup" /S "/D=$(windows "$older")"
check "upgrade of an unrecorded install: succeeds" [ $? -eq 0 ]
check "upgrade of an unrecorded install: the programs replaced" cmp -s "$older/Plotgate.exe" "$build/app/Plotgate.exe"
run "$older/Uninstall Plotgate.exe" /S
check "upgrade of an unrecorded install: uninstall leaves only the old readme and uninstaller" \
  [ "$(cd "$older" && ls | tr '\n' '/')" = "README.txt/Uninstall.exe/" ]
run reg delete 'HKCU\Software\Meridal' /f

# Unpacked into a folder with a space in its name, as from the portable zip.
portable="$work/Portable Plotgate"
mkdir -p "$portable"
cp "$build/installer/programs/"{Plotgate.exe,X7.wz,MeridalVorn.gms} "$portable/"
# An ordinary start on a drawing: the dialog opens, and nothing is written to the registry.
"$wine" "$portable/Plotgate.exe" "$(windows "$work/My Files/star job.plt")" >/dev/null 2>&1 &
app=$!
check "an ordinary start opens the dialog" driver wait Harbex 60
check "an ordinary start writes nothing under HKCU\Software\Meridal" \
  bash -c '! "$0" reg query "HKCU\Software\Meridal" >/dev/null 2>&1' "$wine"
driver close Harbex
for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
check "the closed dialog ends the program" bash -c '! kill -0 "$0" 2>/dev/null' "$app"
wineserver -w
check "an ordinary start puts no macro project anywhere" macro_removed

run "$portable/Plotgate.exe" /RegCorelWorkSpace
check "/RegCorelWorkSpace puts the macro project into the GMS folders of 14, 16, 17 and 20" macro_installed
check "/RegCorelWorkSpace writes Path: the unpacked Plotgate.exe" \
  [ "$(registry "$plotgate_key" Path)" = "$(windows "$portable/Plotgate.exe")" ]
run "$portable/Plotgate.exe" /UnRegCorelWorkSpace
check "/UnRegCorelWorkSpace deletes its copies, the user's files stay, no key left" macro_removed
check "/UnRegCorelWorkSpace gives the workspaces back" \
  bash -c 'diff -rq "$0/X6" "$0/X6.before" && diff -rq "$0/X7" "$0/X7.before"' "$work"

finish

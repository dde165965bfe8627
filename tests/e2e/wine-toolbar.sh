#!/usr/bin/env bash
# plotgate-cli.exe toolbar add|remove --registry under Wine: CorelDRAW's per-user values,
# added with `wine reg add` under HKCU, name a version 16 workspace file (edited) and a
# version 17 macro folder (workspace file swapped for "X7.wz" beside the program). Uses
# $WINEPREFIX when it exists, else a throw-away prefix of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >/dev/null; } || { echo "0 passed, 1 failed"; exit 1; }
work=$(mktemp -d /tmp/plotgate-e2e-toolbar.XXXXXX)
mkdir -p "$work/bin" "$work/X6" "$work/X7/Workspace"
cp "$root/build/$preset/cli/plotgate-cli.exe" "$work/bin/"
printf 'prepared workspace' >"$work/bin/X7.wz"
printf 'users own workspace' >"$work/X7/Workspace/_default.cdws"
original=$EMPTY_WORKSPACE
printf '%s' "$original" >"$work/X6/DRAWUIConfig.xml"

use_prefix "$work"
key16='HKCU\Software\Corel\CorelDRAW\16.0\Draw'
key17='HKCU\Software\Corel\CorelDRAW\17.0\Draw\Application Preferences\VBA'
cleanup() {
  wine reg delete 'HKCU\Software\Corel' /f >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

# The values end in four characters that are dropped: an extension, and "GMS\".
wine reg add "$key16" /v LastWorkspaceUsed /t REG_SZ /d "$(windows "$work/X6").cdws" /f >/dev/null 2>&1
wine reg add "$key17" /v LastGMSFolder /t REG_SZ /d "$(windows "$work/X7")\\GMS\\" /f >/dev/null 2>&1

wine "$work/bin/plotgate-cli.exe" toolbar add --registry >"$work/out" 2>&1
check "add succeeds" [ $? -eq 0 ]
# A line for each workspace the registry names, with what was done to it.
# (The value names "X6.cdws": four characters off leave "X6.", which Windows takes as X6.)
x6_file="$(windows "$work/X6").\\DRAWUIConfig.xml"
x7_file="$(windows "$work/X7")\\Workspace\\_default.cdws"
check "add says what it did to each workspace" \
  [ "$(tr -d '\r' <"$work/out")" = "$x6_file: added"$'\n'"$x7_file: added" ]
check "version 16 gets the button" grep -q 'itemData guid="90c7038a-be16-44b5-8db5-c2745b70be66"' "$work/X6/DRAWUIConfig.xml"
check "version 16 gets the command bar" grep -q 'commandBar guidRef="cce012b7-e5ab-44d8-a452-db398ff869a7"' "$work/X6/DRAWUIConfig.xml"
check "version 17 workspace swapped" grep -qx 'prepared workspace' "$work/X7/Workspace/_default.cdws"
check "version 17 backup kept" grep -qx 'users own workspace' "$work/X7/Workspace/_default.bak"

wine "$work/bin/plotgate-cli.exe" toolbar add --registry >"$work/out" 2>&1
check "adding again says so" [ "$(tr -d '\r' <"$work/out")" = "$x6_file: already there"$'\n'"$x7_file: already there" ]
check "adding again adds nothing" [ "$(grep -c 'guid="90c7038a' "$work/X6/DRAWUIConfig.xml")" -eq 1 ]
check "adding again keeps the first backup" grep -qx 'users own workspace' "$work/X7/Workspace/_default.bak"

wine "$work/bin/plotgate-cli.exe" toolbar remove --registry >"$work/out" 2>&1
check "remove says what it did" [ "$(tr -d '\r' <"$work/out")" = "$x6_file: removed"$'\n'"$x7_file: removed" ]
check "remove restores the version 16 file" [ "$(cat "$work/X6/DRAWUIConfig.xml")" = "$original" ]
check "remove puts the user's workspace back" grep -qx 'users own workspace' "$work/X7/Workspace/_default.cdws"
check "remove leaves no backup" [ ! -e "$work/X7/Workspace/_default.bak" ]

# Removing again, with no backup to put back: the user's own workspace stays.
wine "$work/bin/plotgate-cli.exe" toolbar remove --registry >"$work/out" 2>&1
check "removing again says so" [ "$(tr -d '\r' <"$work/out")" = "$x6_file: nothing to remove"$'\n'"$x7_file: nothing to remove" ]
check "removing again keeps the user's workspace" grep -qx 'users own workspace' "$work/X7/Workspace/_default.cdws"

# A registered file that is no workspace: the reason, exit 1, the file left as it was, and
# the other workspace still edited.
printf 'just some words' >"$work/X6/DRAWUIConfig.xml"
wine "$work/bin/plotgate-cli.exe" toolbar add --registry >"$work/out" 2>&1
check "no workspace: exit 1" [ $? -eq 1 ]
check "no workspace: says why" grep -q "cannot edit the workspace file .*DRAWUIConfig.xml: it is not a CorelDRAW workspace" "$work/out"
check "no workspace: left as it was" [ "$(cat "$work/X6/DRAWUIConfig.xml")" = "just some words" ]
check "no workspace: the other still edited" grep -q "_default.cdws: added" "$work/out"
wine "$work/bin/plotgate-cli.exe" toolbar remove --registry >/dev/null 2>&1


# Named files: a line for what was done to each, and the reason for a file that is not a
# workspace (exit 1, the file left as it was).
printf '%s' "$original" >"$work/named.xml"
printf 'just some words' >"$work/notes.txt"
wine "$work/bin/plotgate-cli.exe" toolbar add "$(windows "$work/named.xml")" >"$work/out" 2>&1
check "a named file: add succeeds" [ $? -eq 0 ]
check "a named file: add says added" grep -q "named.xml: added" "$work/out"
wine "$work/bin/plotgate-cli.exe" toolbar add "$(windows "$work/named.xml")" >"$work/out" 2>&1
check "a named file: adding again says already there" grep -q "named.xml: already there" "$work/out"
wine "$work/bin/plotgate-cli.exe" toolbar remove "$(windows "$work/notes.txt")" >"$work/out" 2>&1
check "not a workspace: exit 1" [ $? -eq 1 ]
check "not a workspace: says why" grep -q "cannot edit the workspace file .*notes.txt: it is not well-formed XML" "$work/out"
check "not a workspace: left as it was" [ "$(cat "$work/notes.txt")" = "just some words" ]
finish

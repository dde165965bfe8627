#!/usr/bin/env bash
# The CorelDRAW export macro's own source (corel/macro/Ver001.bas less its Attribute lines)
# run by Wine's script host against the model of CorelDRAW's object model in
# tests/corel/macro: each drawing's report (messages, unit, speed settings, undo steps,
# copies, the user's shapes) and exchange file are compared with the expected ones, worked
# out by hand in 1/40 mm; the toolbar macros' messages and toolbars likewise. Plotgate is found through the registry value the installer writes: first a
# stand-in that records how it was started, in a folder with a space, then the real
# Plotgate.exe, which opens on the exported drawing and shows its size.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset native >/dev/null && cmake --build --preset native --target plotgate >/dev/null &&
  cmake --preset "$preset" >/dev/null &&
  cmake --build --preset "$preset" --target Plotgate dialog-driver command-line-recorder >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
build=$root/build/$preset
work=$(mktemp -d /tmp/plotgate-e2e-macro.XXXXXX)
mkdir -p "$work/Stand In" "$work/Plotgate Folder"
cp "$build/tools/commandlinerecorder/command-line-recorder.exe" "$work/Stand In/Plotgate.exe"
cp "$build/app/Plotgate.exe" "$work/Plotgate Folder/"
cp "$build/tools/dialogdriver/dialog-driver.exe" "$work/"

use_wine "$work"
key='HKCU\Software\Meridal\Plotgate'
cleanup() {
  "$wine" "$work/dialog-driver.exe" close Harbex >/dev/null 2>&1
  "$wine" reg delete "$key" /f >/dev/null 2>&1
  [ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
driver() { "$wine" "$work/dialog-driver.exe" "$@" 2>/dev/null | tr -d '\r'; }
register() { "$wine" reg add "$key" /v Path /t REG_SZ /d "$1" /f >/dev/null 2>&1; }

# The macro exactly as it ships, but for the lines the script host does not take.
grep -v '^Attribute ' corel/macro/Ver001.bas >"$work/macro.vbs"
check "only Attribute lines are left out of the macro" \
  [ "$(($(wc -l <corel/macro/Ver001.bas) - $(wc -l <"$work/macro.vbs")))" -eq "$(grep -c '^Attribute ' corel/macro/Ver001.bas)" ]
cat tests/corel/macro/ObjectModel.vbs tests/corel/macro/MacroCases.vbs >>"$work/macro.vbs"

# The host's globals that the macro names are among those the stand-in declares for itself
# (whatever else of the host it reaches, it reaches through their members), so that what
# only a real CorelDRAW can confirm does not grow unseen.
host_names=$(sed -n "/^' What the host gives the macro\.\$/{n;s/^Dim //;s/, /\n/g;p;}" tests/corel/macro/ObjectModel.vbs | LC_ALL=C sort)
macro_names=$(/usr/bin/python3 tests/e2e/macro_host_names.py corel/macro/Ver001.bas | LC_ALL=C sort)
only_declared_host_names() {
  [ -n "$macro_names" ] && [ -z "$(LC_ALL=C comm -23 <(echo "$macro_names") <(echo "$host_names"))" ]
}
check "the macro names no host global but the stand-in's" only_declared_host_names ||
  echo "host globals the macro names: $macro_names"

# run_case NAME: the macro on drawing NAME; its report in $work/NAME.out. Waits until every
# program it started has ended.
run_case() {
  "$wine" cscript //nologo "$(windows "$work/macro.vbs")" "$1" 2>/dev/null | tr -d '\r' >"$work/$1.out"
  wineserver -w
}
# expect NAME [LABEL]: the last report of drawing NAME is standard input (a blank line
# closes it); LABEL names the check when NAME alone does not.
expect() {
  cat >"$work/$1.expected"
  check "${2:-$1}: report and exchange file" diff -u "$work/$1.expected" "$work/$1.out"
}
# Every export switches the speed settings and puts them back, then redraws.
SETTINGS='settings: optimization False (set to True False), events True (set to False True), refreshed 1, preserve selection True (set to False True)'
# An export read without copies leaves the drawing untouched; one with copies makes one
# undo step and deletes them all.
REPORT="unit: 1 (set to 3 1)
$SETTINGS
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:"
COPIES_REPORT="unit: 1 (set to 3 1)
$SETTINGS
undo steps: 1 begun, 1 ended (Plotgate export), modified True
copies left:
shapes changed:"
started() { [ -f "$work/Stand In/command-line.txt" ]; }
not_started() { ! started; }

register "$(windows "$work/Stand In/Plotgate.exe")"

# Open subpaths, closed ones with and without their closing segment, an empty one, and an
# earlier, longer exchange file replaced.
run_case lines
expect lines <<EOF
$REPORT
exchange file:
IN;SP1;
PU400,800;
PD1220,800;
PD1220,1810;
PU0,0;
PD2000,0;
PD2000,2000;
PD0,0;
PU-200,494;
PD200,494;
PD200,800;
PD-200,494;
SP0;

EOF
# The stand-in was started with both paths quoted: its own, and the file just written.
check "Plotgate is started with the exchange file" started
command_line=$(cat "$work/Stand In/command-line.txt" 2>/dev/null)
program=${command_line%% \"*}
job=${command_line#\"*\" \"}
job=${job%\"}
check "the program's path is quoted whole" [ "$program" = "\"$(windows "$work/Stand In/Plotgate.exe")\"" ]
check "the exchange file's path is quoted whole, after it" \
  [ "$command_line" = "$program \"$job\"" ] && [[ "$job" == *'\MeridalCut.plt' ]]
check "the file named is the one the macro wrote" \
  cmp -s <(sed -n '/^exchange file:$/,$p' "$work/lines.out" | sed '1d;$d') \
  <(tr -d '\r' <"$("$wine" winepath -u "$job" 2>/dev/null)")

# Groups depth first, converted copies, bitmap left out without asking (it is never cut),
# guideline skipped, PowerClips after their holders; the drawing left as it was.
run_case shapes
expect shapes <<EOF
$COPIES_REPORT
exchange file:
IN;SP1;
PU0,0;
BZ400,0,800,400,800,800;
PD0,800;
PU4000,2000;
BZ4000,3104,3104,4000,2000,4000;
PD4000,2000;
PU40,40;
PD80,40;
PD80,120;
PD40,40;
PU200,200;
PD240,240;
PU0,0;
PD4000,0;
PD4000,2400;
PD0,2400;
PD0,0;
PU400,400;
PD800,400;
SP0;

EOF

# The selection, in the order it was made, and nothing else of the page; a selected shape
# on a hidden layer too.
run_case selection
expect selection <<EOF
$REPORT
selected: third first
exchange file:
IN;SP1;
PU0,0;
PD120,0;
PU0,0;
PD40,0;
SP0;

EOF

# A document already in millimetres is left in them.
run_case millimetres
expect millimetres <<EOF
unit: 3 (set to 3 3)
$SETTINGS
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:
selected: third first
exchange file:
IN;SP1;
PU0,0;
PD120,0;
PU0,0;
PD40,0;
SP0;

EOF

# Nothing selected: the first layer and the one whose state cannot be read, not the
# hidden, non-printable, guides and desktop layers; of the master layers the visible,
# printable one too; in a CorelDRAW without EventsEnabled, which is left alone. Without
# AllLayers, the page's own layers, not a failure.
LAYERS_REPORT="unit: 1 (set to 3 1)
settings: optimization False (set to True False), events True (set to), refreshed 1, preserve selection True (set to False True)
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:
exchange file:
IN;SP1;
PU0,0;
PD40,0;
PU0,0;
PD240,0;"
run_case layers
expect layers <<EOF
$LAYERS_REPORT
PU0,0;
PD280,0;
SP0;

EOF
run_case layers-older
expect layers-older <<EOF
$LAYERS_REPORT
SP0;

EOF

# A shape whose conversion fails is left out after asking, the rest is cut.
run_case failure
expect failure <<EOF
message (Plotgate, 49): Plotgate cannot cut 1 object of the drawing: 1 ellipse. Cut the rest?
$COPIES_REPORT
exchange file:
IN;SP1;
PU0,0;
PD40,40;
SP0;

EOF

# A sign maker's drawing where CorelDRAW has no DisplayCurve: the contour's conversion is
# walked as a group; the symbol (conversion fails), the ellipse on a locked layer (no
# copy), the OLE object, drop shadow and bitmap are left out, by kind.
run_case mixed
expect mixed <<EOF
message (Plotgate, 49): Plotgate cannot cut 5 objects of the drawing: 1 symbol, 1 OLE object, 1 drop shadow, 1 bitmap, 1 ellipse. Cut the rest?
$COPIES_REPORT
exchange file:
IN;SP1;
PU0,0;
PD400,0;
PU0,400;
PD400,400;
PU0,800;
PD400,800;
SP0;

EOF
# The same with DisplayCurve: contour, symbol and locked ellipse read as displayed, no
# copy made, the drawing not changed at all; what is left out is never cut, so nothing is
# asked.
run_case mixed-displayed
expect mixed-displayed <<EOF
$REPORT
exchange file:
IN;SP1;
PU0,0;
PD400,0;
PU800,0;
PD1200,0;
PD800,400;
PD800,0;
PU1600,0;
PD2000,0;
PU2400,0;
PD2800,0;
SP0;

EOF

# A print-and-cut sheet at 1:10, all selected: the enveloped curve cut as displayed, the
# fitted text but not the invisible path under it, the perfect shape displayed as an empty
# curve cut through its copy, the photo and the dimension neither cut nor asked about, the
# invisible PowerClip frame's contents but not the frame; the selection given back after
# the copy took it, and the scale said before Plotgate starts.
run_case effects
expect effects <<EOF
message (Plotgate, 48): The drawing's scale is 1:10; check the size Plotgate shows before you cut.
$COPIES_REPORT
selected: envelope fitted text text path badge photo dimension frame
exchange file:
IN;SP1;
PU0,0;
PD480,0;
BZ560,160,400,320,240,480;
PD0,0;
PU800,0;
PD1200,0;
PU1600,0;
PD2000,0;
PU3200,1200;
PD3600,1200;
SP0;

EOF

# A run broken off halfway (Ctrl+Break) leaves its settings changed, and the registry
# holding them as they were; the next run puts them back before its own export, which
# switches them and puts them back again, and empties the record.
run_case broken-off
expect broken-off <<EOF
unit: 3 (set to 3)
settings: optimization True (set to True), events False (set to False), refreshed 0, preserve selection False (set to False)
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:
marker: 0;1;1;1;Graphic1
EOF
run_case after-break
expect after-break <<EOF
unit: 1 (set to 1 3 1)
settings: optimization False (set to False True False), events True (set to True False True), refreshed 2, preserve selection True (set to True False True)
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:
exchange file:
IN;SP1;
PU0,0;
PD40,40;
SP0;

marker: 
EOF
# A record that cannot be read is emptied, and changes nothing.
"$wine" reg add "$key" /v ExportState /t REG_SZ /d '1;1;1;inches;Graphic1' /f >/dev/null 2>&1
run_case record-unreadable
expect record-unreadable <<EOF
$REPORT
exchange file:
IN;SP1;
PU0,0;
PD40,40;
SP0;

marker: 
EOF

# The messages, a cancelled question and a failure halfway: no file left, no start.
rm -f "$work/Stand In/command-line.txt"
run_case no-document
expect no-document <<EOF
message (Plotgate, 48): There is no drawing to cut: open or create a document in CorelDRAW first.
copies left:
shapes changed:
no exchange file

EOF
run_case nothing
expect nothing <<EOF
message (Plotgate, 48): There is nothing to cut: select the shapes to cut, or draw them on a visible, printable layer of the active page. Left out: 1 bitmap.
$REPORT
no exchange file

EOF
# An ellipse displayed as an empty curve whose copy does not convert (the copy deleted),
# asked about with the dimension beside it, and Cancel.
run_case cancel
expect cancel <<EOF
message (Plotgate, 49): Plotgate cannot cut 2 objects of the drawing: 1 dimension, 1 ellipse. Cut the rest?
$COPIES_REPORT
no exchange file

EOF
# A converted copy's outline that fails halfway: the copy deleted, the undo step closed,
# unit and speed settings put back.
run_case torn
expect torn <<EOF
message (Plotgate, 48): Plotgate could not export the drawing: the subpath cannot be read
$COPIES_REPORT
no exchange file

EOF
NOT_INSTALLED='message (Plotgate, 48): Plotgate is not installed: run its installer, or run "Plotgate.exe /RegCorelWorkSpace" once in the folder that holds it.
unit: 1 (set to)
settings: optimization False (set to), events True (set to), refreshed 0, preserve selection True (set to)
undo steps: 0 begun, 0 ended (), modified False
copies left:
shapes changed:
selected: third first
no exchange file
'
register "$(windows "$work/Moved Away/Plotgate.exe")"
run_case selection
printf '%s\n' "$NOT_INSTALLED" | expect selection "the program moved away"
"$wine" reg delete "$key" /f >/dev/null 2>&1
run_case selection
printf '%s\n' "$NOT_INSTALLED" | expect selection "no program recorded"
check "no message case starts Plotgate" not_started

# Registration marks: AddMarks makes the printable layer "Plotgate marks" and three marks
# 10 mm outside the corners of what is cut (0 to 120 by 0 to 50 mm, the photo included),
# each a circle of 5 mm and two lines of 10 mm, 0.3 mm wide, grouped and named; run twice
# it keeps three. The export writes their centres as RM commands in 1/40 mm and cuts none
# of them, with and without a selection; four on request; a mark the user drew, unnamed,
# numbered by where it lies; marks around the selection alone.
register "$(windows "$work/Stand In/Plotgate.exe")"
FOURTH='message (Plotgate, 36): Add a fourth mark at the upper right? With four marks Plotgate can tell how well the sheet fits.'
MARK_PARTS='2/0.3/5x5 3/0.3/10x0 3/0.3/0x10'
run_case marks
expect marks <<EOF
layer Plotgate marks, visible True, printable True:
  Plotgate mark 1 at -10,-10: $MARK_PARTS
  Plotgate mark 2 at 130,-10: $MARK_PARTS
  Plotgate mark 3 at -10,60: $MARK_PARTS

$FOURTH
$FOURTH
unit: 1 (set to 3 1 3 1 3 1)
$SETTINGS
undo steps: 2 begun, 2 ended (Plotgate marks), modified True
copies left:
shapes changed:
exchange file:
IN;SP1;
RM1,-400,-400;
RM2,5200,-400;
RM3,-400,2400;
PU0,0;
PD4000,0;
PU0,0;
PD0,2000;
SP0;

EOF
run_case marks-four
expect marks-four <<EOF
layer Plotgate marks, visible True, printable True:
  Plotgate mark 1 at -10,-10: $MARK_PARTS
  Plotgate mark 2 at 130,-10: $MARK_PARTS
   at -10,60: $MARK_PARTS
  Plotgate mark 4 at 130,60: $MARK_PARTS

$FOURTH
unit: 1 (set to 3 1 3 1)
$SETTINGS
undo steps: 1 begun, 1 ended (Plotgate marks), modified True
copies left:
shapes changed:
selected: Plotgate mark 1 bottom
exchange file:
IN;SP1;
RM1,-400,-400;
RM2,5200,-400;
RM3,-400,2400;
RM4,5200,2400;
PU0,0;
PD4000,0;
SP0;

EOF
run_case marks-selection
expect marks-selection <<EOF
layer Plotgate marks, visible True, printable True:
  Plotgate mark 1 at -10,-10: $MARK_PARTS
  Plotgate mark 2 at 10,-10: $MARK_PARTS
  Plotgate mark 3 at -10,60: $MARK_PARTS

$FOURTH
unit: 1 (set to 3 1 3 1)
$SETTINGS
undo steps: 1 begun, 1 ended (Plotgate marks), modified True
copies left:
shapes changed:
selected: side
exchange file:
IN;SP1;
RM1,-400,-400;
RM2,400,-400;
RM3,-400,2400;
PU0,0;
PD0,2000;
SP0;

EOF

# The toolbar macros of X8 and later, each run twice: one toolbar with one button, tagged
# with its macro and showing Plotgate's icon, then none; a toolbar of an earlier
# AddButton, its button untagged, is known by the command the button runs. On a toolbar
# "Plotgate" that the user made, the button is added beside the user's and known by its
# tag alone, and only it is taken away again; in a version without SetIcon2 the button is
# in place without the icon. In X7 a pointer to the installer; without CommandBars a
# message, not a failure.
register "$(windows "$work/Stand In/Plotgate.exe")"
ADDED='message (Plotgate, 48): The toolbar "Plotgate" is in place: its button cuts the selected shapes, or the whole page.'
OUR_BUTTON='[MeridalVorn.Ver001.MeridalCut from 2cc24a3e-fe24-4708-9a74-9c75406eebcd, caption Plotgate, tip Plotgate, tag MeridalVorn.Ver001.MeridalCut, icon'
run_case toolbar
expect toolbar <<EOF
$ADDED
$ADDED
message (Plotgate, 48): The toolbar "Plotgate" is removed.
message (Plotgate, 48): There is no toolbar "Plotgate" to remove.
after adding:
toolbar Plotgate at 4, temporary False, visible True: $OUR_BUTTON $(windows "$work/Stand In/Plotgate.exe")]
after removing:

EOF
run_case toolbar-earlier
expect toolbar-earlier <<EOF
$ADDED
$ADDED
message (Plotgate, 48): The toolbar "Plotgate" is removed.
message (Plotgate, 48): There is no toolbar "Plotgate" to remove.
after adding:
toolbar Plotgate at 4, temporary False, visible True: [MeridalVorn.Ver001.MeridalCut from 2cc24a3e-fe24-4708-9a74-9c75406eebcd, caption Plotgate, tip Plotgate, tag , icon ]
after removing:

EOF
USER_BUTTON='[Signs.Tools.Weed from 2cc24a3e-fe24-4708-9a74-9c75406eebcd, caption Weed, tip , tag , icon ]'
run_case toolbar-user
expect toolbar-user <<EOF
$ADDED
$ADDED
message (Plotgate, 48): The Plotgate button is removed; the toolbar "Plotgate" keeps the buttons you put on it.
message (Plotgate, 48): There is no toolbar "Plotgate" to remove.
after adding:
toolbar Plotgate at 4, temporary False, visible True: $USER_BUTTON $OUR_BUTTON ]
after removing:
toolbar Plotgate at 4, temporary False, visible True: $USER_BUTTON

EOF
INSTALLER='message (Plotgate, 48): In this version of CorelDRAW the installer puts the toolbar with the Plotgate button in place, and uninstalling Plotgate takes it away.'
NO_BARS='message (Plotgate, 48): Plotgate could not change its toolbar in this version of CorelDRAW: Object doesn'"'"'t support this property or method: CommandBars'
run_case toolbar-older
expect toolbar-older <<EOF
$INSTALLER
$INSTALLER
$INSTALLER
$INSTALLER
$NO_BARS
$NO_BARS
$NO_BARS
$NO_BARS
after adding:
after removing:

EOF

# The real Plotgate on a 120 x 45.5 mm rectangle: the dialog shows the size that the
# command line reads from the same file.
register "$(windows "$work/Plotgate Folder/Plotgate.exe")"
"$wine" cscript //nologo "$(windows "$work/macro.vbs")" rectangle 2>/dev/null | tr -d '\r' >"$work/rectangle.out"
check "the rectangle is exported" grep -qx 'PD1200,3420;' "$work/rectangle.out"
check "Plotgate opens on it" driver wait Harbex 60 >/dev/null
driver controls Harbex >"$work/controls"
shows() { grep -q "^$1 .* \"$2\"\$" "$work/controls"; }
check "Plotgate shows its width" shows 1012 "120.00"
check "Plotgate shows its height" shows 1011 "45.50"
sed -n '/^exchange file:$/,$p' "$work/rectangle.out" | sed '1d' >"$work/rectangle.plt"
check "plotgate info reads the same size" [ "$("$root/build/native/cli/plotgate" info "$work/rectangle.plt")" = "120.00 x 45.50 mm (across the roll x along the feed)" ]
driver click Harbex 2
driver gone Harbex 20

# "Plotgate.exe /RegCorelWorkSpace", which the installer runs as well, puts the project
# where the table says: 24 into whichever of 2022's and 2023's folders exists (here
# 2023's), 25 into 2024's, 26 into 2025's, 27 into 2026's; /UnRegCorelWorkSpace takes the
# copies away again.
printf 'macro project' >"$work/Plotgate Folder/MeridalVorn.gms"
corel='HKCU\Software\Corel\CorelDRAW'
for version in 24 25 26 27; do "$wine" reg add "$corel\\$version.0" /f >/dev/null 2>&1; done
appdata=$("$wine" winepath -u "$("$wine" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
suite="$appdata/Corel/CorelDRAW Graphics Suite"
mkdir -p "$suite 2023/Draw/GMS"
"$wine" "$work/Plotgate Folder/Plotgate.exe" /RegCorelWorkSpace >/dev/null 2>&1
wineserver -w
copies_in() {
  for year in "$@"; do grep -qx 'macro project' "$suite $year/Draw/GMS/MeridalVorn.gms" 2>/dev/null || return 1; done
}
check "/RegCorelWorkSpace: copies for 2023, 2024, 2025 and 2026" copies_in 2023 2024 2025 2026
check "/RegCorelWorkSpace: none in 2022's folder, which is not there" [ ! -e "$suite 2022" ]
"$wine" "$work/Plotgate Folder/Plotgate.exe" /UnRegCorelWorkSpace >/dev/null 2>&1
wineserver -w
none_left() { ! ls "$suite "*/Draw/GMS/MeridalVorn.gms >/dev/null 2>&1; }
check "/UnRegCorelWorkSpace: the copies are gone" none_left
for version in 24 25 26 27; do "$wine" reg delete "$corel\\$version.0" /f >/dev/null 2>&1; done
for year in 2023 2024 2025 2026; do rm -rf "$suite $year"; done

finish

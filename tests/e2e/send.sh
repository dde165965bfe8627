#!/usr/bin/env bash
# plotgate send against the cutter simulator on a pseudo-terminal: the bytes the cutter
# receives must be exactly the job file that plotgate encode writes for the same choices,
# for HPGL and DM/PL models. Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
cmake --preset native >/dev/null && cmake --build --preset native >/dev/null || { echo "0 passed, 1 failed"; exit 1; }
plotgate=build/native/cli/plotgate
sim=build/native/tools/cutter-sim
work=$(mktemp -d /tmp/plotgate-e2e-send.XXXXXX)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
# The remembered choices go to a throw-away settings file, not the user's.
export XDG_CONFIG_HOME=$work/config
ini=$XDG_CONFIG_HOME/plotgate/Plotgate.ini

# no_job_files: every send removed the job file of its own; none used the dialog's.
no_job_files() { [ -z "$(find "$work" -maxdepth 1 -name 'plotgate-*.hb' -o -maxdepth 1 -name cutcorldata.hb)" ]; }

# send_case NAME MODEL INPUT [OPTIONS...]
send_case() {
  local name=$1 model=$2 input=$3
  shift 3
  rm -f "$ini"
  start_cutter "$sim" "$work/received.hb" "$work/sim.out"
  "$plotgate" send "$input" --model "$model" --port "$device" "$@" >"$work/send.out" 2>"$work/send.err"
  local rc=$?
  wait "$sim_pid"
  local sim_rc=$?
  "$plotgate" encode "$input" --model "$model" "$@" --output "$work/expected.hb"
  check "$name: send succeeds" [ "$rc" -eq 0 ] || sed "s/^/  send said: /" "$work/send.err"
  check "$name: the cutter saw the terminator" [ "$sim_rc" -eq 0 ]
  check "$name: received bytes equal the encoded job" cmp -s "$work/received.hb" "$work/expected.hb"
  check "$name: no job file left in the temporary folder" no_job_files
  check "$name: no progress bar without a terminal" [ ! -s "$work/send.err" ]
  check "$name: one-line summary" grep -q "^Sent $(stat -c %s "$work/expected.hb") bytes to $model" "$work/send.out"
  # The choices were said only once the job was cut.
  check "$name: the opening line says the same choices first" \
    [ "$(head -n 1 "$work/send.out")" = "Sending $input to $(sed -n 's/^Sent [0-9]* bytes to //p' "$work/send.out")" ] ||
    sed "s/^/  said: /" "$work/send.out"
}

# closing_line NAME TEXT: the closing line after "Sent N bytes to ", N the job's size.
closing_line() {
  check "$1: the closing line lists the choices" \
    grep -qxF "Sent $(stat -c %s "$work/expected.hb") bytes to $2" "$work/send.out" || sed "s/^/  said: /" "$work/send.out"
}

send_case "HPGL" "Robin-Series" examples/star.plt
check "the HPGL stream ends with SP0;@" [ "$(tail -c 5 "$work/received.hb")" = "SP0;@" ]
# Without a settings file nothing is marked as saved.
closing_line "HPGL" \
  "Robin-Series on $device at 38400 baud; mirror off, rotation 0, blade offset off, over-cut off."
send_case "HPGL, mirrored and turned" "Wren-Series" examples/cut-word.plt --mirror --rotate 90
closing_line "HPGL, mirrored and turned" \
  "Wren-Series on $device at 38400 baud; mirror on, rotation 90, blade offset off, over-cut off."
send_case "DM/PL at 9600 baud" "Heron(V8.8 or before)" examples/star.plt
check "the DM/PL stream starts with its header" grep -q '^;:H A L0 ECN U ' "$work/received.hb"
closing_line "DM/PL at 9600 baud" \
  "Heron(V8.8 or before) on $device at 9600 baud; mirror off, rotation 0, blade offset off, over-cut off."
send_case "DM/PL with blade offset and over-cut" "Finch-Series" examples/circle.plt --blade-offset 0.38 --overcut 0.85
closing_line "DM/PL with blade offset and over-cut" \
  "Finch-Series on $device at 38400 baud; mirror off, rotation 0, blade offset 0.38 mm, over-cut 0.85 mm."

# Remembered choices. A pseudo-terminal's path is not in the Port list (COM1..COM30; the
# Wine test covers the list's ports): the six values keep the saved Port index and the path
# goes to the command line's own entry after them. The second send takes everything else
# from the first and leaves the six values as they were.
rm -f "$ini"
"$plotgate" encode examples/star.plt --model Finch-Series --blade-offset 0.5 --overcut 1.0 --output "$work/expected.hb"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" send examples/star.plt --model Finch-Series --port "$device" --blade-offset 0.5 --overcut 1.0 >/dev/null 2>&1
check "remembered: first send succeeds" [ $? -eq 0 ]
wait "$sim_pid"
check "remembered: first send cut with its options" cmp -s "$work/received.hb" "$work/expected.hb"
printf '[Device]\r\nType=4\r\nPort=0\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=0.5\r\nOverCut=1.0\r\n' >"$work/first.ini"
check "remembered: eight lines under \$XDG_CONFIG_HOME" cmp -s <(head -n 8 "$ini") "$work/first.ini"
check "remembered: the device path in the command line's own entry" \
  cmp -s <(tail -n +9 "$ini") <(printf '[CommandLine]\r\nPort=%s\r\n' "$device")
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" send examples/star.plt --port "$device" >"$work/send.out" 2>&1
check "remembered: second send succeeds" [ $? -eq 0 ]
wait "$sim_pid"
check "remembered: second send repeats the first one's choices" cmp -s "$work/received.hb" "$work/expected.hb"
closing_line "remembered: second send" \
  "Finch-Series (saved) on $device at 38400 baud; mirror off, rotation 0, blade offset 0.5 mm (saved), over-cut 1.0 mm (saved)."
check "remembered: the six values byte-identical" cmp -s <(head -n 8 "$ini") "$work/first.ini"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" send examples/star.plt --port "$device" --no-overcut >/dev/null 2>&1
wait "$sim_pid"
"$plotgate" encode examples/star.plt --model Finch-Series --blade-offset 0.5 --output "$work/expected.hb"
check "remembered: --no-overcut unticks" cmp -s "$work/received.hb" "$work/expected.hb"
check "remembered: the over-cut text stays" grep -q $'^ChkOverCut=0\r$' "$ini"
check "remembered: ... and its distance too" grep -q $'^OverCut=1.0\r$' "$ini"
# Without --port the send goes to the remembered device path, never to the saved Port
# index (COM1 here). The entry is pointed at this run's simulator.
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
sed -i "s|^Port=/dev/.*|Port=$device\r|" "$ini"
"$plotgate" send examples/star.plt >"$work/send.out" 2>&1
check "remembered: a send without --port succeeds" [ $? -eq 0 ]
wait "$sim_pid"
check "remembered: ... on the remembered device path" cmp -s "$work/received.hb" "$work/expected.hb"
check "remembered: ... and says so" grep -q " on $device " "$work/send.out"
closing_line "remembered: a send without --port" \
  "Finch-Series (saved) on $device (saved) at 38400 baud; mirror off, rotation 0, blade offset 0.5 mm (saved), over-cut off (saved)."
# With --model too: the remembered port once gave way to the model's rule, which found
# nothing and sent to COM1 (/dev/ttyS0, with nothing behind it), and the entry was emptied.
cp "$ini" "$work/ini.before"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
sed -i "s|^Port=/dev/.*|Port=$device\r|" "$ini"
"$plotgate" send examples/star.plt --model Finch-Series >"$work/send.out" 2>&1
check "remembered: a send with --model but without --port succeeds" [ $? -eq 0 ]
wait "$sim_pid"
check "remembered: ... on the remembered device path" cmp -s "$work/received.hb" "$work/expected.hb"
check "remembered: ... which stays remembered" grep -qF "Port=$device" "$ini"
check "remembered: ... and says so before it sends" \
  grep -qxF "Sending examples/star.plt to Finch-Series on $device (saved) at 38400 baud; mirror off, rotation 0, blade offset 0.5 mm (saved), over-cut off (saved)." "$work/send.out" ||
  sed "s/^/  said: /" "$work/send.out"

# Ctrl-C in the middle of a long job: the cutter gets whole commands, then the pen-up and
# the terminator; the send says how far it got and exits 130. The program is run by a name
# of the user's (a link "plot gate"), which the command to go on repeats, quoted.
awk 'BEGIN { printf "IN;SP1;PU0,0;"; for (i = 0; i < 300000; i++) printf "PD%d,%d;", i % 4000, (i * 7) % 4000; printf "SP0;" }' >"$work/long.plt"
rm -f "$work/received.hb" "$ini"
mkdir -p "$work/bin"
ln -sf "$PWD/$plotgate" "$work/bin/plot gate"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$work/bin/plot gate" send "$work/long.plt" --model Robin-Series --port "$device" >"$work/send.out" 2>"$work/send.err" &
send_pid=$!
for _ in $(seq 100); do [ -s "$work/received.hb" ] && break; sleep 0.05; done
kill -INT "$send_pid"
wait "$send_pid"
rc=$?
wait "$sim_pid"
"$plotgate" encode "$work/long.plt" --model Robin-Series --output "$work/long.hb"
check "Ctrl-C: exit 130" [ "$rc" -eq 130 ]
check "Ctrl-C: the job file is removed too" no_job_files
check "Ctrl-C: the cutter saw the terminator" [ "$(tail -c 5 "$work/received.hb")" = "SP0;@" ]
check "Ctrl-C: the job was cut short" [ "$(stat -c %s "$work/received.hb")" -lt "$(stat -c %s "$work/long.hb")" ]
check "Ctrl-C: whole commands, then the job's last pen-up" \
  grep -qE '^(IN;|SP1;|PU[0-9-]+,[0-9-]+;|PD[0-9-]+,[0-9-]+;)*PU[0-9-]+,[0-9-]+;SP0;@$' "$work/received.hb"
size=$(stat -c %s "$work/long.hb")
check "Ctrl-C: says how far it got and how to go on, by the program's name and for this drawing" grep -qE "^plotgate: stopped in path 1 of 1 after [0-9,]+ of $(sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$size") bytes; the pen was lifted and the job ended. To go on: 'plot gate' send --model Robin-Series --port $device --no-blade-offset --no-overcut --no-inside-first --no-shortest-travel --no-weed-border --passes 1 --no-media-width --no-panels --no-force --no-speed --job-id [0-9a-f]{12} --from-path 1 -- $work/long.plt$" "$work/send.err" ||
  sed 's/^/  said: /' "$work/send.err"
# Ctrl-C while the cutter takes nothing (paused, its buffer full): the write it holds back
# ends, the send says where it stopped and that the ending could not go out, and exits 130
# (bounded: a send still running after 5 seconds has hung). A second Ctrl-C right after the
# first ends the program before any report.
# stalled_send RECORD: a send of long.plt to a cutter that stops reading after 2000 bytes,
# started once that cutter has stalled; sets $send_pid.
stalled_send() {
  start_cutter "$sim" "$1" "$work/sim.out" --stall-after 2000 --timeout 10
  "$plotgate" send "$work/long.plt" --model Robin-Series --port "$device" >/dev/null 2>"$work/send.err" &
  send_pid=$!
  for _ in $(seq 200); do [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge 2000 ] && break; sleep 0.05; done
  sleep 0.3  # the terminal's buffer fills in far less
}
# ended_within_5s PID: whether the process has ended within 5 seconds (killed when not).
ended_within_5s() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.05; done
  kill -KILL "$1"
  return 1
}
rm -f "$ini"
stalled_send "$work/stalled.hb"
kill -INT "$send_pid"
check "Ctrl-C on a stalled line: the send ends" ended_within_5s "$send_pid"
wait "$send_pid"
check "Ctrl-C on a stalled line: exit 130" [ $? -eq 130 ]
check "Ctrl-C on a stalled line: says where it stopped and that the ending could not go out" \
  grep -qE "^plotgate: stopped in path 1 of 1 after [0-9,]+ of [0-9,]+ bytes; the pen-up and the job's end could not be sent\. To go on: " "$work/send.err" ||
  sed 's/^/  said: /' "$work/send.err"
check "Ctrl-C on a stalled line: the job file is removed" no_job_files
kill "$sim_pid" 2>/dev/null
wait "$sim_pid"
# catches_interrupt PID: whether the process still handles SIGINT itself (SigCgt bit 2).
catches_interrupt() { (((0x$(awk '/^SigCgt/ { print $2 }' "/proc/$1/status") & 2) != 0)); }
stalled_send "$work/stalled.hb"
kill -INT "$send_pid"
# Two signals sent at once would merge into one: the second follows once the first is taken.
for _ in $(seq 100); do catches_interrupt "$send_pid" || break; sleep 0.01; done
kill -INT "$send_pid"
check "a second Ctrl-C: the send ends" ended_within_5s "$send_pid"
wait "$send_pid"
check "a second Ctrl-C: at once, before any report" [ -z "$(grep "stopped in path" "$work/send.err")" ] ||
  sed 's/^/  said: /' "$work/send.err"
kill "$sim_pid" 2>/dev/null
wait "$sim_pid"
find "$work" -maxdepth 1 -name 'plotgate-*.hb' -delete  # what the ended program left

# The long job was announced with its size and its time at 38400 baud: 3840 bytes a second.
announced=$(awk -v n="$size" 'BEGIN { printf "%.1f MB", n / 1e6 }')
minutes=$(awk -v n="$size" 'BEGIN { printf "%.0f", n / 3840 / 60 }')
check "a long send is announced" \
  grep -qxF "sending $announced to Robin-Series on $device at 38400 baud, about $minutes minutes" "$work/send.err"

# Ctrl-C while the send still writes its job file (a large one, before the stream): the
# file is removed, nothing reaches the cutter and the send says so (exit 130). The send
# starts with Ctrl-C's own action, as from a terminal (a script's background job ignores
# it).
awk 'BEGIN { printf "IN;SP1;PU0,0;"; for (i = 0; i < 1500000; i++) printf "PD%d,%d;", i % 4000, (i * 7) % 4000; printf "SP0;" }' >"$work/large.plt"
start_cutter "$sim" "$work/large.hb" "$work/sim.out"
env --default-signal=INT "$plotgate" send "$work/large.plt" --model Robin-Series --port "$device" >/dev/null 2>"$work/send.err" &
send_pid=$!
for _ in $(seq 1000); do [ -n "$(find "$work" -maxdepth 1 -name 'plotgate-*.hb')" ] && break; sleep 0.01; done
kill -INT "$send_pid"
wait "$send_pid"
check "Ctrl-C while the job file is written: exit 130" [ $? -eq 130 ]
check "Ctrl-C while the job file is written: the partial file is removed" no_job_files
check "Ctrl-C while the job file is written: nothing was sent, and it says so" \
  grep -qx "plotgate: interrupted before anything was sent" "$work/send.err" || sed 's/^/  said: /' "$work/send.err"
check "Ctrl-C while the job file is written: the cutter got nothing" [ ! -s "$work/large.hb" ]
kill "$sim_pid" 2>/dev/null
wait "$sim_pid"
find "$work" -maxdepth 1 -name 'plotgate-*.hb' -delete  # what a program ended before the mend left
rm -f "$work/large.plt"

# Resume: a job of 20000 short paths stopped by Ctrl-C, then sent again with the command the
# message gave, pointed at the new simulator's device. Together the two cutters cut every
# path once, but for the one the first send was in, which the second cuts again whole.
awk 'BEGIN { printf "IN;SP1;"; for (i = 0; i < 20000; i++) printf "PU%d,%d;PD%d,400;PD%d,800;", i % 4000, int(i / 4000) * 1000, i % 4000, i % 4000 + 5; printf "SP0;" }' >"$work/paths.plt"
"$plotgate" encode "$work/paths.plt" --model Robin-Series --output "$work/paths.hb"
rm -f "$ini"
start_cutter "$sim" "$work/first.hb" "$work/sim.out" --rate 50000
"$plotgate" send "$work/paths.plt" --model Robin-Series --port "$device" >/dev/null 2>"$work/send.err" &
send_pid=$!
for _ in $(seq 400); do [ "$(stat -c %s "$work/first.hb" 2>/dev/null || echo 0)" -gt 100000 ] && break; sleep 0.05; done
kill -INT "$send_pid"
wait "$send_pid"
check "resume: the first send was interrupted" [ $? -eq 130 ]
wait "$sim_pid"
go_on=$(sed -n "s|^plotgate: stopped in path \([0-9]*\) of 20000 after .*To go on: plotgate \(send .* --port\) $device \(.*--from-path \1 -- .*\)$|\2 @DEVICE@ \3|p" "$work/send.err")
from_path=$(sed -n 's/^plotgate: stopped in path \([0-9]*\) of .*/\1/p' "$work/send.err")
check "resume: the message names the path and the command" [ -n "$go_on" ] || sed 's/^/  said: /' "$work/send.err"
# Another drawing exported to the same file since: going on is refused before the port is
# opened, as its paths are not the stopped job's.
cp "$work/paths.plt" "$work/paths.stopped"
cp examples/star.plt "$work/paths.plt"
eval "\"\$plotgate\" ${go_on/@DEVICE@/\"\$work/no-such-port\"}" >/dev/null 2>"$work/err"
check "resume: another drawing under the name is a usage error" [ $? -eq 2 ]
check "resume: ... that says the file has changed" grep -qxF "plotgate: $work/paths.plt has changed since the stopped send (another drawing was exported); send it whole, or export the stopped drawing again" "$work/err" ||
  sed 's/^/  said: /' "$work/err"
mv "$work/paths.stopped" "$work/paths.plt"
start_cutter "$sim" "$work/second.hb" "$work/sim.out"
eval "\"\$plotgate\" ${go_on/@DEVICE@/\"\$device\"}" >/dev/null 2>"$work/send.err"
check "resume: the second send succeeds" [ $? -eq 0 ] || sed 's/^/  said: /' "$work/send.err"
wait "$sim_pid"
check "resume: every path cut, none twice but the one cut off" \
  python3 tests/e2e/cut_paths.py "$work/paths.hb" "$work/first.hb" "$work/second.hb" "$from_path"
start_cutter "$sim" "$work/whole.hb" "$work/sim.out"
"$plotgate" send "$work/paths.plt" --model Robin-Series --port "$device" --from-path 1 >/dev/null 2>&1
wait "$sim_pid"
check "resume: from path 1 the cutter gets the whole job" cmp -s "$work/whole.hb" "$work/paths.hb"
start_cutter "$sim" "$work/none.hb" "$work/sim.out" --timeout 2
"$plotgate" send "$work/paths.plt" --model Robin-Series --port "$device" --from-path 20001 >/dev/null 2>"$work/err"
check "resume: a path beyond the job is a usage error" [ $? -eq 2 ]
check "resume: ... that says how many paths there are" \
  grep -qxF "plotgate: --from-path 20001: the job has 20000 paths" "$work/err"
wait "$sim_pid"

# The progress line on a terminal of a set width: each drawing of it fits, and the last one
# shows the whole job sent. The simulator takes 40000 bytes a second, so that the line is
# drawn more than once.
awk 'BEGIN { printf "IN;SP1;PU0,0;"; for (i = 0; i < 6000; i++) printf "PD%d,%d;", i % 4000, (i * 7) % 4000; printf "SP0;" }' >"$work/mid.plt"
# progress_at COLUMNS: sends mid.plt with stderr on a pseudo-terminal that wide; the
# drawings of the line, one a line, in $work/frames.
progress_at() {
  rm -f "$ini"
  start_cutter "$sim" "$work/received.hb" "$work/sim.out" --rate 40000
  script -qec "stty cols $1; '$plotgate' send '$work/mid.plt' --model Robin-Series --port '$device' >'$work/send.out'" \
    "$work/typescript" >/dev/null
  local rc=$?
  wait "$sim_pid"
  check "progress at $1 columns: send succeeds" [ "$rc" -eq 0 ]
  # The line is redrawn after a carriage return; the terminal turns the last newline into
  # a carriage return and a newline.
  tr '\r' '\n' <"$work/typescript" | grep '%' >"$work/frames"
  check "progress at $1 columns: drawn more than once" [ "$(wc -l <"$work/frames")" -gt 1 ]
  check "progress at $1 columns: never wider than the terminal" \
    awk -v room=$(($1 - 1)) 'length($0) > room { print "  too wide: " $0; bad = 1 } END { exit bad }' "$work/frames"
}
progress_at 80
"$plotgate" encode "$work/mid.plt" --model Robin-Series --output "$work/mid.hb"
sizes=$(awk -v n="$(stat -c %s "$work/mid.hb")" 'BEGIN { printf "%.1f of %.1f kB", n / 1e3, n / 1e3 }')
check "progress at 80 columns: bar, sizes and time left" \
  grep -qxF "[$(printf '#%.0s' $(seq 40))] 100%  $sizes  0:00 left" "$work/frames" || sed 's/^/  drawn: /' "$work/frames"
check "progress at 80 columns: the time left is measured" grep -qE '  [0-9]+:[0-9]{2} left' <(head -n -1 "$work/frames")
progress_at 40
check "progress at 40 columns: the sizes give way to the bar" \
  grep -qxF '[#####################] 100%  0:00 left' "$work/frames"
progress_at 20
check "progress at 20 columns: the percentage and the time left" grep -qxF '100%  0:00 left' "$work/frames"

# A cutter that takes nothing for ten seconds: the progress line says so in its place.
rm -f "$ini"
start_cutter "$sim" "$work/stalled.hb" "$work/sim.out" --stall-after 2000 --timeout 14
timeout 60 script -qec "stty cols 100; '$plotgate' send '$work/long.plt' --model Robin-Series --port '$device' >/dev/null" \
  "$work/typescript" >/dev/null
wait "$sim_pid" 2>/dev/null
check "a stalled cutter is said on the progress line" \
  grep -qF "the cutter has taken nothing for 10 s: is it paused or off-line? Ctrl-C stops" <(tr '\r' '\n' <"$work/typescript") ||
  tr '\r' '\n' <"$work/typescript" | sed 's/^/  drawn: /' | tail -n 3
find "$work" -maxdepth 1 -name 'plotgate-*.hb' -delete

# Two sends at once, to two cutters that take their time: each cutter gets its own job
# whole, from a job file of its own.
start_cutter "$sim" "$work/first.hb" "$work/sim1.out" --rate 20000
first_pid=$sim_pid first_device=$device
start_cutter "$sim" "$work/second.hb" "$work/sim2.out" --rate 20000
second_pid=$sim_pid second_device=$device
"$plotgate" send examples/cut-word.plt --model Robin-Series --port "$first_device" --ini "$work/a.ini" >/dev/null 2>&1 &
send1=$!
"$plotgate" send examples/star.plt --model 9 --port "$second_device" --ini "$work/b.ini" >/dev/null 2>&1 &
send2=$!
wait "$send1"
rc1=$?
wait "$send2"
rc2=$?
wait "$first_pid" "$second_pid"
"$plotgate" encode examples/cut-word.plt --model Robin-Series --output "$work/first.expected"
"$plotgate" encode examples/star.plt --model 9 --output "$work/second.expected"
check "two sends at once: both succeed" [ "$rc1" -eq 0 ] && [ "$rc2" -eq 0 ]
check "two sends at once: the first cutter gets its job" cmp -s "$work/first.hb" "$work/first.expected"
check "two sends at once: the second cutter gets its own" cmp -s "$work/second.hb" "$work/second.expected"
check "two sends at once: no job file left" no_job_files

# Jogging the head onto the marks with a scripted sequence of keys (the terminal's bytes):
# 10 mm steps, Up once and Left 20 times, mark 1 set at (400, 8000); mark 2 gone to where
# mark 1 puts it, (400, 0), and set. One job: the header, the pen-up to the origin, one
# pen-up a press, the terminator.
printf 'IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;PD4000,3400;PD4000,3000;SP0;' \
  >"$work/marked.plt"
{
  printf ']\033[A'
  for _ in $(seq 20); do printf '\033[D'; done
  printf '1\r2g\rq'
} >"$work/keys"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" marks "$work/marked.plt" --model Robin-Series --port "$device" --ini "$work/jog.ini" --save "$work/sheet.reg" \
  --keys "$work/keys" >"$work/jog.out" 2>"$work/jog.err"
rc=$?
wait "$sim_pid"
check "jog: marks 1 and 2 set and saved" [ "$rc" -eq 0 ] || sed "s/^/  said: /" "$work/jog.err"
{
  printf 'IN;SP1;'
  for _ in $(seq 16); do printf 'PU0,0;'; done
  printf 'PU400,0;'
  for second in $(seq 400 400 8000); do printf 'PU400,%d;' "$second"; done
  printf 'PU400,0;SP0;@'
} >"$work/expected.hb"
check "jog: the cutter received the header, the pen-up moves and the terminator" \
  cmp -s "$work/received.hb" "$work/expected.hb"
check "jog: the marks as set" \
  cmp -s "$work/sheet.reg" <(printf 'plotgate registration 1\nlaser-offset 0,0\nmark 1 design 0,0 measured 400,8000\nmark 2 design 8000,0 measured 400,0\n')

# Failures: exit 1 with the system's message.
"$plotgate" send examples/star.plt --model Lark-Series >/dev/null 2>"$work/err"
rc=$?
check "Lark-Series needs the USB link" [ "$rc" -eq 1 ]
check "Lark-Series says so" grep -q "USB link" "$work/err"
rm -f "$ini"
"$plotgate" send examples/star.plt --model Robin-Series --port "$work/no-such-port" >"$work/out" 2>"$work/err"
rc=$?
check "a missing port fails" [ "$rc" -eq 1 ]
check "a missing port: not the dialog's Connect to Cutter fail!" [ -z "$(grep "Connect to Cutter fail!" "$work/err")" ]
check "a missing port says what was done, the system's reason and the remedy, as check does" \
  grep -qx "plotgate: opening $work/no-such-port: No such file or directory; is the cutter plugged in and switched on? .*" "$work/err" ||
  sed 's/^/  said: /' "$work/err"
check "a missing port: the opening line came first" \
  grep -qxF "Sending examples/star.plt to Robin-Series on $work/no-such-port at 38400 baud; mirror off, rotation 0, blade offset off, over-cut off." "$work/out"
"$plotgate" send examples/star.plt --model Albatross >/dev/null 2>&1
check "an unknown model is a usage error" [ $? -eq 2 ]
# A first send with nothing chosen: refused before anything is opened or saved.
rm -f "$ini"
"$plotgate" send examples/star.plt --port "$work/no-such-port" >"$work/out" 2>"$work/err"
check "first send without a model: a usage error" [ $? -eq 2 ]
check "first send without a model: says what to add" \
  grep -qxF "plotgate: no cutter model chosen yet: add --model NAME (plotgate models lists them)" "$work/err"
check "first send without a model: nothing saved" [ ! -e "$ini" ]
"$plotgate" ports >"$work/ports"
check "ports runs" [ $? -eq 0 ]
check "ports ends with what a plain send would do" \
  [ "$(tail -n 1 "$work/ports")" = "A plain send: none: no cutter model chosen yet: add --model NAME (plotgate models lists them)" ]
mkdir -p "$(dirname "$ini")"
printf '[Device]\r\nType=5\r\n[CommandLine]\r\nPort=/dev/pts/77\r\n' >"$ini"
check "ports ends with the port a plain send would use" \
  [ "$("$plotgate" ports | tail -n 1)" = "A plain send: Robin-Series (saved) on /dev/pts/77 (saved)" ]
rm -f "$ini"
check "ports names the USB link for Lark-Series" grep -q "Lark-Series: VORN_USB" "$work/ports"
# Listings whose output is lost (a full disk) fail with the reason.
for listing in ports models "info examples/star.plt --detail --model 4"; do
  $plotgate $listing >/dev/full 2>"$work/err"
  check "$listing: lost output is a failure" [ $? -eq 1 ]
  check "$listing: ... that says why" grep -qx "plotgate: cannot write to standard output: No space left on device" "$work/err"
done
# A material preset: its force and speed reach the cutter in the header, the closing line
# and the settings name it, and a test cut with it goes out as testcut --output writes it.
rm -f "$ini"
mkdir -p "$(dirname "$ini")"
"$plotgate" preset save 'Flock "soft" $(x)' --blade-offset 0.25 --force 80 --speed 20 >/dev/null
check "preset: saved" [ $? -eq 0 ]
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" send examples/star.plt --model Robin-Series --port "$device" --preset 'flock "SOFT" $(x)' >"$work/send.out" 2>&1
check "preset: the send succeeds" [ $? -eq 0 ]
wait "$sim_pid"
check "preset: the cutter got FS and VS after IN;SP1;" [ "$(head -c 17 "$work/received.hb")" = "IN;SP1;FS80;VS20;" ]
"$plotgate" encode examples/star.plt --model Robin-Series --blade-offset 0.25 --force 80 --speed 20 --output "$work/expected.hb"
check "preset: received bytes equal the encoded job" cmp -s "$work/received.hb" "$work/expected.hb"
closing_line "preset" \
  "Robin-Series on $device at 38400 baud; mirror off, rotation 0, blade offset 0.25 mm, over-cut off, force 80 g, speed 20 cm/s, preset \"Flock \"soft\" \$(x)\"."
check "preset: [Tool] remembers it" grep -qxF $'Preset=Flock "soft" $(x)\r' "$ini"
start_cutter "$sim" "$work/received.hb" "$work/sim.out"
"$plotgate" testcut --port "$device" >"$work/send.out" 2>&1
check "testcut: succeeds with the remembered choices" [ $? -eq 0 ]
wait "$sim_pid"
"$plotgate" testcut --output "$work/expected.hb"
check "testcut: the cutter got what --output writes" cmp -s "$work/received.hb" "$work/expected.hb"
check "testcut: says what to check" grep -qxF "Test cut sent: a 10 mm square around a triangle at the origin. Check that the square measures 10.0 mm, its corners are sharp and closed and the backing is not cut; then move the origin before the job." "$work/send.out"
rm -f "$ini" "$(dirname "$ini")/Presets.ini"

# Every serial tty of this machine, and every by-id name that leads to one, is listed by
# its path; each listed path is a device.
for tty in /dev/ttyUSB* /dev/ttyACM*; do
  [ -e "$tty" ] && check "ports lists $tty" grep -qE " -> $tty\$" "$work/ports"
done
for link in /dev/serial/by-id/*; do
  [ -L "$link" ] && check "ports lists $link" grep -qxF "      also $link" "$work/ports"
done
check "ports lists devices by their paths" \
  awk '/ -> \// { if (system("test -c " $3) != 0) { print "  not a device: " $3; bad = 1 } } END { exit bad }' "$work/ports"

finish

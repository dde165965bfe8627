#!/usr/bin/env bash
# plotgate-cli.exe encode|preview --output - under Wine: standard output redirected to a
# file receives exactly the bytes that --output FILE writes (binary, no CR added before
# each LF), warnings go to stderr only, and no file named "-" appears. Uses $WINEPREFIX
# when it exists, else a throw-away prefix of its own.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
root=$(pwd)
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >/dev/null; } || { echo "0 passed, 1 failed"; exit 1; }
work=$(mktemp -d /tmp/plotgate-e2e-output.XXXXXX)
mkdir "$work/bin" "$work/cwd"
cp "$root/build/$preset/cli/plotgate-cli.exe" "$work/bin/"
cli=$work/bin/plotgate-cli.exe

cleanup() {
  [ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
own_prefix=0
trap cleanup EXIT
use_prefix "$work"

input=$(windows "$root/examples/cut-word.plt")
cd "$work/cwd"

# same NAME ARGS...: the command with --output FILE and with --output - give the same
# bytes, and the one to standard output says nothing on stderr.
same() {
  local name=$1
  shift
  "$wine" "$cli" "$@" --output "$(windows "$work/file")" >/dev/null 2>&1
  "$wine" "$cli" "$@" --output - >"$work/stdout" 2>"$work/stderr"
  check "$name: exit 0" [ $? -eq 0 ]
  check "$name: a file was written" [ -s "$work/file" ]
  check "$name: same bytes on standard output" cmp -s "$work/file" "$work/stdout"
  check "$name: nothing on stderr" [ ! -s "$work/stderr" ]
}
same "preview" preview "$input" --size 400x300
check "preview: LF line ends only" [ "$(tr -cd '\r' <"$work/stdout" | wc -c)" -eq 0 ]
same "encode HPGL" encode "$input" --model 1 --overcut 0.85
same "encode DM/PL" encode "$input" --model 4 --blade-offset 0.38
check "no file named -" [ ! -e "$work/cwd/-" ]

# What the reader skipped is said on stderr, and standard output keeps only the job.
printf 'IN;SP1;\r\nPU0,0;\r\npd1,1;PD4000,0;SP0;\r\n' >"$work/odd.plt"
"$wine" "$cli" encode "$(windows "$work/odd.plt")" --model 4 --output - >"$work/stdout" 2>"$work/stderr"
check "warning: on stderr, with its place" \
  grep -q '1 command was not understood and skipped (at line 3, column 1)' "$work/stderr"
check "warning: standard output holds the job" [ "$(head -c 3 "$work/stdout")" = ";:H" ]

finish

#!/usr/bin/env bash
# Calls per segment, subpath and shape that the CorelDRAW export macro makes, and the
# script host's seconds for a 100,000-node drawing, measured on the model of CorelDRAW's
# object model in tests/corel/macro under Wine's script host. Prints figures; checks
# nothing.
#
#   bash tools/macrobench/macro-bench.sh          # the macro as it is now
#   bash tools/macrobench/macro-bench.sh REV      # the macro of git revision REV
set -euo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
work=$(mktemp -d /tmp/plotgate-macro-bench.XXXXXX)
use_prefix "$work"
trap '[ "$own_prefix" -eq 1 ] && wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
if [ $# -gt 0 ]; then git show "$1:corel/macro/Ver001.bas"; else cat corel/macro/Ver001.bas; fi |
  grep -v '^Attribute ' >"$work/bench.vbs"
cat tests/corel/macro/ObjectModel.vbs tools/macrobench/MacroBench.vbs >>"$work/bench.vbs"
"$wine" cscript //nologo "$(windows "$work/bench.vbs")" 2>&1 | tr -d '\r'

#!/usr/bin/env bash
# MeridalVorn.gms read back by an independent reader: Debian's olefile for the compound
# file and a decompressor of our own in Python (tests/e2e/read_gms.py), checked against the
# format's worked examples; project name, module, dir stream and the module's source.
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
cmake --preset native >/dev/null && cmake --build --preset native --target macro_project >/dev/null ||
  { echo "0 passed, 1 failed"; exit 1; }
gms=build/native/corel/macro/MeridalVorn.gms
bas=build/native/corel/macro/Ver001.bas

# Debian's interpreter, where python3-olefile installs the module.
while IFS= read -r line; do
  case "$line" in
    "ok "*) check "${line#ok }" true ;;
    "not ok "*) check "${line#not ok }" false ;;
  esac
done < <(/usr/bin/python3 tests/e2e/read_gms.py "$gms" corel/macro/Ver001.bas 2>&1 || echo "not ok the reader ran to its end")

check "the shipped Ver001.bas is the source with CR LF line ends" \
  cmp -s "$bas" <(/usr/bin/python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); sys.stdout.buffer.write(d.replace(b"\r\n",b"\n").replace(b"\r",b"\n").replace(b"\n",b"\r\n"))' corel/macro/Ver001.bas)
finish

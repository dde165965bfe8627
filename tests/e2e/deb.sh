#!/usr/bin/env bash
# The Debian package of the `plotgate` command line on this machine: `apt-get install` of
# the file, `plotgate --help` from PATH, then removal, after which none of its files is
# left. Needs root (CI runs as root); skipped otherwise, and when a plotgate package is
# installed already (this test never removes one it did not install).
# Last line: "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source tests/e2e/common.bash
if [ "$(id -u)" -ne 0 ]; then
  echo "deb.sh: skipped, installing a package needs root"
  finish
  exit
fi
installed() { dpkg-query -W -f='${Status}' plotgate 2>/dev/null | grep -q "install ok installed"; }
if installed; then
  echo "deb.sh: skipped, a plotgate package is installed already"
  finish
  exit
fi
{ cmake --preset native >/dev/null && cmake --build --preset native --target package >/dev/null; } ||
  { echo "0 passed, 1 failed"; exit 1; }
deb=$(ls build/native/packages/plotgate_*.deb)
work=$(mktemp -d /tmp/plotgate-e2e-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$deb" "$work/"
export DEBIAN_FRONTEND=noninteractive
# Other users of this machine may hold the package lock for a while.
apt_get() { apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1 || cat "$work/apt.log"; }

apt_get install "$work/$(basename "$deb")"
check "the package installs" installed
check "plotgate is on PATH" [ "$(command -v plotgate)" = /usr/bin/plotgate ]
check "plotgate --help runs" bash -c 'plotgate --help | grep -q plotgate'
dpkg-query -L plotgate >"$work/files"

apt_get purge plotgate
check "the package is removed" bash -c '! dpkg-query -W plotgate >/dev/null 2>&1'
left=0
while read -r f; do
  [ -f "$f" ] || [ -L "$f" ] && { echo "left behind: $f"; left=1; }
done <"$work/files"
check "removal leaves none of its files" [ "$left" -eq 0 ]
check "plotgate is gone from PATH" [ -z "$(command -v plotgate)" ]

finish

#!/usr/bin/env bash
# The Debian package of the `plotgate` command line on this machine: lintian finds no
# error in it (and does find one in a copy without its copyright file), `apt-get install`
# of the file, `plotgate --help` from PATH, `man plotgate` with the sections beyond --help
# (what it reads, serial ports on Linux, exit status, files, examples), the copyright,
# changelog, README and example drawings, then removal, after which none of its files is left. Needs root (CI runs as root); skipped otherwise, and when a plotgate package is
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

# lintian_clean DEB: lintian reports no error on DEB; the errors are shown otherwise.
lintian_clean() {
  lintian "$1" >"$work/lintian.out" 2>/dev/null
  ! grep '^E: ' "$work/lintian.out"
}
check "lintian finds no error" lintian_clean "$work/$(basename "$deb")"
dpkg-deb -R "$deb" "$work/broken"
rm "$work/broken/usr/share/doc/plotgate/copyright"
dpkg-deb -b "$work/broken" "$work/broken.deb" >/dev/null
lintian_finds_errors() { ! lintian_clean "$1" >/dev/null; }
check "lintian finds the error of a package without its copyright" lintian_finds_errors "$work/broken.deb"

apt_get install "$work/$(basename "$deb")"
check "the package installs" installed
check "plotgate is on PATH" [ "$(command -v plotgate)" = /usr/bin/plotgate ]
check "plotgate --help runs" bash -c 'plotgate --help | grep -q plotgate'
dpkg-query -L plotgate >"$work/files"
check "man plotgate shows the manual page made from --help" \
  bash -c 'MANPAGER=cat MANWIDTH=200 man plotgate 2>/dev/null | grep -qF -- "$(plotgate send --help | grep -o -- "--from-path N")"'
check "the copyright file is machine-readable" \
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' /usr/share/doc/plotgate/copyright
check "the changelog's first entry is this version" \
  bash -c "zcat /usr/share/doc/plotgate/changelog.gz | head -n 1 | grep -q '^plotgate ($(dpkg-query -W -f='${Version}' plotgate)) '"
# The man page goes beyond the --help texts: a user without the README learns what the
# program reads, which Linux devices it looks for, its exit codes and where its settings are.
MANPAGER=cat MANWIDTH=200 man plotgate >"$work/man.txt" 2>/dev/null
for section in "WHAT PLOTGATE READS" "SERIAL PORTS ON LINUX" "EXIT STATUS" "FILES" "EXAMPLES"; do
  check "man plotgate has the section $section" grep -qx "$section" "$work/man.txt"
done
check "man plotgate names the settings file" grep -qF "plotgate/Plotgate.ini" "$work/man.txt"
check "man plotgate names the Linux serial devices" grep -qF "/dev/ttyUSB0" "$work/man.txt"
check "the README is in /usr/share/doc/plotgate" grep -q '^## Quick start on Linux' /usr/share/doc/plotgate/README.md
for example in star circle rounded-rectangle cut-word test-cut; do
  check "the example $example is installed and readable" \
    bash -c "plotgate info /usr/share/doc/plotgate/examples/$example.plt >/dev/null"
done
# gzip -9n: no name and no time in the header (flags 0, time 0), maximum compression (2).
for gz in /usr/share/man/man1/plotgate.1.gz /usr/share/doc/plotgate/changelog.gz; do
  check "$gz is made by gzip -9n" [ "$(head -c 9 "$gz" | od -An -tx1 | tr -d ' \n')" = 1f8b08000000000002 ]
done


apt_get purge plotgate
check "the package is removed" bash -c '! dpkg-query -W plotgate >/dev/null 2>&1'
left=0
while read -r f; do
  [ -f "$f" ] || [ -L "$f" ] && { echo "left behind: $f"; left=1; }
done <"$work/files"
check "removal leaves none of its files" [ "$left" -eq 0 ]
check "plotgate is gone from PATH" [ -z "$(command -v plotgate)" ]

finish

# Sourced: whether this machine runs the 32-bit release under 32-bit Wine. Some kernels
# are built or booted without 32-bit support; there the 32-bit Wine loader cannot start
# ("Exec format error") and nothing of the 32-bit build can run, whatever is installed.
runs_32bit_programs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# On such a machine Debian's `wine` and `wineboot` commands still pick the 32-bit loader
# (they test that it exists, not that it runs); the commands in scripts/wine64/, put first
# on PATH, take the 64-bit loader instead.
use_64bit_wine_when_needed() {
  runs_32bit_programs && return 0
  local shims
  shims=$(cd "$(dirname "${BASH_SOURCE[0]}")/wine64" && pwd)
  case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
}

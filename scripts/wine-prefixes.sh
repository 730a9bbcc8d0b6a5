#!/usr/bin/env bash
# Creates the two Wine prefixes inside build/ once: win64 (a 32-bit program
# sees WOW64) and win32 (a real 32-bit Windows). Reused on later runs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
for arch in win64 win32; do
  prefix=$root/build/wine/$arch
  [ -f "$prefix/.ready" ] && continue
  echo "creating Wine prefix $prefix"
  rm -rf "$prefix"; mkdir -p "$(dirname "$prefix")"
  WINEARCH=$arch WINEPREFIX=$prefix wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.ready"
done

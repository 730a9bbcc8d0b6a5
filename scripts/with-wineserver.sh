#!/usr/bin/env bash
# Runs a command with a persistent Wine server in each prefix and stops the
# servers afterwards. Without it every test process pays Wine's start-up, and
# CTest can hang on a pipe that Wine's service processes keep open.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
prefixes=("$root/build/wine/win64" "$root/build/wine/win32")
for p in "${prefixes[@]}"; do
  WINEPREFIX=$p wineserver -p
  WINEPREFIX=$p wine cmd /c exit </dev/null >/dev/null 2>&1
done
"$@"
rc=$?
for p in "${prefixes[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null; done
exit $rc

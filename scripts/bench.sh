#!/usr/bin/env bash
# Runs the benchmarks under Wine (64-bit prefix) and prints their ratios.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINEDEBUG=-all WINEPREFIX=$root/build/wine/win64 wine "$root/build/bin/wendrel_bench.exe" "$@"

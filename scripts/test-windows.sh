#!/usr/bin/env bash
# Cross-builds the platform layer, the core and their tests for 64-bit Windows with MinGW-w64,
# runs every test program under Wine in a fresh prefix, and ends with one summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --windows

build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Debug \
    -DKOTORI_UI=OFF -DKOTORI_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

# A fresh prefix each run: no registry values or files left from an earlier one.
export WINEPREFIX="$PWD/$build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or browser engine to install
if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true # this prefix's server, still saving the last run's registry
    wineserver -w 2>/dev/null || true
fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# One server for the set-up and all the programs; ended below. Wine's own background programs
# must not keep this script's output open.
wineserver -p 30 >/dev/null 2>&1
wineboot -i >/dev/null 2>&1

logs="$build/logs"
rm -rf "$logs"
mkdir -p "$logs"
passed=0 skipped=0 failed=0
for program in "$build"/tests/test_*.exe; do
    name=$(basename "$program" .exe)
    status=0
    (cd "$build/tests" && wine "./$name.exe") >"$logs/$name.log" 2>&1 || status=$?
    tr -d '\r' <"$logs/$name.log" >"$logs/$name.txt"
    count() { sed -n "s/^\[  $1 *\] \([0-9]*\) tests\?[.,].*/\1/p" "$logs/$name.txt" | head -1; }
    p=$(count PASSED) s=$(count SKIPPED) f=$(count FAILED)
    p=${p:-0} s=${s:-0} f=${f:-0}
    if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then
        f=1 # ended without a result: a crash counts as a failure
    fi
    echo "$name: $p passed, $f failed, $s skipped"
    if [ "$f" -ne 0 ]; then
        grep -E -A8 '^\[  FAILED  \]|Failure' "$logs/$name.txt" | head -60 || true
    fi
    passed=$((passed + p)) skipped=$((skipped + s)) failed=$((failed + f))
done
wineserver -k 2>/dev/null || true
echo "Windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]

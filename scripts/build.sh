#!/usr/bin/env bash
# Configures (once) and builds the cross tree (plug-in, simulator, Win32 tests)
# and, unless given "cross", the native tree (unit tests, fuzz target, benchmark).
# A build that has work to do says so in one line with its time; an up-to-date
# tree says nothing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
what="${1:-all}"

# build TREE WHAT CMAKE-OPTIONS...
build() {
    local tree=$1 title=$2 start=$SECONDS log
    shift 2
    if [ ! -f "$tree/build.ninja" ]; then
        cmake -S . -B "$tree" -G Ninja "$@" >/dev/null
    fi
    log=$(mktemp)
    if ! ninja -C "$tree" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "build: $title in $tree failed" >&2
        exit 1
    fi
    grep -q '^ninja: no work to do' "$log" || echo "build: $title ($((SECONDS - start)) s)" >&2
    rm -f "$log"
}

build build/win32 "plug-in, simulator and Win32 tests" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
if [ "$what" = all ]; then
    build build/native "native tests, fuzz target and benchmark" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
fi

#!/usr/bin/env bash
# Configures (once) and builds the cross tree (plug-in, simulator, Win32 tests)
# and, unless given "cross", the native tree (unit tests, fuzz target, benchmark).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
what="${1:-all}"

if [ ! -f build/win32/build.ninja ]; then
    cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
fi
ninja -C build/win32 >/dev/null || ninja -C build/win32

if [ "$what" = all ]; then
    if [ ! -f build/native/build.ninja ]; then
        cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    fi
    ninja -C build/native >/dev/null || ninja -C build/native
fi

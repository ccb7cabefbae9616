#!/usr/bin/env bash
# Installs what the build and the tests need, skipping what is already present.
# Safe to run again: every step checks before it acts.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
pkg_ok wine32:i386 || need+=(wine32:i386)
have wine || need+=(wine)
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have clang++ || need+=(clang)
have llvm-readobj || need+=(llvm)
have tmux || need+=(tmux)
have python3 || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
ls /usr/lib/llvm-14/lib/clang/14*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${need[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
# One i386 index of the security suite may fail to download; the rest is usable.
$SUDO apt-get update -q >/dev/null 2>&1 || true
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q -t bookworm --no-install-recommends "${need[@]}" >/dev/null

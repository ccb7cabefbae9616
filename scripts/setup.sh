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
pkg_ok python3-pefile || need+=(python3-pefile)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
ls /usr/lib/llvm-14/lib/clang/14*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
install() {
    echo "setup: installing $*" >&2
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    # One i386 index of the security suite may fail to download; the rest is usable.
    $SUDO apt-get update -q >/dev/null 2>&1 || true
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q -t bookworm --no-install-recommends "$@" >/dev/null
}

[ ${#need[@]} -eq 0 ] || install "${need[@]}"

# Wine's loader is a 32-bit Linux program. Where the kernel does not run those
# itself, qemu's user-mode emulator does, through binfmt_misc.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    [ -x /usr/bin/qemu-i386-static ] || install qemu-user-static
    [ -d /proc/sys/fs/binfmt_misc ] && [ -e /proc/sys/fs/binfmt_misc/register ] ||
        $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        echo 1 | $SUDO tee /proc/sys/fs/binfmt_misc/qemu-i386 >/dev/null
    else
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "setup: cannot run 32-bit Wine here" >&2; exit 1; }
fi

#!/usr/bin/env bash
# Installs what the build and the tests need, skipping what is already present.
# Safe to run again: every step checks before it acts, and a step that does
# work says so in one line with its time; a machine that has everything hears
# nothing.
set -euo pipefail

have() { command -v "$1" >/dev/null 2>&1; }
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
started=$SECONDS
say() { echo "setup: $* ($((SECONDS - started)) s)" >&2; started=$SECONDS; }

# --- Can this kernel run 32-bit programs itself? ---------------------------
# Wine's loader is a 32-bit Linux program. Where the kernel runs no 32-bit
# code, qemu's user-mode emulator runs it through binfmt_misc. A 93-byte
# 32-bit program that only exits tells which kind of machine this is, before
# anything is installed; run with QEMU_VERSION set, an emulator registered
# for it prints its version instead (binfmt_misc comes before the kernel's
# own loader, so a registered emulator runs it either way).
probe=$(mktemp "${TMPDIR:-/tmp}/korvandilek-probe.XXXXXX")
trap 'rm -f "$probe"' EXIT
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200' >"$probe"
chmod +x "$probe"
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386
entry_on() { [ -e "$entry" ] && head -n1 "$entry" | grep -qx enabled; }
# The version number in qemu's answer to --version (or QEMU_VERSION).
version_of() { sed -n 's/^qemu-i386 version \([0-9.]*\).*/\1/p'; }
# The version of the emulator the kernel runs 32-bit programs with ("" when none).
registered_version() { QEMU_VERSION=1 "$probe" 2>/dev/null | version_of; }
emulated=0
if entry_on || ! "$probe" 2>/dev/null; then
    emulated=1
fi

# --- Packages ------------------------------------------------------------
need=()
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

# An emulator that keeps up: qemu before 8.1 walks its page table page by
# page over the large regions Wine reserves, and each Wine start costs about
# a minute. Debian 12 has 7.2; its bookworm-backports suite has a newer one.
qemu=/usr/bin/qemu-i386-static
QEMU_GOOD=8.1
version_ok() { [ -n "$1" ] && dpkg --compare-versions "$1" ge "$QEMU_GOOD"; }
installed_qemu() { [ -x "$qemu" ] && "$qemu" --version 2>/dev/null | version_of; }
backports=()
if [ "$emulated" = 1 ]; then
    # The server, run natively, keeps the session up; the 32-bit programs
    # still run through wine32 (/usr/lib/wine/wineserver prefers wineserver64).
    pkg_ok wine64 || need+=(wine64)
    version_ok "$(installed_qemu)" || backports=(qemu-user-static qemu-user qemu-user-binfmt)
fi

# Debian's backports suite, at the address and with the keyring of the
# machine's own Debian source (deb822 or one-line form): nothing of the
# archive's is written into the project.
backports_list=/etc/apt/sources.list.d/korvandilek-backports.sources
write_backports_source() {
    [ -f "$backports_list" ] && return 0
    local uri="" keyring=""
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        # The first stanza that offers the bookworm suite itself.
        read -r uri keyring < <(awk '
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { if (suite && uri != "") { print uri, key; exit } uri = ""; key = ""; suite = 0; next }
            tolower($1) == "uris:" { uri = $2 }
            tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == "bookworm") suite = 1 }
            tolower($1) == "signed-by:" { key = $2 }
            END { if (suite && uri != "") print uri, key }' "$file") || true
        [ -n "$uri" ] && break
    done
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        read -r uri keyring < <(awk '
            $1 == "deb" {
                key = ""; n = 2
                if ($2 ~ /^\[/) { for (; n <= NF; n++) { if ($n ~ /signed-by=/) { key = $n; sub(/.*signed-by=/, "", key); sub(/\]$/, "", key) } if ($n ~ /\]$/) { n++; break } } }
                if ($(n + 1) == "bookworm") { print $n, key; exit }
            }' /etc/apt/sources.list) || true
    fi
    [ -n "$uri" ] || return 1
    {
        echo "Types: deb"
        echo "URIs: $uri"
        echo "Suites: bookworm-backports"
        echo "Components: main"
        [ -z "$keyring" ] || echo "Signed-By: $keyring"
    } | $SUDO tee "$backports_list" >/dev/null
}

apt_update() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    # One i386 index of the security suite may fail to download; the rest is usable.
    $SUDO apt-get update -q >/dev/null 2>&1 || true
}
apt_install() {
    local log status=0
    log=$(mktemp)
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "$@" >"$log" 2>&1 || status=$?
    [ "$status" = 0 ] || { cat "$log" >&2; echo "setup: apt-get install $* failed" >&2; }
    rm -f "$log"
    return "$status"
}

if [ ${#backports[@]} -gt 0 ]; then
    write_backports_source || echo "setup: no Debian source found to take the backports suite's address from" >&2
fi
if [ ${#need[@]} -gt 0 ] || [ ${#backports[@]} -gt 0 ]; then
    echo "setup: installing${need[*]:+ ${need[*]}}${backports:+ ${backports[0]} from bookworm-backports}" >&2
    apt_update
    offered=$(apt-cache policy qemu-user-static 2>/dev/null || true)
    if [ ${#backports[@]} -gt 0 ] && ! grep -Eq '^ +[0-9]+ .*bookworm-backports' <<<"$offered"; then
        echo "setup: the bookworm-backports suite cannot be reached: Wine's loader runs under Debian 12's qemu 7.2, and every Wine start takes about a minute" >&2
        backports=()
        warned=1
        [ -x "$qemu" ] || need+=(qemu-user-static)
    fi
    # The backports suite is asked for by name only for the emulator; all
    # else comes from Debian 12 itself.
    [ ${#need[@]} -eq 0 ] || apt_install -t bookworm "${need[@]}"
    [ ${#backports[@]} -eq 0 ] || apt_install "${backports[@]/%//bookworm-backports}"
    say "packages: ${#need[@]} from Debian 12${backports:+, the emulator $(installed_qemu) from bookworm-backports}"
fi

# --- The emulator's binfmt entry ------------------------------------------
if [ "$emulated" = 1 ]; then
    [ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
    # Flag F: the kernel keeps the interpreter file that was open when the
    # entry was registered, so an upgraded package changes nothing until the
    # entry is registered anew. Ask the registered emulator its version (none
    # when the entry is off: it is then registered anew too).
    want=$(installed_qemu)
    have_now=""
    entry_on && have_now=$(registered_version)
    if [ ! -e "$entry" ] || [ "$have_now" != "$want" ]; then
        [ ! -e "$entry" ] || echo -1 | $SUDO tee "$entry" >/dev/null
        printf '%s' ":qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$(readlink -f "$qemu"):F" |
            $SUDO tee "$binfmt/register" >/dev/null
        say "emulator: qemu $(registered_version) registered for 32-bit programs${have_now:+ (was $have_now)}"
    fi
    version_ok "$(registered_version)" || [ -n "${warned:-}" ] ||
        echo "setup: 32-bit programs run under qemu $(registered_version): every Wine start takes about a minute" >&2
fi
/usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "setup: cannot run 32-bit Wine here" >&2; exit 1; }

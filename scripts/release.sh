#!/usr/bin/env bash
# Builds the plug-in from the checkout and writes the release to dist/:
#   korvandilek.dll        the plug-in without its debug sections, with a debug
#                          link to the file beside it and its checksum set;
#   korvandilek.dll.debug  its debug information;
#   SHA256SUMS             both files' digests, for `sha256sum -c`.
# The same commit gives the same bytes wherever the checkout lies.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh

# The tree that ./run and ./test use: what ships is what was tested.
if [ ! -f build/win32/build.ninja ]; then
    cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
fi
ninja -C build/win32 korvandilek >/dev/null || ninja -C build/win32 korvandilek
built="$PWD/build/win32/bin/korvandilek.dll"

rm -rf dist
mkdir dist
cd dist
# objcopy stamps the PE header with the time of day unless told a date.
export SOURCE_DATE_EPOCH=0
i686-w64-mingw32-objcopy --only-keep-debug "$built" korvandilek.dll.debug
# The link holds the debug file's name and CRC, read from the current folder.
i686-w64-mingw32-objcopy --strip-debug --add-gnu-debuglink=korvandilek.dll.debug \
    "$built" korvandilek.dll
python3 ../scripts/peChecksum.py korvandilek.dll
sha256sum korvandilek.dll korvandilek.dll.debug >SHA256SUMS
echo "release: $(pwd)" >&2
cat SHA256SUMS >&2

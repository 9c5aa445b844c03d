#!/usr/bin/env bash
# Installs Zolvek into a temporary prefix and builds the consumer project against
# it: headers land in the build tree with the right sizes, an edited source is
# converted again, a faulty source fails the build with Zolvek's message, and two
# sources with one base name are refused at configure time. Then the same
# consumer builds with Zolvek taken in by add_subdirectory, and both ways again as
# a cross build for a bare-metal ARM target.
set -euo pipefail
zolvek_build=$1
zolvek_source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$zolvek_build" --prefix "$work/prefix" >/dev/null
cp -r "$zolvek_source/tests/consumer" "$work/src"
bash "$zolvek_source/tests/compile/prelude.sh" >"$work/src/prelude.h"

code_size() { sed -n 's|^// Code Size:  \([0-9]*\) bytes$|\1|p' "$(find "$1" -name "$2.h")"; }
build_and_check() {
  cmake --build "$1" >"$work/log" 2>&1 || { cat "$work/log"; return 1; }
  [ "$("$1/consumer")" = "$(code_size "$1" first) $(code_size "$1" second)" ] ||
    { echo "array sizes $("$1/consumer") differ from the code sizes"; return 1; }
}
configure() { cmake -S "$work/src" -B "$@" >"$work/log" 2>&1; }

configure "$work/b" -DCMAKE_PREFIX_PATH="$work/prefix" || { cat "$work/log"; exit 1; }
build_and_check "$work/b"
if [ -n "$(find "$work/src" -name '*.h' ! -name prelude.h)" ]; then
  echo "a header was written into the source tree"
  exit 1
fi

sed -i 's/^END;$/ADDREGS;\nEND;/' "$work/src/first.ep"
build_and_check "$work/b"
[ "$(code_size "$work/b" first)" = 34 ] || { echo "first.h was not converted again"; exit 1; }

configure "$work/faulty" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_FAULTY=ON
if cmake --build "$work/faulty" >"$work/log" 2>&1; then
  echo "the build with a faulty source succeeded"
  exit 1
fi
grep -q "^$work/src/faulty.ep:3: error: invalid statement 'BOGUS'" "$work/log" ||
  { cat "$work/log"; echo "Zolvek's diagnostic is missing from the build output"; exit 1; }
echo "faulty source: the build failed with Zolvek's message"

if configure "$work/dup" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_DUPLICATE=ON; then
  echo "two sources with one base name were accepted"
  exit 1
fi
tr -s ' \n' ' ' <"$work/log" | grep -q "which another source of this target already writes" ||
  { cat "$work/log"; exit 1; }
echo "duplicate base name: refused at configure time"

configure "$work/sub" -DZOLVEK_SOURCE_DIR="$zolvek_source" || { cat "$work/log"; exit 1; }
build_and_check "$work/sub"

command -v arm-none-eabi-gcc >/dev/null || { echo "skipped the cross builds: no arm-none-eabi-gcc"; exit 0; }
sizes="$(code_size "$work/b" first);$(code_size "$work/b" second)"
for route in -DZolvek_DIR="$work/prefix/lib/cmake/Zolvek" -DZOLVEK_SOURCE_DIR="$zolvek_source"; do
  configure "$work/arm${route%%=*}" "$route" -DCONSUMER_SIZES="$sizes" \
    -DCMAKE_TOOLCHAIN_FILE="$zolvek_source/tests/consumer/arm-none-eabi.cmake" &&
    cmake --build "$work/arm${route%%=*}" >>"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  echo "cross build for arm-none-eabi with $route: sizes $sizes asserted"
done

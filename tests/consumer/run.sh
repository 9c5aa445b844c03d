#!/usr/bin/env bash
# Installs Zolvek into a temporary prefix and builds the consumer project against
# it: headers land in the build tree with the right sizes and C names (and the
# options' macros, listing and #line directives where asked for), an edited
# source is converted again, a faulty source fails the build with Zolvek's
# message, and two sources with one array name are refused at configure time.
# Then the same consumer builds with Zolvek taken in by add_subdirectory, and both
# ways again as a cross build for a bare-metal ARM target (skipped, status 77,
# without arm-none-eabi-gcc): with the cross compilers in CC and CXX and a Zolvek
# of the same version on the PATH, the host Zolvek is built from the bundled
# sources, again after a change to them and only then, and a wrong
# ZOLVEK_EXECUTABLE fails at configure time.
set -euo pipefail
zolvek_build=$1
zolvek_source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$zolvek_build" --prefix "$work/prefix" >/dev/null
cp -r "$zolvek_source/tests/consumer" "$work/src"
bash "$zolvek_source/tests/compile/prelude.sh" >"$work/src/prelude.h"
# A copy of Zolvek's sources, which the test may touch.
mkdir "$work/zolvek" && cp -r "$zolvek_source"/{CMakeLists.txt,src,cmake,man,README.md} "$work/zolvek"

fail() { cat "$work/log"; echo "$*"; exit 1; }
code_size() { sed -n 's|^// Code Size:  \([0-9]*\) bytes$|\1|p' "$(find "$1" -name "$2.h")"; }
code_sizes() { for a in first second no rtc_wake _2nd; do printf "%s " "$(code_size "$1" $a)"; done; }
build_and_check() {
  cmake --build "$1" >"$work/log" 2>&1 || fail "the build failed"
  [ "$("$1/consumer") " = "$(code_sizes "$1")" ] || fail "array sizes $("$1/consumer") differ from the code sizes"
}
configure() { cmake -S "$work/src" -B "$@" >"$work/log" 2>&1; }

configure "$work/b" -DCMAKE_PREFIX_PATH="$work/prefix" || fail "configure failed"
build_and_check "$work/b"
[ -z "$(find "$work/src" -name '*.h' ! -name prelude.h)" ] || fail "a header was written into the source tree"
grep -qx "#line 1 \"$work/src/rtc-wake.ep\"" "$(find "$work/b" -name rtc_wake.h)" &&
  grep -q "^code size   $(code_size "$work/b" rtc_wake) bytes" "$(find "$work/b" -name rtc_wake.lst)" ||
  fail "DEFINES, LISTING and LINE_DIRECTIVES did not reach rtc_wake.h and rtc_wake.lst"

sed -i 's/^END;$/ADDREGS;\nEND;/' "$work/src/first.ep"
build_and_check "$work/b"
[ "$(code_size "$work/b" first)" = 34 ] || fail "first.h was not converted again"

configure "$work/faulty" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_FAULTY=ON
! cmake --build "$work/faulty" >"$work/log" 2>&1 || fail "the build with a faulty source succeeded"
grep -q "^$work/src/faulty.ep:3: error: invalid statement 'BOGUS'" "$work/log" ||
  fail "Zolvek's diagnostic is missing from the build output"
echo "faulty source: the build failed with Zolvek's message"

! configure "$work/dup" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_DUPLICATE=ON ||
  fail "two sources with one array name were accepted"
tr -s ' \n' ' ' <"$work/log" | grep -q "'other/first.ep' and 'first.ep' would both write First.h" || fail
echo "duplicate array name: refused at configure time"
! configure "$work/end" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_MNEMONIC=ON ||
  fail "END.ep was accepted"
tr -s ' \n' ' ' <"$work/log" | grep -q "'END' from 'END.ep' is an instruction name" || fail
echo "a name that is a mnemonic: refused at configure time"
! configure "$work/clash" -DCMAKE_PREFIX_PATH="$work/prefix" -DCONSUMER_DECLARATIONS_CLASH=ON ||
  fail "a header named as another's declarations was accepted"
tr -s ' \n' ' ' <"$work/log" | grep -q "would both write rtc_wake_decl.h" || fail
echo "a header named as another's declarations: refused at configure time"

configure "$work/sub" -DZOLVEK_SOURCE_DIR="$work/zolvek" || fail "configure failed"
build_and_check "$work/sub"

command -v arm-none-eabi-gcc >/dev/null || { echo "skipped the cross builds: no arm-none-eabi-gcc"; exit 77; }
sizes=$(code_sizes "$work/b" | sed 's/ $//; s/ /;/g')
cross=(-DCONSUMER_SIZES="$sizes" -DCMAKE_TOOLCHAIN_FILE="$work/src/arm-none-eabi.cmake")
configure "$work/arm-package" -DZolvek_DIR="$work/prefix/lib/cmake/Zolvek" "${cross[@]}" &&
  cmake --build "$work/arm-package" >>"$work/log" 2>&1 || fail "cross build with the package failed"
export CC=arm-none-eabi-gcc CXX=arm-none-eabi-g++ # as many cross builds set them
# A Zolvek of the same version on the PATH: the bundled sources are built all the same.
PATH="$work/prefix/bin:$PATH" configure "$work/arm-sub" -DZOLVEK_SOURCE_DIR="$work/zolvek" "${cross[@]}" &&
  grep -q "Zolvek: building" "$work/log" || fail "add_subdirectory took the PATH's Zolvek"
cmake --build "$work/arm-sub" >>"$work/log" 2>&1 || fail "cross build with add_subdirectory failed"
echo "cross builds for arm-none-eabi, CC and CXX set to it: sizes $sizes asserted, the bundled sources built"

touch "$work/zolvek/src/translator.cpp"
cmake --build "$work/arm-sub" >"$work/log" 2>&1 || fail "the build after a change to Zolvek failed"
grep -q "Performing build step for 'zolvek_host'" "$work/log" && grep -q "Converting first.ep" "$work/log" ||
  fail "a change to Zolvek's sources did not rebuild it and the headers"
cmake --build "$work/arm-sub" >"$work/log" 2>&1
! grep -q "Performing build step\|Converting" "$work/log" || fail "a second build did work"
echo "host Zolvek: built again after a change to its sources, and only then"

! configure "$work/arm-wrong" -DZOLVEK_SOURCE_DIR="$work/zolvek" -DZOLVEK_EXECUTABLE="$work/none" \
  "${cross[@]}" || fail "a missing ZOLVEK_EXECUTABLE was accepted"
tr -s ' \n' ' ' <"$work/log" | grep -q "ZOLVEK_EXECUTABLE '$work/none': it does not run; this build needs Zolvek" ||
  fail "no message for a wrong ZOLVEK_EXECUTABLE"
echo "wrong ZOLVEK_EXECUTABLE: refused at configure time"

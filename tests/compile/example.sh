#!/usr/bin/env bash
# Compiles the README's worked macro example with a header that uses it, and
# checks that a value out of its operand's range stops the compile.
# Usage: example.sh ZOLVEK
set -euo pipefail
zolvek=$(realpath "$1")
readme=$(realpath "$(dirname "$0")/../../README.md")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
sed -n '/^\/\* ep_example.h:/,/^```$/p' "$readme" | sed '$d' >ep_example.h
for value in 0x12 0x1FF; do
  printf '// ORIGIN 0\nWRREG8(AREG15_8, 0x34);\nLDAREG8(%s);\nEND;\n' "$value" >prog.ep
  "$zolvek" -q -n prog --defines prog.ep
  printf '#define END 0\n#include "ep_example.h"\n#include "prog.h"\n%s\n' \
    'int main(void) { return !(sizeof prog == 5 && prog[0] == 0x81 && prog[1] == 0x34 && prog[3] == 0x12); }' >use.c
  if gcc -std=c99 -Wall -Werror use.c -o use 2>err; then compiled=yes; else compiled=no; fi
  [ $compiled = no ] || ./use || { echo "the example's bytes are not the statements'"; exit 1; }
  expected=yes && [ $value = 0x12 ] || expected=no
  [ $compiled = $expected ] || { cat err; echo "LDAREG8($value): compiled $compiled"; exit 1; }
done
echo "the README's macro example: compiled with its parameters, and LDAREG8(0x1FF) refused"

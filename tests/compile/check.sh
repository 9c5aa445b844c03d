#!/usr/bin/env bash
# Converts sources that use every mnemonic, compiles each header as C99 with
# stub macros sized like the instructions, and checks that the array holds
# exactly the code size printed (plus the END the converter appended itself).
set -euo pipefail
bin=$1
cc=$2
dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir"/*.ep "$dir/prelude.h" "$dir/main.c" "$work/"
cd "$work"

check() {
  local name=$1 appended_end=$2
  "$bin" "$name.ep" >stdout
  local code_size
  code_size=$(sed -n 's/^Code Size:  \([0-9]*\) bytes$/\1/p' stdout)
  "$cc" -std=c99 -Wall -Werror -DHEADER="\"$name.h\"" -DARRAY="$name" -o "$name" main.c
  local array_size
  array_size=$(./"$name")
  if [ "$array_size" != "$((code_size + appended_end))" ]; then
    echo "$name: sizeof is $array_size, code size printed is $code_size (+$appended_end)"
    return 1
  fi
  echo "$name: $array_size bytes"
}
check all_mnemonics 0
check without_end 1

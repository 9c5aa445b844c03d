#!/usr/bin/env bash
# Converts sources that use every mnemonic and every first-parameter name, and
# compiles each header with stub macros sized like the instructions: the array
# must hold exactly the code size printed (plus the END appended to a source
# without one).
set -euo pipefail
bin=$1
cc=$2
dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir"/*.ep "$dir/prelude.h" "$work/"
cd "$work"
for name in all_mnemonics without_end; do
  code_size=$("$bin" "$name.ep" | sed -n 's/^Code Size:  \([0-9]*\) bytes$/\1/p')
  appended=0
  grep -q '^END;' "$name.ep" || appended=1
  printf '#include "prelude.h"\n#include "%s.h"\n_Static_assert(sizeof %s == %s + %s, "%s");\n' \
    "$name" "$name" "$code_size" "$appended" "array size is not the code size printed" |
    "$cc" -std=c11 -pedantic-errors -Wall -Werror -fsyntax-only -x c -
  echo "$name: $code_size bytes"
done

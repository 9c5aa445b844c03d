#!/usr/bin/env bash
# Writes the instruction macros that the README gives its users, so that every
# compile check compiles that very text: each macro expands to exactly as many
# bytes as its instruction occupies, so the size of a converted array must equal
# the code size the converter printed.
sed -n '/^\/\* ep_macros.h:/,/^```$/p' "$(dirname "$0")/../../README.md" | sed '$d'

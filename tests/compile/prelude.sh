#!/usr/bin/env bash
# Writes test-only stand-ins for the instruction macros: each expands to exactly
# as many bytes as its instruction occupies, so the size of a converted array
# must equal the code size the converter printed. A parameterless instruction may
# be written bare or with "()": bare, ZV_NO_ARGS is the enum constant; followed
# by "()", the function-like macro.
printf '#include <stdint.h>\n#define ZV_NO_ARGS() 0\nenum { ZV_NO_ARGS = 0 };\n'
for entry in LDADDR:1:4 RDREG8I:2:2 RDREG8:2:2 RDREG16:2:2 RDREG32:2:2 WRREG8:2:2 WRREG16:2:2 \
  WRREG32:2:2 WAITEVENT:1:1 NIBBLEMULT:1:1 BYTEMULT:1:1 ADDREGS:0:1 ADDA:1:2 BCDCONV:0:1 \
  SHIFTRIGHTA:1:1 END:0:1 LDAREG8:1:2 LDAREG16:1:4 LDAREG32:1:8 LDBREG8:1:2 LDBREG16:1:4 \
  LDBREG32:1:8 VALWR8D:2:8 VALWR16D:2:10 VALWR32D:2:14 REGRD8D:2:6 REGRD16D:2:6 REGRD32D:2:6 \
  REGWR8D:2:6 REGWR16D:2:6 REGWR32D:2:6 REGRD8BI:1:30 REGRD16BI:1:30 REGRD32BI:0:30 \
  REGWR8BI:1:30 REGWR16BI:1:30 REGWR32BI:0:30; do
  IFS=: read -r name count size <<<"$entry"
  params=("" "(a)" "(a, b)")
  bytes=$(for _ in $(seq $((size - 1))); do printf '0, '; done)
  if [ "$count" = 0 ]; then
    echo "#define $name ${bytes}0 + ZV_NO_ARGS"
  else
    echo "#define $name${params[$count]} ${bytes}0"
  fi
done

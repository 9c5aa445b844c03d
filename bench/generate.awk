# Writes a valid Event Processor source of about `mb` megabytes: every mnemonic,
# comments, several statements on a line and some indirect accesses, with CR LF
# line ends when `crlf` is 1; with `lines` set, that many lines instead.
# Usage: awk -v mb=10 -v crlf=0 [-v lines=300] -f generate.awk
BEGIN {
  eol = crlf ? "\r\n" : "\n"
  n = split("LDADDR(0x1234);|RDREG8I(AREG7_0, 1);|RDREG8(BREG31_24, 2);|RDREG16(BREG15_0, 3);|" \
            "RDREG32(AREG31_0, 4);|WRREG8(BREG7_0, 0x12);|WRREG16(AREG31_16, 5);|" \
            "WRREG32(BREG31_0, 6);|WAITEVENT(EP_GPIOINT);|NIBBLEMULT(AREG31_28);|" \
            "BYTEMULT(AREG23_16);|ADDREGS;|ADDA(7);|BCDCONV();|SHIFTRIGHTA(SHIFTRIGHT12);|" \
            "LDAREG8(1);|LDAREG16(2);|LDAREG32(3);|LDBREG8(4);|LDBREG16(5);|LDBREG32(6);|" \
            "VALWR8D(1, 2);|VALWR16D(3, 4);|VALWR32D(5, 6);|REGRD8D(AREG15_8, 1);|" \
            "REGRD16D(BREG31_16, 2);|REGRD32D(BREG31_0, 3);|REGWR8D(BREG23_16, 4);|" \
            "REGWR16D(AREG15_0, 5);|REGWR32D(AREG31_0, 6);|REGRD8BI(AREG31_24);|" \
            "REGRD16BI(AREG15_0);|REGRD32BI;|REGWR8BI(AREG7_0);|REGWR16BI(AREG31_16);|" \
            "REGWR32BI();", stmt, "|")
  limit = mb * 1000000
  size = 0
  line = "// Generated benchmark program" eol "// ORIGIN 0x4000" eol
  printf "%s", line
  size += length(line)
  for (i = 0; lines ? i < lines - 3 : size < limit; i++) {
    k = i % 23
    if (k == 0) {
      line = "// Block " i ": load the address, then write the registers" eol
    } else if (k < 20) {
      # direct instructions (indirect ones are entries 31-36), one to three a line
      line = "    " stmt[1 + (i * 7) % 30]
      if (k % 3 == 0) line = line " " stmt[1 + (i * 11) % 30] " " stmt[1 + (i * 13) % 30]
      if (k % 4 == 0) line = line "   // step " k
      line = line eol
    } else if (k < 22) {
      line = eol
    } else {
      line = "    " stmt[31 + i % 6] "  // indirect" eol
    }
    printf "%s", line
    size += length(line)
  }
  printf "END;%s", eol
}

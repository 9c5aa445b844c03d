const uint8_t statements_echo[] = {
// ORIGIN 0
  LDADDR(0x10),  // start
LDADDR(1),LDADDR(2),
LDADDR (0x10) ,WRREG8( BREG31_24 ,anything ) ,ADDREGS( ),
RDREG8I(AREG7_0,1),RDREG8(BREG7_0,2),VALWR32D(1,2),
BCDCONV, // a;b
LDAREG32(1'000'000), WRREG8(AREG7_0, u8'a' + x1'0' /* ' */), LDADDR(.5'0 + 0x1p-1'0),
LDADDR(x1'2', '3'), LDADDR(0\'1'),
LDADDR(1), ADDREGS , LDADDR (1) ,
LDADDR(1?'a' /* ?? */), LDADDR(?a'b' /* ?? */), LDADDR(1) /* c */,
END( ) // x
};

// Code Size:  82 bytes

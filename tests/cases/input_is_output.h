// Demo program
// ORIGIN 0x4000
WRREG8(AREG7_0, 0x12);  // store
REGRD16BI(AREG15_0);
END;

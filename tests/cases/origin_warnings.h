const uint8_t origin_warnings[] = {
// ORIGIN FFFFFFFF
// ORIGINS
// ORIGIN  	
// ORIGIN
// ORIGIN 0x
// ORIGIN 0xG
// ORIGIN -
// ORIGIN - 1
// ORIGIN 100000000
// ORIGIN : 4000
// ORIGIN Q1
// QORIGIN 5
// ORIGIx 7
ADDREGS,
// ORIGIN 20
	
END
};

// Code Size:  1 bytes

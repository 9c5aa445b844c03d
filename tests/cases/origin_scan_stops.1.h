const uint8_t origin_scan_stops[] = {
//ORIGIN2000
// ORIGINATED here
// ORIGIN 0x4000 // load
//ORIGINALLY 0x3000, moved
// ORIGIN DATA below is for rev B
// ORIGIN 0xDA
// ORIGIN 0x1234_5678_ABCD_EF0123_456789
// ORIGIN 0xDA
LDADDR(1),
END
};

// Code Size:  4 bytes

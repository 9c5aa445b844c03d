const uint8_t origin_scan_stops[] = {
//ORIGIN2000
// ORIGINATED here
END
};

// Code Size:  0 bytes

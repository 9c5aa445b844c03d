const uint8_t stops_after_end[] = {
// ORIGIN 10
END // done
};

// Code Size:  1 bytes

const uint8_t header_comments[] = {
  // hi
// ORIGIN 0x4000
// ORIGIN 100
END
};

// Code Size:  0 bytes

const uint8_t comments_only[] = {
// Just comments
  // ORIGIN 0x00ABCDEF
//
END
};

// Code Size:  0 bytes

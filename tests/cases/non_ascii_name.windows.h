const uint8_t prög[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

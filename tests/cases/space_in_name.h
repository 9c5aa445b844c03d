const uint8_t my prog[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

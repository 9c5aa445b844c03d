const uint8_t my Q prog[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

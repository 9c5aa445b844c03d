const uint8_t prog[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

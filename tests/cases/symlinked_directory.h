const uint8_t link/prog[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

const uint8_t end_without_lf[] = {
// ORIGIN 10
ADDA(1),
END
};

// Code Size:  3 bytes

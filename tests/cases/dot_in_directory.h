const uint8_t dir[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

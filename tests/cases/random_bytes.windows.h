const uint8_t random_bytes[] = {
END
};

// Code Size:  0 bytes

const uint8_t empty_input[] = {
END
};

// Code Size:  0 bytes

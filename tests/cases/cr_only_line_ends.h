const uint8_t cr_only_line_ends[] = {
END
};

// Code Size:  0 bytes

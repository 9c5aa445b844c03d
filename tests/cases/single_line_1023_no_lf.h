const uint8_t single_line_1023_no_lf[] = {
END
};

// Code Size:  0 bytes

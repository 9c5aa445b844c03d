const uint8_t last_line_one_char_no_lf[] = {
// ORIGIN 10
ADDA(1),
END
};

// Code Size:  2 bytes

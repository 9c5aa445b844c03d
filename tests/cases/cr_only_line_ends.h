const uint8_t cr_only_line_ends[] = {
// ORIGIN 4000ADDREGS;END;
END
};

// Code Size:  0 bytes

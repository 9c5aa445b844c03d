const uint8_t last_line_blank_no_lf[] = {
// ORIGIN 0
ADDREGS,
 	 
END
};

// Code Size:  1 bytes

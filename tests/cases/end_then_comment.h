const uint8_t end_then_comment[] = {
// ORIGIN 0
END	 // the end; ADDREGS;
};

// Code Size:  1 bytes

const uint8_t ctrl_z_is_ordinary[] = {
// ORIGIN 0
ADDREGS, // 
END
};

// Code Size:  1 bytes

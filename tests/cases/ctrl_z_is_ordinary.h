const uint8_t ctrl_z_is_ordinary[] = {
// ORIGIN 0
ADDREGS, //  end of file on some systems
END
};

// Code Size:  2 bytes

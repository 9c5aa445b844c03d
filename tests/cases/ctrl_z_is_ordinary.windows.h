const uint8_t ctrl_z_is_ordinary[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

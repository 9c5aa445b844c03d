const uint8_t only_crs[] = {
END
};

// Code Size:  0 bytes

const uint8_t extra_arguments_ignored[] = {
// ORIGIN 0
END
};

// Code Size:  0 bytes

const uint8_t byte_order_mark_only[] = {
END
};

// Code Size:  0 bytes

const uint8_t byte_order_mark[] = {
// ORIGIN 0x10
ADDREGS, // ﻿ elsewhere is an ordinary byte
END
};

// Code Size:  1 bytes

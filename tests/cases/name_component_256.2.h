const uint8_t name_component_256[] = {
// ORIGIN 0x100
LDADDR(1),
END
};

// Code Size:  4 bytes

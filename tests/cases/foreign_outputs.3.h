const uint8_t earlier[] = {

const uint8_t stale[] = {

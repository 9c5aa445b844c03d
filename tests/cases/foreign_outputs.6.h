#pragma once
const uint8_t x[] = {

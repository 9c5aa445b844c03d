/* Declarations of declarations, written by Zolvek */
#ifndef DECLARATIONS_DECLARATIONS_H
#define DECLARATIONS_DECLARATIONS_H

#include <stdint.h>

#define DECLARATIONS_ORIGIN 0x00004000u
#define DECLARATIONS_CODE_SIZE 34u
#define DECLARATIONS_SIZE 35u
#define DECLARATIONS_LABEL_after_load 4u

extern const uint8_t declarations[DECLARATIONS_SIZE];

#endif

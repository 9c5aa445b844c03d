#include <stdio.h>

#include "prelude.h"
#include HEADER

int main(void) {
    printf("%u\n", (unsigned)sizeof(ARRAY));
    return 0;
}

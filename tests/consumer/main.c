/* Prints the size of each converted array; run.sh compares them with the code sizes. */
#include <stdio.h>

#include "prelude.h"

#include "first.h"
#include "second.h"

int main(void) {
    printf("%u %u\n", (unsigned)sizeof first, (unsigned)sizeof second);
    return 0;
}

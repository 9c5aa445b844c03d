#include "prelude.h"

#include "first.h"
#include "second.h"

#ifdef FIRST_SIZE
/* A cross build cannot run what it builds: the sizes are checked as it compiles. */
_Static_assert(sizeof first == FIRST_SIZE && sizeof second == SECOND_SIZE, "array size");
#else
#include <stdio.h>

/* Prints the size of each converted array; run.sh compares them with the code sizes. */
int main(void) {
    printf("%u %u\n", (unsigned)sizeof first, (unsigned)sizeof second);
    return 0;
}
#endif

/* Checks that each converted array holds as many bytes as its code size:
   consumer <first's code size> <second's code size> */
#include <stdio.h>
#include <stdlib.h>

#include "prelude.h"

#include "first.h"
#include "second.h"

static int check(const char* name, size_t size, const char* code_size) {
    if (size != strtoul(code_size, NULL, 10)) {
        printf("%s: sizeof is %u, code size %s\n", name, (unsigned)size, code_size);
        return 1;
    }
    printf("%s: %u bytes\n", name, (unsigned)size);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    return check("first", sizeof first, argv[1]) | check("second", sizeof second, argv[2]);
}

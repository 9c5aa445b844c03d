#include "prelude.h"

#include "_2nd.h"
#include "first.h"
#include "no.h"
#include "rtc_wake.h"
#include "second.h"

/* The layout macros: the array's size, which holds the code and at most an END appended. */
_Static_assert(sizeof rtc_wake == RTC_WAKE_SIZE && sizeof _2nd == _2ND_SIZE &&
                   RTC_WAKE_SIZE - RTC_WAKE_CODE_SIZE <= 1 && _2ND_SIZE - _2ND_CODE_SIZE <= 1,
               "sizes");

#ifdef SIZE_first
/* A cross build cannot run what it builds: the sizes are checked as it compiles. */
_Static_assert(sizeof first == SIZE_first && sizeof second == SIZE_second && sizeof no == SIZE_no &&
                   sizeof rtc_wake == SIZE_rtc_wake && sizeof _2nd == SIZE__2nd,
               "array size");
#else
#include <stdio.h>

extern uint8_t rtc_wake_patched[];
void patch_rtc_wake(uint8_t address);

/* Prints the size of each converted array; run.sh compares them with the code
   sizes. A patch through the declarations must change the byte after the label. */
int main(void) {
    patch_rtc_wake(0x5A);
    if (rtc_wake_patched[RTC_WAKE_LABEL_wake_address + 1] != 0x5A ||
        rtc_wake_patched[RTC_WAKE_LABEL_wake_address] != rtc_wake[RTC_WAKE_LABEL_wake_address]) {
        puts("the patch through rtc_wake_decl.h missed");
        return 1;
    }
    printf("%u %u %u %u %u\n", (unsigned)sizeof first, (unsigned)sizeof second, (unsigned)sizeof no,
           (unsigned)sizeof rtc_wake, (unsigned)sizeof _2nd);
    return 0;
}
#endif

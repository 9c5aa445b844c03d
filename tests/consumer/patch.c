/* Another C file of the firmware: it sees the program only through its
   declarations, and patches an operand in a copy, found by its label. */
#include "rtc_wake_decl.h"

#include <string.h>

uint8_t rtc_wake_patched[RTC_WAKE_SIZE];

void patch_rtc_wake(uint8_t address) {
    memcpy(rtc_wake_patched, rtc_wake, RTC_WAKE_SIZE);
    rtc_wake_patched[RTC_WAKE_LABEL_wake_address + 1] = address;
}

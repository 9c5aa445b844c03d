// The pool of pending outputs that each platform layer keeps: begin_output takes
// a file of it that no caller holds for the output start opens.
#pragma once

#include "platform.h"

#include <cerrno>
#include <cstdio>

template <typename Pending, int N, typename Start>
[[nodiscard]] bool begin_from_pool(Pending (&pool)[N], Start start, FILE* input, const char* path,
                                   FILE** file, Pending** pending, output_refusal* refusal) {
    *file = nullptr;
    *pending = nullptr;
    for (Pending& candidate : pool) {
        if (!candidate.in_use) {
            *pending = &candidate;
            break;
        }
    }
    if (*pending == nullptr) {
        *refusal = OUTPUT_UNAVAILABLE;
        errno = EMFILE;
        return true;
    }
    *file = start(*pending, input, path, refusal);
    (*pending)->in_use = *file != nullptr;
    return *file == nullptr;
}

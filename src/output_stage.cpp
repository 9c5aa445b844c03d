#include "output_stage.h"

#include "diagnostics.h"

#include <cerrno>

bool open_output(output_file which, FILE* input, const char* name, FILE** file) {
    *file = nullptr;
    output_refusal refusal = is_same_file(input, name) ? OUTPUT_IS_INPUT : OUTPUT_UNAVAILABLE;
    errno = ENOENT; // an empty name names no file
    if (refusal == OUTPUT_UNAVAILABLE && name[0] != '\0' &&
        !begin_output(which, input, name, file, &refusal)) {
        return false;
    }
    if (refusal == OUTPUT_IS_INPUT) {
        report(SEVERITY_ERROR, "output file '%s' is the input file\n", name);
    } else if (refusal == OUTPUT_NAME_TOO_LONG) {
        report(SEVERITY_ERROR, "output file name too long\n");
    } else {
        report_failure(errno, "unable to open output file '%s'", name);
    }
    return true;
}

bool complete_output(output_file which, output* buffer, FILE* file, const char* name) {
    const bool write_failed = flush_output(buffer);
    if (!write_failed && !commit_output(which, file)) {
        return false;
    }
    report_failure(write_failed ? buffer->error_number : errno, "error writing output file '%s'",
                   name);
    discard(which, write_failed ? file : nullptr); // commit_output closes it
    return true;
}

void discard(output_file which, FILE* file) {
    undeleted_files undeleted;
    if (!discard_output(which, file, &undeleted)) {
        return;
    }
    if (undeleted.temporary != nullptr) {
        report_failure(undeleted.temporary_reason, "unable to delete output file '%s'",
                       undeleted.temporary);
    }
    if (undeleted.name != nullptr) {
        report_failure(undeleted.name_reason, "unable to delete output file '%s'", undeleted.name);
    }
}

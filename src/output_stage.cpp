// The output files of a run with their messages: the early refusals, and the
// platform's output stage as the driver uses it.
#include "output_stage.h"

#include "diagnostics.h"
#include "listing.h"

#include <cerrno>
#include <cstring>

namespace {

// Whether the first line (ended by an LF or a CR LF) begins with opening and
// ends with closing, whatever stands between: the first line of every header
// and declarations file this program writes, whatever the array's name.
bool first_line_is(const char* start, size_t length, const char* opening, const char* closing) {
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', length));
    if (lf == nullptr) {
        return false;
    }
    const char* end = lf > start && lf[-1] == '\r' ? lf - 1 : lf;
    const size_t line = static_cast<size_t>(end - start);
    const size_t opening_length = std::strlen(opening);
    const size_t closing_length = std::strlen(closing);
    return line >= opening_length + closing_length &&
           std::memcmp(start, opening, opening_length) == 0 &&
           std::memcmp(end - closing_length, closing, closing_length) == 0;
}

// The first line of a listing: its heading row.
bool is_listing_start(const char* start, size_t length) {
    const size_t heading = std::strlen(LISTING_HEADING);
    const size_t end = length > heading && start[heading] == '\r' ? heading + 1 : heading;
    return length > end && start[end] == '\n' && std::memcmp(start, LISTING_HEADING, heading) == 0;
}

} // namespace

bool refuse_output_name(output_file which, FILE* input, const char* name) {
    if (is_reserved_device(name)) {
        report(SEVERITY_ERROR, "output file '%s' is a device\n", name);
        return true;
    }
    if (is_name_too_long(name)) {
        report(SEVERITY_ERROR, "output file name too long\n");
        return true;
    }
    if (is_same_file(input, name)) {
        report(SEVERITY_ERROR, "output file '%s' is the input file\n", name);
        return true;
    }
    // A header's first line holds an array name of at most a path's length.
    static char start[PATH_CAPACITY + 64];
    size_t length = 0;
    const existing_output existing = read_existing_output(name, start, sizeof start, &length);
    if (existing == EXISTING_DIRECTORY || existing == EXISTING_UNREADABLE) {
        report_failure(existing == EXISTING_DIRECTORY ? EISDIR : errno,
                       "unable to open output file '%s'", name);
        return true;
    }
    if (existing == EXISTING_NONE) {
        return false;
    }
    if (which == HEADER_FILE && !first_line_is(start, length, "const uint8_t ", "[] = {")) {
        report(SEVERITY_ERROR, "output file '%s' exists and was not written by Zolvek\n", name);
        return true;
    }
    if (which == LISTING_FILE && !is_listing_start(start, length)) {
        report(SEVERITY_ERROR, "listing file '%s' exists and was not written by Zolvek\n", name);
        return true;
    }
    if (which == DECLARATIONS_FILE &&
        !first_line_is(start, length, "/* Declarations of ", ", written by Zolvek */")) {
        report(SEVERITY_ERROR, "declarations file '%s' exists and was not written by Zolvek\n",
               name);
        return true;
    }
    return false;
}

bool open_output(FILE* input, const char* name, run_output* out) {
    *out = {};
    output_refusal refusal = OUTPUT_UNAVAILABLE;
    errno = ENOENT; // an empty name names no file
    if (name[0] != '\0' && !begin_output(input, name, &out->file, &out->pending, &refusal)) {
        out->name = name;
        return false;
    }
    if (refusal == OUTPUT_IS_INPUT) {
        report(SEVERITY_ERROR, "output file '%s' is the input file\n", name);
    } else if (refusal == OUTPUT_NAME_TOO_LONG) {
        report(SEVERITY_ERROR, "output file name too long\n");
    } else {
        report_failure(errno, "unable to open output file '%s'", name);
    }
    *out = {};
    return true;
}

bool finish_output(output* buffer, run_output* out) {
    if (!flush_output(buffer)) {
        return false;
    }
    report_failure(buffer->error_number, "error writing output file '%s'", out->name);
    discard(out);
    return true;
}

bool commit_outputs(run_output* const* outputs, size_t count) {
    begin_commit();
    size_t committed = 0;
    while (committed < count &&
           !commit_output(outputs[committed]->pending, outputs[committed]->file)) {
        ++committed;
    }
    end_commit(committed == count);
    if (committed == count) {
        for (size_t i = 0; i < count; ++i) {
            *outputs[i] = {};
        }
        return false;
    }
    report_failure(errno, "error writing output file '%s'", outputs[committed]->name);
    for (size_t i = 0; i < count; ++i) {
        // commit_output closed the files up to the one that failed
        if (i <= committed) {
            outputs[i]->file = nullptr;
        }
        discard(outputs[i]);
    }
    return true;
}

void discard(run_output* out) {
    undeleted_files undeleted;
    const bool remains = discard_output(out->pending, out->file, &undeleted);
    *out = {};
    if (!remains) {
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

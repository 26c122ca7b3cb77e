// Fuzzes the "scores" reader: any bytes parse without a fault, and the table they give comes back exactly after it
// is written and read again.
#include <stdlib.h>
#include <string.h>
#include "rules/high_scores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    char first[SCORES_BYTES_MAX], again[SCORES_BYTES_MAX];
    memset(high_scores, 0, sizeof high_scores);
    parse_high_scores((const char *)data, size);
    size_t length = format_high_scores(first);
    memset(high_scores, 0x5a, sizeof high_scores);  // so that every score must really be read again
    parse_high_scores(first, length);
    if (format_high_scores(again) != length || memcmp(first, again, length) != 0)
        abort();
    return 0;
}

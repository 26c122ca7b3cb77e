// Fuzzes the "scores" loader: any bytes load without a fault, and the table
// they give comes back exactly after a save and a load.
#include <stdlib.h>
#include <string.h>
#include "rules/high_scores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    memset(high_scores, 0, sizeof high_scores);
    FILE *in = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    read_high_scores(in);
    fclose(in);
    HighScoreEntry first[HIGH_SCORE_ROWS];
    memcpy(first, high_scores, sizeof first);
    static char saved[HIGH_SCORE_ROWS * (NAME_FIELD + 12) + 1];  // a score and its line feed: 12 bytes at most
    FILE *out = fmemopen(saved, sizeof saved, "wb");
    if (!write_high_scores(out) || fflush(out) != 0)
        abort();
    long length = ftell(out);
    fclose(out);
    memset(high_scores, 0x5a, sizeof high_scores);  // so that every score must really be read again
    in = fmemopen(saved, (size_t)length, "rb");
    read_high_scores(in);
    fclose(in);
    if (memcmp(first, high_scores, sizeof first) != 0)
        abort();
    return 0;
}

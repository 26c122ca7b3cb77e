// Fuzzes the "scores" loader: any bytes load without a fault, and a table
// saved and loaded again comes back exactly as it was first loaded.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "rules/high_scores.h"

static void load_from(const void *bytes, size_t size) {
    FILE *in = fmemopen(const_cast<void *>(bytes), size, "rb");
    if (!in)
        abort();
    read_high_scores(in);
    fclose(in);
}

static void expect_same(const HighScoreEntry *first) {
    for (int i = 0; i < HIGH_SCORE_ROWS; i++) {
        if (memcmp(first[i].name, high_scores[i].name, NAME_FIELD) != 0 || first[i].score != high_scores[i].score) {
            fprintf(stderr, "row %i differs after a save and a load: score %i became %i\n", i, (int)first[i].score,
                    (int)high_scores[i].score);
            abort();
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    memset(high_scores, 0, sizeof high_scores);
    load_from(data, size);
    HighScoreEntry first[HIGH_SCORE_ROWS];
    memcpy(first, high_scores, sizeof first);

    // Ten records of a name and at most eleven characters of score.
    static char saved[HIGH_SCORE_ROWS * (NAME_FIELD + 12) + 1];
    FILE *out = fmemopen(saved, sizeof saved, "wb");
    if (!out || !write_high_scores(out) || fflush(out) != 0)
        abort();
    long length = ftell(out);
    fclose(out);

    // Scores must really be read back, not left over from the first load.
    memset(high_scores, 0x5a, sizeof high_scores);
    load_from(saved, (size_t)length);
    expect_same(first);
    return 0;
}

// The top ten on disk: "scores" read at start-up, written after each entry.
#include "game/scores_file.h"
#include "platform/files.h"
#include "rules/high_scores.h"

namespace {

const char SCORES_FILE[] = "scores";
// Far more than the game ever writes: a longer file is read as its start.
enum { READ_MAX = 4096 };

}  // namespace

void load_high_scores(void) {
    char bytes[READ_MAX];
    long size = plat_read_file(SCORES_FILE, bytes, sizeof bytes);
    if (size >= 0) {
        parse_high_scores(bytes, (size_t)size);
        return;
    }
    for (HighScoreEntry &row : high_scores) {
        row.name[0] = '\0';
        row.score = 0;
    }
}

void save_high_scores(void) {
    char bytes[SCORES_BYTES_MAX];
    plat_save_file(SCORES_FILE, bytes, format_high_scores(bytes));
}

// The top-ten table, qualification and insertion, and the bytes of its file
// "scores". Nothing here touches SDL or the disk.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum { HIGH_SCORE_ROWS = 10, NAME_FIELD = 20, NAME_LONGEST = 19 };
// The most bytes a table is written as: each row's name field and the
// widest 32-bit score in "%6i\n", 12 bytes.
enum { SCORES_BYTES_MAX = HIGH_SCORE_ROWS * (NAME_FIELD + 12) };

struct HighScoreEntry {
    char name[20];
    int32_t score;
};

extern HighScoreEntry high_scores[10];
extern int new_entry_row[2];  // row of each player's last entry, -1 none

// Copies at most 19 bytes, stopping after the source's NUL, padding with NUL;
// never writes the 20th byte of the destination. Used by every copy of a
// name into a row or a player record (insertion, name entry).
void copy_name(char *dest, const char *src);
// Called by the game flow for each player's final score: beats row 9?
int score_qualifies(int score);
// Called by name entry on accept. Returns the row used, or -1.
int insert_high_score(int player, const char *name, int score);

// The file's two halves, used by load_high_scores and save_high_scores and
// by the fuzzer. parse_high_scores fills the rows in file order from the
// file's bytes; format_high_scores writes the table's bytes into `out`,
// which holds SCORES_BYTES_MAX, and returns their count.
void parse_high_scores(const char *bytes, size_t size);
size_t format_high_scores(char *out);

// A reading place in a file's bytes: a byte past the end reads as -1.
struct ScoresText {
    const char *bytes;
    size_t size, at;
};
// One score field: white space, then "%6i" notation (sign, decimal, 0x hex,
// leading-0 octal, at most six characters); a decimal field that fills all six
// and goes on in digits up to the line feed (or the end) is read whole,
// clamped to 32 bits. Returns 1 and sets *score when a number was read.
int read_score_field(ScoresText *in, int32_t *score);

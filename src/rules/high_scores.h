// The top-ten table, its file "scores", qualification and insertion.
// Nothing here touches SDL.
#pragma once
#include <stdint.h>
#include <stdio.h>

enum { HIGH_SCORE_ROWS = 10, NAME_FIELD = 20, NAME_LONGEST = 19 };

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
// Called once by the entry routine before the display comes up: fills the
// table from "scores", or empties it silently when there is no such file.
void load_high_scores(void);
// Called by the game flow after every name entry. Replaces a plain "scores"
// whole or not at all (through "scores.tmp" and a rename), writes a link, a
// shared file or one in a read-only folder in place, never touches one the
// player may not write; failure is silent.
void save_high_scores(void);
// Called by the game flow for each player's final score: beats row 9?
int score_qualifies(int score);
// Called by name entry on accept. Returns the row used, or -1.
int insert_high_score(int player, const char *name, int score);

// The file's two halves over any stream, used by load/save above and by the
// tests and the fuzzer. read_high_scores fills the rows in file order;
// write_high_scores returns 1 when every byte was handed to the stream.
void read_high_scores(FILE *in);
int write_high_scores(FILE *out);
// One score field: white space, then "%6i" notation (sign, decimal, 0x hex,
// leading-0 octal, at most six characters); a decimal field that fills all six
// and goes on in digits up to the line feed (or the end) is read whole,
// clamped to 32 bits. Returns 1 and sets *score when a number was read.
int read_score_field(FILE *in, int32_t *score);
